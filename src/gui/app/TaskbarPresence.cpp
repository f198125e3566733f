#include "TaskbarPresence.h"

#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "prefs/PreferencesWindow.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QTimer>

TaskbarPresence::TaskbarPresence(UserDefaults& defaults, TrayIcon& tray, MainWindow& window,
                                 PreferencesWindow& preferences, QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , tray(tray)
    , window(window)
    , preferences(preferences)
{
    connect(&tray, &TrayIcon::trayAvailabilityChanged, this, &TaskbarPresence::trayChanged);
}

bool TaskbarPresence::skipsTaskbar() const
{
    return defaults.boolForKey(DefaultsKeys::showInMenu) && defaults.boolForKey(DefaultsKeys::hideDock)
        && tray.trayAvailable();
}

void TaskbarPresence::showMenuBarItem(bool show)
{
    if (!show) {
        defaults.setBool(false, DefaultsKeys::hideDock);
        defaults.synchronize();
    }
    tray.showMenuBarItem(show);
}

void TaskbarPresence::updateDock(bool atLaunch)
{
    if (window.setWindowFlagKeepingShown(Qt::Tool, skipsTaskbar()) || atLaunch)
        QTimer::singleShot(0, this, &TaskbarPresence::restoreWindowsAfterDockChange);
}

void TaskbarPresence::restoreWindowsAfterDockChange()
{
    if (window.isVisible()) {
        window.raise();
        window.activateWindow();
    }
    if (preferences.isVisible())
        preferences.raise();
}

void TaskbarPresence::hideAtLaunch()
{
    if (tray.isShown())
        QTimer::singleShot(0, &window, &QWidget::hide);
    else
        window.showMinimized();
}

void TaskbarPresence::trayChanged(bool available)
{
    updateDock(false);
    // A window hidden behind the tray item that went away could not be
    // found again: it waits in the taskbar.
    if (!available && !window.isVisible())
        window.showMinimized();
}
