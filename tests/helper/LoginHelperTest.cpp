// Runs under its own session bus (dbus-run-session, see tests/CMakeLists.txt),
// with the real helper and the real program of the build tree.
#include "FileBytes.h"
#include "TempHome.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <signal.h>

namespace {

const QString huelark = QStringLiteral("com.quillfen.Huelark");
const QString builtHelper = qEnvironmentVariable("HUELARK_LOGIN_HELPER");

bool huelarkRuns() { return QDBusConnection::sessionBus().interface()->isServiceRegistered(huelark); }

std::unique_ptr<QProcess> startHelper(const QString& program = builtHelper)
{
    auto helper = std::make_unique<QProcess>();
    helper->start(program, {});
    return helper;
}

TEST(LoginHelper, StartsTheProgramHiddenAndQuitsOnItsNotice)
{
    TempHome home;
    auto helper = startHelper();
    ASSERT_TRUE(QTest::qWaitFor(huelarkRuns, 20000));
    const uint pid = QDBusConnection::sessionBus().interface()->servicePid(huelark);
    EXPECT_TRUE(contents(QStringLiteral("/proc/%1/cmdline").arg(pid)).split('\0').contains("--at-login"));
    ASSERT_TRUE(helper->waitForFinished(20000)) << "the program's end of launch tells the helper to quit";
    EXPECT_EQ(helper->exitCode(), 0);
    ::kill(pid_t(pid), SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([] { return !huelarkRuns(); }, 20000));
}

TEST(LoginHelper, IgnoresANoticeForAnotherProgramAndQuitsOnHuelarks)
{
    QDBusConnection running = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("running"));
    ASSERT_TRUE(running.registerService(huelark));
    qputenv("QT_LOGGING_RULES", "huelark.login.debug=true"); // the helper tells what it does
    auto helper = startHelper();
    QByteArray said;
    const auto says = [&](const char* line) {
        return QTest::qWaitFor([&] { return (said += helper->readAllStandardError()).contains(line); }, 20000);
    };
    ASSERT_TRUE(says("nothing to start")) << said.data();
    for (const QString& object : { QStringLiteral("org.example.Other"), huelark }) {
        QDBusMessage notice = QDBusMessage::createSignal(QStringLiteral("/com/quillfen/Huelark"), huelark,
                                                         QStringLiteral("terminateHuelarkLoginHelper"));
        ASSERT_TRUE(QDBusConnection::sessionBus().send(notice << object));
        if (object != huelark) {
            ASSERT_TRUE(says("ignored")) << said.data();
            EXPECT_EQ(helper->state(), QProcess::Running);
        }
    }
    ASSERT_TRUE(helper->waitForFinished(20000));
    EXPECT_EQ(helper->exitCode(), 0);
    running.unregisterService(huelark);
}

// A program that cannot start, or that ends before its notice (a failed
// start, or another Huelark that won the race): nothing to wait for.
TEST(LoginHelper, QuitsWhenTheProgramDoesNotStart)
{
    const struct
    {
        const char* program;
        bool executable;
    } rows[] = {{"not a program", false}, {"#!/bin/sh\nexit 3\n", true}};
    for (const auto& row : rows) {
        QTemporaryDir prefix;
        const QString copy = prefix.path() + QStringLiteral("/libexec/huelark/huelark-login-helper");
        ASSERT_TRUE(put(copy, contents(builtHelper)));
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
        const QString program = prefix.path() + QStringLiteral("/bin/huelark");
        ASSERT_TRUE(put(program, row.program));
        if (row.executable)
            QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        auto helper = startHelper(copy);
        ASSERT_TRUE(helper->waitForFinished(20000)) << row.program;
        EXPECT_EQ(helper->exitCode(), 1) << row.program;
        EXPECT_TRUE(helper->readAllStandardError().contains("Failed to open Huelark: ")) << row.program;
    }
}

} // namespace
