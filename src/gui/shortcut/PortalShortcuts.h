#pragma once

#include "shortcut/Shortcut.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

// One shortcut as the desktop portal's GlobalShortcuts interface passes it:
// an id and its properties ("description", "preferred_trigger").
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// Global shortcuts through the desktop portal, where no program may grab
// keys (Wayland). The portal keeps one session per program: binding sends
// the whole set, and the desktop (which may ask the user first) answers
// later. Presses come back as the shortcut's id.
class PortalShortcuts : public QObject
{
    Q_OBJECT

public:
    static constexpr auto serviceName = "org.freedesktop.portal.Desktop";
    static constexpr auto objectPath = "/org/freedesktop/portal/desktop";
    static constexpr auto interfaceName = "org.freedesktop.portal.GlobalShortcuts";

    // Whether the session bus has a portal that offers global shortcuts.
    static bool available(QDBusConnection bus = QDBusConnection::sessionBus());
    // The id under which `shortcut` is bound, and the trigger it asks for
    // in the portal's own notation ("CTRL+ALT+k").
    static QString idFor(const Shortcut& shortcut);
    static QString triggerFor(const Shortcut& shortcut);

    explicit PortalShortcuts(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // Replaces the bound set with `shortcuts` (opening the session first).
    void bind(const QList<Shortcut>& shortcuts);

Q_SIGNALS:
    void activated(const Shortcut& shortcut);
    // The portal answered a bind: the ones it refused (all of them when
    // the session could not be had), with the reason.
    void bound(const QList<Shortcut>& refused, const QString& why);

private Q_SLOTS:
    void sessionResponse(uint response, const QVariantMap& results);
    void bindResponse(uint response, const QVariantMap& results);
    void activatedSignal(const QDBusMessage& message);

private:
    // Calls `method` with a fresh request token and routes the request's
    // Response signal to `slot`.
    bool request(const QString& method, QList<QVariant> arguments, const char* slot);
    void sendBind();

    QDBusConnection bus;
    QString session;
    bool opening = false;
    QList<Shortcut> wanted;
    QList<Shortcut> sent;
    int tokens = 0;
};
