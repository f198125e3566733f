#include "AutostartLoginItem.h"

#include "login/StartAtLoginController.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QMessageBox>

AutostartLoginItem::AutostartLoginItem(UserDefaults& defaults, QString programFolder, Message message)
    : defaults(defaults)
    , programFolder(std::move(programFolder))
    , message(message ? std::move(message) : Message(&AutostartLoginItem::showWarning))
{
}

AutostartLoginItem::~AutostartLoginItem() = default;

void AutostartLoginItem::initLoginController()
{
    loginController =
        std::make_unique<StartAtLoginController>(StartAtLoginController::installedHelper(programFolder));
}

void AutostartLoginItem::updateLogin()
{
    if (settingBack)
        return;
    const bool flag = defaults.boolForKey(DefaultsKeys::loginStart);
    if (!loginController)
        initLoginController();
    const QString failure = loginController->setStartAtLogin(flag);
    if (failure.isEmpty())
        return;
    settingBack = true;
    defaults.setBool(loginController->startAtLogin(), DefaultsKeys::loginStart);
    defaults.synchronize();
    settingBack = false;
    message(failure);
}

void AutostartLoginItem::showWarning(const QString& reason)
{
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Start at Login"),
                                QStringLiteral("Huelark cannot change whether it starts at login."), QMessageBox::Ok);
    box->setInformativeText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAccessibleName(QStringLiteral("Start at login failed"));
    box->open();
}
