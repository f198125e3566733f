#include "login/StartAtLoginController.h"

#include "FileBytes.h"
#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

// A program folder whose path needs every kind of quoting an Exec line has,
// with an executable helper in the install tree's place beside it.
QString installWithHelper(const QString& root)
{
    const QString bin = root + QStringLiteral("/odd $path \"with\" 100% `quotes`/bin");
    const QString helper = StartAtLoginController::installedHelper(bin);
    put(helper, "#!/bin/sh\n");
    QFile::setPermissions(helper, QFile::permissions(helper) | QFile::ExeOwner);
    return bin;
}

TEST(StartAtLoginController, WritesAValidEntryAndRemovesIt)
{
    TempHome home;
    const QString helper = StartAtLoginController::installedHelper(installWithHelper(home.path()));
    EXPECT_TRUE(helper.endsWith(QStringLiteral("/libexec/huelark/huelark-login-helper"))) << helper.toStdString();
    StartAtLoginController controller(helper);
    EXPECT_EQ(controller.identifier(), "huelark-login-helper");
    EXPECT_EQ(controller.url(), helper);

    const QString entry = home.configHome() + QStringLiteral("/autostart/com.quillfen.Huelark.desktop");
    EXPECT_EQ(controller.setStartAtLogin(true), QString());
    ASSERT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(controller.startAtLogin());
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    ASSERT_FALSE(validator.isEmpty());
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, { entry });
    ASSERT_TRUE(validate.waitForFinished(30000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString() << contents(entry).toStdString();

    EXPECT_EQ(controller.setStartAtLogin(false), QString());
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_EQ(controller.setStartAtLogin(false), QString()) << "nothing to remove is no failure";
}

TEST(StartAtLoginController, LeavesAnEntryOfTheUsersAloneAndFailsWithoutTheHelper)
{
    TempHome home;
    const QString entry = StartAtLoginController::entryPath();
    const QByteArray users = "[Desktop Entry]\nType=Application\nName=Huelark\nExec=huelark\nHidden=true\n";
    ASSERT_TRUE(put(entry, users));

    StartAtLoginController controller(StartAtLoginController::installedHelper(installWithHelper(home.path())));
    EXPECT_TRUE(controller.setStartAtLogin(true).contains(QStringLiteral("not written by Huelark")));
    EXPECT_FALSE(controller.startAtLogin());
    EXPECT_EQ(controller.setStartAtLogin(false), QString());
    EXPECT_EQ(contents(entry), users);

    QFile::remove(entry);
    StartAtLoginController missing(StartAtLoginController::installedHelper(home.path() + QStringLiteral("/bin")));
    EXPECT_TRUE(missing.identifier().isEmpty());
    EXPECT_TRUE(missing.setStartAtLogin(true).contains(QStringLiteral("huelark-login-helper is missing")));
    EXPECT_FALSE(QFile::exists(entry));
}

} // namespace
