#include "login/StartAtLoginController.h"

#include "FileBytes.h"
#include "TempHome.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(StartAtLoginController, WritesAValidEntryRemovesItAndLeavesTheUsersAlone)
{
    TempHome home;
    // A folder that needs every kind of quoting an Exec line has.
    const QString bin = home.path() + QStringLiteral("/odd $path \"with\" 100% `quotes`/bin");
    const QString helper = StartAtLoginController::installedHelper(bin);
    ASSERT_TRUE(helper.endsWith(QStringLiteral("/libexec/huelark/huelark-login-helper")));
    ASSERT_TRUE(put(helper, "#!/bin/sh\n"));
    QFile::setPermissions(helper, QFile::permissions(helper) | QFile::ExeOwner);
    StartAtLoginController controller(helper);
    const QString entry = home.configHome() + QStringLiteral("/autostart/com.quillfen.Huelark.desktop");

    EXPECT_EQ(controller.setStartAtLogin(true), QString());
    EXPECT_TRUE(controller.startAtLogin());
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(QStringLiteral("desktop-file-validate"), { entry });
    ASSERT_TRUE(validate.waitForFinished(30000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString() << contents(entry).toStdString();
    EXPECT_EQ(controller.setStartAtLogin(false), QString());
    EXPECT_FALSE(QFile::exists(entry));
    ASSERT_EQ(controller.setStartAtLogin(true), QString());
    StartAtLoginController moved(StartAtLoginController::installedHelper(home.path() + QStringLiteral("/gone/bin")));
    EXPECT_FALSE(moved.setStartAtLogin(true).isEmpty());
    EXPECT_FALSE(QFile::exists(entry)) << "an entry whose helper is gone could only fail at login";

    const QByteArray users = "[Desktop Entry]\nType=Application\nName=Huelark\nExec=huelark\nHidden=true\n";
    ASSERT_TRUE(put(entry, users));
    EXPECT_TRUE(controller.setStartAtLogin(true).contains(QStringLiteral("not written by Huelark")));
    EXPECT_FALSE(controller.startAtLogin());
    EXPECT_EQ(controller.setStartAtLogin(false), QString());
    EXPECT_EQ(contents(entry), users);
}

} // namespace
