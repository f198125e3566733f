// Runs under its own session bus (dbus-run-session, see tests/CMakeLists.txt).
#include "TempHome.h"

#include "shortcut/PortalShortcuts.h"
#include "shortcut/ShortcutMonitor.h"
#include "shortcut/ShortcutView.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMutex>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The desktop portal's global shortcuts as a desktop answers them. It runs
// on a thread of its own: the program waits for the portal's replies.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/1/huelark");
    QMutex mutex;
    QList<PortalShortcut> bound;
    bool refuse = false;

    uint version() const { return 1; }
    void start()
    {
        bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "portal"));
        bus->registerObject(PortalShortcuts::objectPath, this, QDBusConnection::ExportAllContents);
        bus->registerService(PortalShortcuts::serviceName);
    }
    void activate(const QString& id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(PortalShortcuts::objectPath, PortalShortcuts::interfaceName, "Activated");
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1) << QVariantMap();
        bus->send(signal);
    }

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message)
    {
        return respond(message, options, 0, { { "session_handle", QVariant::fromValue(QDBusObjectPath(session)) } });
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath&, const QList<PortalShortcut>& shortcuts, const QString&,
                                  const QVariantMap& options, const QDBusMessage& message)
    {
        QMutexLocker lock(&mutex);
        if (refuse)
            return respond(message, options, 1, {});
        bound = shortcuts;
        return respond(message, options, 0, { { "shortcuts", QVariant::fromValue(shortcuts) } });
    }

private:
    QDBusObjectPath respond(const QDBusMessage& message, const QVariantMap& options, uint response, QVariantMap results)
    {
        const QString path = "/org/freedesktop/portal/desktop/request/" + message.service().mid(1).replace('.', '_')
            + "/" + options.value("handle_token").toString();
        QTimer::singleShot(0, this, [=, this] {
            QDBusMessage signal = QDBusMessage::createSignal(path, "org.freedesktop.portal.Request", "Response");
            signal << response << results;
            bus->send(signal);
        });
        return QDBusObjectPath(path);
    }
    std::unique_ptr<QDBusConnection> bus;
};

TEST(PortalShortcut, TheDesktopPortalBindsTheShortcutAndItsPressesRunTheAction)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    TempHome home;
    QThread thread;
    FakePortal portal;
    portal.moveToThread(&thread);
    thread.start();
    QMetaObject::invokeMethod(&portal, &FakePortal::start, Qt::BlockingQueuedConnection);
    ASSERT_TRUE(PortalShortcuts::available());

    ShortcutMonitor monitor(ShortcutMonitor::Service::Portal);
    const Shortcut ctrlAltK(Qt::Key_K, Shortcut::command | Shortcut::option);
    int runs = 0;
    ASSERT_TRUE(monitor.registerShortcut(ctrlAltK, [&] { ++runs; }));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QMutexLocker lock(&portal.mutex);
        return portal.bound.size() == 1;
    }, 5000));
    {
        QMutexLocker lock(&portal.mutex);
        EXPECT_EQ(portal.bound[0].id, "Ctrl+Alt+K");
        EXPECT_EQ(portal.bound[0].properties.value("preferred_trigger"), "CTRL+ALT+k");
    }
    QMetaObject::invokeMethod(&portal, [&] { portal.activate("Ctrl+Alt+K"); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 5000));

    // A desktop that says no: the recorder tells why.
    {
        QMutexLocker lock(&portal.mutex);
        portal.refuse = true;
    }
    ShortcutView view;
    view.setMonitor(&monitor);
    const Shortcut ctrlAltJ(Qt::Key_J, Shortcut::command | Shortcut::option);
    view.setShortcutValue(ctrlAltJ);
    monitor.registerShortcut(ctrlAltJ, [] {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.note().isEmpty(); }, 5000));
    EXPECT_EQ(view.note(), "The desktop did not allow the shortcut.");
    EXPECT_FALSE(monitor.isShortcutRegistered(ctrlAltJ));

    // Without a portal the recorder says where to set it instead.
    ShortcutMonitor none(ShortcutMonitor::Service::None);
    view.setMonitor(&none);
    EXPECT_TRUE(view.note().contains("huelark --toggle")) << view.note().toStdString();
    thread.quit();
    thread.wait();
}

} // namespace

#include "PortalShortcutTest.moc"
