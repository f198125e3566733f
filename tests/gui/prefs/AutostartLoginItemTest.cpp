#include "../app/AppHarness.h"

#include "login/StartAtLoginController.h"

#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

// The switch follows the key: a change the autostart entry cannot follow
// turns it back, and the user reads why.
TEST(AutostartLoginItem, AFailureTurnsTheSettingBackAndSaysWhy)
{
    AppHarness h;
    h.start([&](AppParts& parts) { parts.buildLogin(h.settings(), QStringLiteral("/nonexistent/bin")); });
    h.settings().setBool(true, "loginStart");
    EXPECT_FALSE(h.reopenedSettings()->boolForKey("loginStart"));
    QMessageBox* box = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* shown = qobject_cast<QMessageBox*>(widget); shown && shown->isVisible())
            box = shown;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->informativeText(), "The login helper is not installed beside Huelark "
                                      "(/nonexistent/libexec/huelark/huelark-login-helper is missing).");
    EXPECT_FALSE(QFile::exists(StartAtLoginController::entryPath()));
}

} // namespace
