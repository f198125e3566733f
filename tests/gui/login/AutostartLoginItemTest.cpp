#include "AppHarness.h"
#include "FileBytes.h"

#include "login/AutostartLoginItem.h"
#include "login/StartAtLoginController.h"

#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QMessageBox* shownMessage()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    return nullptr;
}

// The switch follows the key: a change the autostart entry cannot follow
// turns it back, and the user reads why.
TEST(AutostartLoginItem, TheSettingFollowsTheEntryAndAFailureIsShown)
{
    QTemporaryDir programs;
    const QString bin = programs.path() + QStringLiteral("/bin");
    {
        AppHarness h;
        h.start([&](AppParts& parts) { parts.buildLogin(h.settings(), bin); });
        h.settings().setBool(true, "loginStart");
        EXPECT_FALSE(h.settings().boolForKey("loginStart"));
        EXPECT_FALSE(h.reopenedSettings()->boolForKey("loginStart")) << "and stored so";
        QMessageBox* box = shownMessage();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->informativeText().contains(QStringLiteral("huelark-login-helper is missing")))
            << box->informativeText().toStdString();
        box->close();
        EXPECT_FALSE(QFile::exists(StartAtLoginController::entryPath()));
    }

    const QString helper = StartAtLoginController::installedHelper(bin);
    ASSERT_TRUE(put(helper, "#!/bin/sh\n"));
    QFile::setPermissions(helper, QFile::permissions(helper) | QFile::ExeOwner);
    AppHarness withHelper;
    withHelper.settings().setBool(true, "loginStart");
    withHelper.start([&](AppParts& parts) { parts.buildLogin(withHelper.settings(), bin); });
    EXPECT_TRUE(contents(StartAtLoginController::entryPath()).contains("huelark-login-helper\"\n"));
    withHelper.settings().setBool(false, "loginStart");
    EXPECT_FALSE(QFile::exists(StartAtLoginController::entryPath()));
    EXPECT_TRUE(withHelper.settings().hasUserValue("loginStart") && !withHelper.settings().boolForKey("loginStart"));
    EXPECT_EQ(shownMessage(), nullptr);
}

} // namespace
