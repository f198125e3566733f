#include "PortalShortcuts.h"

#include "Log.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QKeySequence>

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {

void registerTypes()
{
    static const bool once = [] {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    Q_UNUSED(once);
}

QString keyName(qint64 key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(char16_t(key - Qt::Key_A + 'a')));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return QString(QChar(char16_t(key)));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    switch (key) {
    case Qt::Key_Space: return QStringLiteral("space");
    case Qt::Key_Escape: return QStringLiteral("Escape");
    case Qt::Key_Return: return QStringLiteral("Return");
    case Qt::Key_Tab: return QStringLiteral("Tab");
    case Qt::Key_Backspace: return QStringLiteral("BackSpace");
    case Qt::Key_Delete: return QStringLiteral("Delete");
    case Qt::Key_Insert: return QStringLiteral("Insert");
    case Qt::Key_Home: return QStringLiteral("Home");
    case Qt::Key_End: return QStringLiteral("End");
    case Qt::Key_PageUp: return QStringLiteral("Prior");
    case Qt::Key_PageDown: return QStringLiteral("Next");
    case Qt::Key_Left: return QStringLiteral("Left");
    case Qt::Key_Right: return QStringLiteral("Right");
    case Qt::Key_Up: return QStringLiteral("Up");
    case Qt::Key_Down: return QStringLiteral("Down");
    default: return QKeySequence(int(key)).toString(QKeySequence::PortableText).toLower();
    }
}

} // namespace

bool PortalShortcuts::available(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    // The portal usually starts on first use: a name the bus can start counts.
    const QString name = QLatin1String(serviceName);
    if (!bus.interface()->isServiceRegistered(name).value()
        && !bus.interface()->activatableServiceNames().value().contains(name))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << QLatin1String(interfaceName) << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

QString PortalShortcuts::idFor(const Shortcut& shortcut)
{
    return QKeySequence(shortcut.keyCombination()).toString(QKeySequence::PortableText);
}

QString PortalShortcuts::triggerFor(const Shortcut& shortcut)
{
    QStringList parts;
    const quint64 flags = shortcut.modifierFlags();
    if (flags & Shortcut::command)
        parts << QStringLiteral("CTRL");
    if (flags & Shortcut::option)
        parts << QStringLiteral("ALT");
    if (flags & Shortcut::shift)
        parts << QStringLiteral("SHIFT");
    if (flags & Shortcut::control)
        parts << QStringLiteral("LOGO");
    parts << keyName(shortcut.keyCode());
    return parts.join(u'+');
}

PortalShortcuts::PortalShortcuts(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus(bus)
{
    registerTypes();
    bus.connect(QLatin1String(serviceName), QLatin1String(objectPath), QLatin1String(interfaceName),
                QStringLiteral("Activated"), this, SLOT(activatedSignal(QDBusMessage)));
}

void PortalShortcuts::bind(const QList<Shortcut>& shortcuts)
{
    wanted = shortcuts;
    if (!session.isEmpty()) {
        sendBind();
        return;
    }
    if (opening)
        return;
    opening = true;
    const QVariantMap options { { QStringLiteral("session_handle_token"),
                                  QStringLiteral("huelark%1").arg(QCoreApplication::applicationPid()) } };
    if (!request(QStringLiteral("CreateSession"), { options }, SLOT(sessionResponse(uint, QVariantMap)))) {
        opening = false;
        Q_EMIT bound(wanted, tr("The desktop's shortcut service did not answer."));
    }
}

bool PortalShortcuts::request(const QString& method, QList<QVariant> arguments, const char* slot)
{
    // The portal answers on a request object whose path it derives from our
    // bus name and the token: listen there before asking, or the answer can
    // come first.
    const QString token = QStringLiteral("huelark%1").arg(++tokens);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    bus.connect(QLatin1String(serviceName), path, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), this, slot);
    QVariantMap options = arguments.last().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.last() = options;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
                                                       QLatin1String(interfaceName), method);
    call.setArguments(arguments);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCWarning(lcShortcut, "the portal refused %s: %s", qPrintable(method), qPrintable(reply.errorMessage()));
        bus.disconnect(QLatin1String(serviceName), path, QStringLiteral("org.freedesktop.portal.Request"),
                       QStringLiteral("Response"), this, slot);
        return false;
    }
    return true;
}

void PortalShortcuts::sessionResponse(uint response, const QVariantMap& results)
{
    opening = false;
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    session = handle.canConvert<QDBusObjectPath>() && handle.typeId() == qMetaTypeId<QDBusObjectPath>()
        ? handle.value<QDBusObjectPath>().path()
        : handle.toString();
    if (response != 0 || session.isEmpty()) {
        session.clear();
        Q_EMIT bound(wanted, tr("The desktop did not allow global shortcuts."));
        return;
    }
    sendBind();
}

void PortalShortcuts::sendBind()
{
    QList<PortalShortcut> list;
    for (const Shortcut& shortcut : std::as_const(wanted)) {
        list << PortalShortcut { idFor(shortcut),
                                 { { QStringLiteral("description"), tr("Show or hide the Huelark window") },
                                   { QStringLiteral("preferred_trigger"), triggerFor(shortcut) } } };
    }
    sent = wanted;
    if (!request(QStringLiteral("BindShortcuts"),
                 { QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(list), QString(), QVariantMap() },
                 SLOT(bindResponse(uint, QVariantMap))))
        Q_EMIT bound(sent, tr("The desktop's shortcut service did not answer."));
}

void PortalShortcuts::bindResponse(uint response, const QVariantMap& results)
{
    if (response != 0) {
        Q_EMIT bound(sent, tr("The desktop did not allow the shortcut."));
        return;
    }
    const auto accepted = qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
    QList<Shortcut> refused;
    for (const Shortcut& shortcut : std::as_const(sent)) {
        const bool found = std::any_of(accepted.cbegin(), accepted.cend(),
                                       [&](const PortalShortcut& p) { return p.id == idFor(shortcut); });
        if (!found)
            refused << shortcut;
    }
    Q_EMIT bound(refused, refused.isEmpty() ? QString() : tr("The desktop did not allow the shortcut."));
}

void PortalShortcuts::activatedSignal(const QDBusMessage& message)
{
    // (o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].value<QDBusObjectPath>().path() != session)
        return;
    const QString id = arguments[1].toString();
    for (const Shortcut& shortcut : std::as_const(sent)) {
        if (idFor(shortcut) == id) {
            Q_EMIT activated(shortcut);
            return;
        }
    }
}
