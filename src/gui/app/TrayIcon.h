#pragma once

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

// The program's item in the desktop's system tray, with its menu: open the
// window, the commands later parts add, preferences, the colour names,
// about, the help links, quit. The item
// exists only while it is shown; on a desktop without a tray it never does.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // `trayAvailable`: whether the desktop has a tray at all (tests decide
    // it themselves; the program asks Qt).
    explicit TrayIcon(bool trayAvailable, QObject* parent = nullptr);
    ~TrayIcon() override;

    bool trayAvailable() const { return available; }
    // Adds or removes the item. Without a tray nothing is added.
    void showMenuBarItem(bool show);
    bool isShown() const { return statusItem != nullptr; }

    QMenu* statusMenu() const { return menu.get(); }
    // Puts a command of a later part into the menu, above Preferences.
    void addCommand(QAction* action);

    QAction* openAction = nullptr;
    QAction* preferencesAction = nullptr;
    QAction* namesPreferencesAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* feedbackAction = nullptr;
    QAction* supportAction = nullptr;
    QAction* newsAction = nullptr;
    QAction* namesRepositoryAction = nullptr;
    QAction* quitAction = nullptr;

Q_SIGNALS:
    void activated(); // the item itself was clicked
    void openWindowRequested();
    void preferencesRequested();
    void namesPreferencesRequested();
    void aboutRequested();
    void feedbackRequested();
    void supportRequested();
    void newsRequested();
    void namesRepositoryRequested();
    void quitRequested();
    void menuAboutToShow();

private:
    bool available;
    std::unique_ptr<QMenu> menu;
    QAction* commandsEnd = nullptr;
    QSystemTrayIcon* statusItem = nullptr;
};
