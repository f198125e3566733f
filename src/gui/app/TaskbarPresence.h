#pragma once

#include <QObject>

class MainWindow;
class PreferencesWindow;
class TrayIcon;
class UserDefaults;

// Whether the main window has a taskbar entry: none while the tray item is
// shown and "hideDock" is on, one otherwise, so the program can always be
// found again. Follows the tray as it comes and goes.
class TaskbarPresence : public QObject
{
    Q_OBJECT

public:
    TaskbarPresence(UserDefaults& defaults, TrayIcon& tray, MainWindow& window, PreferencesWindow& preferences,
                    QObject* parent = nullptr);

    bool skipsTaskbar() const;
    // Adds or removes the tray item; without one "hideDock" is turned off,
    // so the program can never be left with neither.
    void showMenuBarItem(bool show);
    // Applies the policy to the window; a shown window stays shown and
    // comes to the front again once the window manager has taken its new
    // type (`atLaunch`: on the next turn of the loop in any case).
    void updateDock(bool atLaunch);
    void restoreWindowsAfterDockChange();
    // Out of sight at a start at login: hidden behind the tray item, or,
    // with none, minimized in the taskbar.
    void hideAtLaunch();

private:
    void trayChanged(bool available);

    UserDefaults& defaults;
    TrayIcon& tray;
    MainWindow& window;
    PreferencesWindow& preferences;
};
