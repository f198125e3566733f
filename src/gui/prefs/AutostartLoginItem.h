#pragma once

#include "prefs/LoginItem.h"

#include <QString>

#include <functional>
#include <memory>

class StartAtLoginController;
class UserDefaults;

// Start at login through the autostart entry. A change the entry cannot
// follow is never passed over in silence: "loginStart" is set back to what
// the entry really does (the preferences switch follows the key), and the
// user is told why.
class AutostartLoginItem final : public LoginItem
{
public:
    // Shows the reason a change failed; by default a warning box that does
    // not block the program.
    using Message = std::function<void(const QString& reason)>;

    // `programFolder` is where the login helper is looked for beside the
    // program (StartAtLoginController::installedHelper).
    AutostartLoginItem(UserDefaults& defaults, QString programFolder, Message message = {});
    ~AutostartLoginItem() override;

    void updateLogin() override;

    static void showWarning(const QString& reason);

private:
    void initLoginController();

    UserDefaults& defaults;
    QString programFolder;
    Message message;
    std::unique_ptr<StartAtLoginController> loginController;
    // Setting the key back calls updateLogin again, which must not act.
    bool settingBack = false;
};
