// Runs under its own session bus (dbus-run-session, see tests/CMakeLists.txt).
#include "TempHome.h"

#include "app/HelperQuitNotice.h"
#include "app/SingleInstance.h"
#include "settings/UserDefaults.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString huelarkProgram() { return qEnvironmentVariable("HUELARK_GUI"); }

bool nameOwned()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QLatin1String(SingleInstance::serviceName));
}

// Starts the real program; it exits at once when another Huelark runs.
std::unique_ptr<QProcess> startHuelark()
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(huelarkProgram(), {});
    return process;
}

// A second start opens the running window and ends; `huelark --toggle`,
// `--show`, `--hide` (what a desktop's own shortcut runs) reach it too.
TEST(SingleInstance, ASecondStartAndItsWindowCommandsReachTheRunningProgram)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    ASSERT_FALSE(huelarkProgram().isEmpty());
    TempHome home;
    SingleInstance first;
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    QStringList received;
    QObject::connect(&first, &SingleInstance::openWindowRequested, &first, [&] { received << "open"; });
    QObject::connect(&first, &SingleInstance::toggleRequested, &first, [&] { received << "toggle"; });
    QObject::connect(&first, &SingleInstance::showRequested, &first, [&] { received << "show"; });
    QObject::connect(&first, &SingleInstance::hideRequested, &first, [&] { received << "hide"; });
    for (const char* option : { "", "--toggle", "--show", "--hide" }) {
        QProcess second;
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.start(huelarkProgram(), *option ? QStringList { option } : QStringList());
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000)) << option;
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(second.exitCode(), 0) << option;
    }
    EXPECT_EQ(received, (QStringList { "open", "toggle", "show", "hide" }));
}

class SignalCatcher : public QObject
{
    Q_OBJECT
public:
    QStringList received;
public Q_SLOTS:
    void terminateHuelarkLoginHelper(const QString& object) { received << object; }
};

// Every start of the program tells a login helper to quit, over the session
// bus. A logout or `kill` (SIGTERM) ends it the way quitting does.
TEST(SingleInstance, TheRealProgramTellsAHelperToQuitAndOwnsTheNameUntilSigtermEndsIt)
{
    TempHome home;
    SignalCatcher catcher;
    QDBusConnection listener = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("start listener"));
    ASSERT_TRUE(listener.connect(QString(), QLatin1String(HelperQuitNotice::objectPath),
                                 QLatin1String(HelperQuitNotice::interfaceName),
                                 QLatin1String(HelperQuitNotice::signalName), &catcher,
                                 SLOT(terminateHuelarkLoginHelper(QString))));
    auto running = startHuelark();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !catcher.received.isEmpty(); }, 10000));
    EXPECT_EQ(catcher.received, QStringList { "com.quillfen.Huelark" });
    ASSERT_TRUE(QTest::qWaitFor(nameOwned, 10000));

    running->terminate();
    ASSERT_TRUE(running->waitForFinished(10000));
    EXPECT_EQ(running->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(running->exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return !nameOwned(); }, 10000));
    const UserDefaults stored;
    EXPECT_FALSE(stored.dataForKey("color_last").isEmpty()) << "the current colour is kept";
    EXPECT_FALSE(stored.dataForKey("Window Frame Huelark").isEmpty()) << "and the window's frame";
}

} // namespace

#include "SingleInstanceTest.moc"
