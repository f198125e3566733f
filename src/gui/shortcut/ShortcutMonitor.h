#pragma once

#include "shortcut/Shortcut.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class HotKey;
class PortalShortcuts;
struct xcb_connection_t;

// The program's registered global shortcuts and the dispatch of their
// presses. On X11 each is a key grab on the root window, whose presses a
// native event filter picks out of the display's events; under Wayland the
// desktop portal holds them; without either no shortcut can be registered
// and the user binds `huelark --toggle` in the desktop's settings instead.
// Actions always run later on the main thread, never inside the event filter.
class ShortcutMonitor : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    enum class Service { X11, Portal, None };

    // The program's one monitor, on the service the platform offers.
    static ShortcutMonitor& sharedMonitor();

    explicit ShortcutMonitor(Service service, xcb_connection_t* connection = nullptr, QObject* parent = nullptr);
    ~ShortcutMonitor() override;
    // X11 on the xcb platform (the portal first in a Wayland session), else
    // the portal when the session bus has one.
    static Service platformService();

    Service service() const { return used; }

    // False when the shortcut has no key or the display refused it (see
    // refusal()). An equal shortcut registered before is released first:
    // releasing it after the new grab would take the new grab with it.
    bool registerShortcut(const Shortcut& shortcut, std::function<void()> action);
    void unregisterShortcut(const std::optional<Shortcut>& shortcut);
    void unregisterAllShortcuts();
    bool isShortcutRegistered(const Shortcut& shortcut) const;
    // Why the last registration of the shortcut failed; empty when it did not.
    QString refusal(const Shortcut& shortcut) const;

    // Another program holds the shortcut: on X11 a trial grab answers
    // BadAccess. Shortcuts of our own, and other services, are never taken.
    bool isShortcutAlreadyTakenBySystem(const Shortcut& shortcut) const;

    // While a recorder records, a press of a registered shortcut is the
    // recorder's key, not the shortcut's action: it comes as heldShortcutPressed.
    void setSuspended(bool on) { suspended = on; }

    // How to get a shortcut where the program cannot register one itself.
    static QString desktopSettingsExplanation();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    // A registration succeeded, failed, or was released.
    void registrationsChanged();
    void heldShortcutPressed(const Shortcut& shortcut);

private:
    struct Entry
    {
        std::unique_ptr<HotKey> hotKey; // X11 only
        std::function<void()> action;
    };
    void bindPortal();
    void run(const std::function<void()>& action);

    Service used;
    bool suspended = false;
    xcb_connection_t* connection;
    PortalShortcuts* portal = nullptr;
    QHash<Shortcut, std::shared_ptr<Entry>> hotKeys;
    QHash<Shortcut, QString> refusals;
};
