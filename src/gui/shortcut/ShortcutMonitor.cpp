#include "ShortcutMonitor.h"

#include "HotKey.h"
#include "Log.h"
#include "PortalShortcuts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

ShortcutMonitor& ShortcutMonitor::sharedMonitor()
{
    static ShortcutMonitor* monitor = [] {
        const Service service = platformService();
        xcb_connection_t* connection = nullptr;
#if QT_CONFIG(xcb)
        if (service == Service::X11) {
            if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
                connection = x11->connection();
        }
#endif
        // Parented to the application, so it goes before the display does.
        return new ShortcutMonitor(service, connection, qApp);
    }();
    return *monitor;
}

ShortcutMonitor::Service ShortcutMonitor::platformService()
{
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    // Under XWayland a grab only sees keys typed into other X programs: the
    // portal, where there is one, sees them all.
    if (x11 && qEnvironmentVariable("XDG_SESSION_TYPE") != QLatin1String("wayland"))
        return Service::X11;
    if (PortalShortcuts::available())
        return Service::Portal;
    return x11 ? Service::X11 : Service::None;
}

ShortcutMonitor::ShortcutMonitor(Service service, xcb_connection_t* connection, QObject* parent)
    : QObject(parent)
    , used(service == Service::X11 && !connection ? Service::None : service)
    , connection(connection)
{
    if (used == Service::X11) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    } else if (used == Service::Portal) {
        portal = new PortalShortcuts(QDBusConnection::sessionBus(), this);
        connect(portal, &PortalShortcuts::activated, this, [this](const Shortcut& shortcut) {
            if (suspended)
                Q_EMIT heldShortcutPressed(shortcut);
            else if (const auto entry = hotKeys.value(shortcut))
                run(entry->action);
        });
        connect(portal, &PortalShortcuts::bound, this, [this](const QList<Shortcut>& refused, const QString& why) {
            for (const Shortcut& shortcut : refused) {
                if (hotKeys.remove(shortcut))
                    refusals.insert(shortcut, why);
            }
            Q_EMIT registrationsChanged();
        });
    }
}

ShortcutMonitor::~ShortcutMonitor()
{
    if (used == Service::X11 && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    hotKeys.clear();
}

bool ShortcutMonitor::registerShortcut(const Shortcut& shortcut, std::function<void()> action)
{
    if (!shortcut.hasKey())
        return false;
    hotKeys.remove(shortcut);
    refusals.remove(shortcut);
    auto entry = std::make_shared<Entry>();
    entry->action = std::move(action);
    if (used == Service::X11) {
        HotKey::Refusal refusal = HotKey::Refusal::None;
        entry->hotKey = HotKey::registeredHotKeyWithShortcut(connection, shortcut, &refusal);
        if (!entry->hotKey) {
            refusals.insert(shortcut, refusal == HotKey::Refusal::HeldElsewhere
                                          ? tr("Another program already uses this shortcut.")
                                          : tr("This keyboard has no such key."));
            Q_EMIT registrationsChanged();
            return false;
        }
    } else if (used == Service::None) {
        refusals.insert(shortcut, desktopSettingsExplanation());
        Q_EMIT registrationsChanged();
        return false;
    }
    hotKeys.insert(shortcut, entry);
    if (portal)
        bindPortal();
    Q_EMIT registrationsChanged();
    return true;
}

void ShortcutMonitor::unregisterShortcut(const std::optional<Shortcut>& shortcut)
{
    if (!shortcut)
        return;
    refusals.remove(*shortcut);
    if (hotKeys.remove(*shortcut) && portal)
        bindPortal();
    Q_EMIT registrationsChanged();
}

void ShortcutMonitor::unregisterAllShortcuts()
{
    hotKeys.clear();
    refusals.clear();
    if (portal)
        bindPortal();
    Q_EMIT registrationsChanged();
}

bool ShortcutMonitor::isShortcutRegistered(const Shortcut& shortcut) const { return hotKeys.contains(shortcut); }

QString ShortcutMonitor::refusal(const Shortcut& shortcut) const { return refusals.value(shortcut); }

bool ShortcutMonitor::isShortcutAlreadyTakenBySystem(const Shortcut& shortcut) const
{
    // Grabbing again what we hold ourselves succeeds, and the trial's
    // release would then drop our own grab.
    if (used != Service::X11 || !shortcut.hasKey() || hotKeys.contains(shortcut))
        return false;
    HotKey::Refusal refusal = HotKey::Refusal::None;
    HotKey::registeredHotKeyWithShortcut(connection, shortcut, &refusal);
    return refusal == HotKey::Refusal::HeldElsewhere;
}

QString ShortcutMonitor::desktopSettingsExplanation()
{
    return QCoreApplication::translate("ShortcutMonitor",
                                       "This desktop lets no program set a global shortcut of its own. Add the "
                                       "shortcut in your desktop's keyboard settings, with the command:\n%1")
        .arg(QStringLiteral("huelark --toggle"));
}

void ShortcutMonitor::bindPortal() { portal->bind(hotKeys.keys()); }

void ShortcutMonitor::run(const std::function<void()>& action)
{
    if (action)
        QMetaObject::invokeMethod(this, action, Qt::QueuedConnection);
}

bool ShortcutMonitor::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    for (const auto& entry : std::as_const(hotKeys)) {
        if (entry->hotKey && entry->hotKey->matches(press->detail, press->state)) {
            if (suspended)
                QMetaObject::invokeMethod(this, [this, shortcut = entry->hotKey->shortcut] {
                    Q_EMIT heldShortcutPressed(shortcut);
                }, Qt::QueuedConnection);
            else
                run(entry->action);
            return true;
        }
    }
    return false;
}
