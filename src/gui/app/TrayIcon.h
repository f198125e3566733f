#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class WindowCommands;

// The program's item in the desktop's system tray, with its menu: open the
// window, the commands later parts add, preferences, the colour names,
// about, the help links, quit.
//
// A tray often starts after the programs of the session, and a panel can
// restart: the tray is watched, and the item comes and goes with it while
// it is wanted.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // `trayProbe` answers whether the desktop has a tray now (the program
    // asks Qt; tests answer themselves).
    TrayIcon(const WindowCommands& commands, std::function<bool()> trayProbe, QObject* parent = nullptr);
    ~TrayIcon() override;

    bool trayAvailable() const { return available; }
    // Wants the item or not; it is shown while it is wanted and a tray exists.
    void showMenuBarItem(bool show);
    bool isShown() const { return statusItem != nullptr; }
    // Asks the probe again (the watch does this every few seconds).
    void checkTray();

    QMenu* statusMenu() const { return menu.get(); }
    // Puts a command of a later part into the menu, above Preferences.
    void addCommand(QAction* action);
    // A passing notification from the item; nothing without one.
    void showMessage(const QString& text);

Q_SIGNALS:
    void activated(); // the item itself was clicked
    void menuAboutToShow();
    void trayAvailabilityChanged(bool available);

private:
    void createItem();

    std::function<bool()> probe;
    bool available = false;
    bool wanted = false;
    std::unique_ptr<QMenu> menu;
    QAction* commandsEnd = nullptr;
    QSystemTrayIcon* statusItem = nullptr;
    QTimer* watch = nullptr;
};
