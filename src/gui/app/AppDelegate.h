#pragma once

#include "app/AppParts.h"
#include "colour/Color.h"
#include "names/AutoCompleteTableViewDelegate.h"
#include "names/SwatchWellDelegate.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class ColorPanel;
class ColorSpaceRegistry;
class CurrentColors;
class FieldSync;
class HistoryMenu;
class HistoryStore;
class MainWindow;
class NotificationCenter;
class SwatchColumn;
class TaskbarPresence;
class TrayIcon;
class UserDefaults;
class WellColorSpace;
class WindowCommands;
class WindowFrameAutosave;
enum class WindowCommand;

// The hub of the program: it owns the main window, the tray item, the colour
// panel and the parts later changes fill in, wires them together, and keeps
// the operation names the rest of the program calls on it. Each operation
// hands its work to the part that does it.
//
// Start-up runs in a fixed order: initialize() on the settings, the
// constructor (which loads the window), then launch(), which runs
// awakeFromNib, applicationWillFinishLaunching (and with it startup) and
// applicationDidFinishLaunching.
class AppDelegate : public QObject, public AutoCompleteTableViewDelegate, public SwatchWellDelegate
{
    Q_OBJECT

public:
    struct Options
    {
        // Whether the desktop has a system tray now; asked again every few
        // seconds. Empty: never.
        std::function<bool()> trayAvailable;
        bool launchedAtLogin = false;  // started by the login helper
        std::chrono::milliseconds historyInterval { 1000 };
        // Ends the program; tests watch it instead.
        std::function<void()> terminate;
    };

    // Class initialisation: the built-in defaults and `userFolder`.
    static void initialize(UserDefaults& defaults);

    AppDelegate(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center,
                AppParts parts, Options options, QObject* parent = nullptr);
    ~AppDelegate() override;

    void launch();
    void awakeFromNib();
    void applicationWillFinishLaunching();
    void startup();
    void applicationDidFinishLaunching();
    // The user started Huelark again while it runs.
    bool applicationShouldHandleReopen();
    bool startupCheck() const { return options.launchedAtLogin; }

    // Shut-down.
    void windowWillClose();
    void cleanup();
    void quit();           // the window's quit command
    void quitFromSysMenu(); // the tray's quit command, a termination signal
    // Keeps what quitting keeps (the colour, the window's frame), for a
    // session that ends the program.
    void saveState();

    // Settings observation.
    void addNotifications();
    void addExtraNotifications();
    void observeValueForKeyPath(const QString& key);
    void updateShortcutKey();

    // The window, the tray and the taskbar.
    void updateWindowWithConverters();
    void showMenuBarItem(bool show);
    void updateMenu();
    void updateDock(bool atLaunch);
    void updateWindowIsFloating();
    void openWindow();
    void toggleWindow();
    void hideWindow();
    void openPrefs();
    void openNamesPreferences();
    void aboutHuelark();
    void openPalettesWindow();
    void openToolWindow();
    void addSwatch();
    void clearAllSwatches();
    void savePalette();
    void windowDidBecomeKey();
    void updateUIColors();
    bool validateUserInterfaceItem(WindowCommand command) const;

    // Outside links.
    void sendEmail();
    void openSuportForum();
    void openTwitter();
    void openGitHubRepo();

    // The current colour.
    void loadColors();
    void saveMainColor();
    void reloadColorsAndSaveHistory();
    void showColorPicker();

    // The name field's completions, and the colour it previews.
    QStringList textFieldCompletions(AutoCompleteTextField* textField, const QStringList& words, Range range,
                                     int indexOfSelectedItem) override;
    unsigned lightness() const override;
    void setSwatchFromNameField(const QString& name) override;

    MainWindow& window() const { return *windowView; }
    FieldSync& fieldSync() const { return *sync; }
    TrayIcon& tray() const { return *statusItem; }
    const WindowCommands& commands() const { return *windowCommands; }
    const TaskbarPresence& taskbar() const { return *taskbarPresence; }
    WindowFrameAutosave& frameAutosave() const { return *frame; }
    ColorPanel& colorPanel() const { return *panel; }
    HistoryStore& historyStore() const { return *parts.historyStore; }
    HistoryMenu& historyMenu() const { return *historyItems; }
    SwatchColumn& swatchColumn() const { return *swatches; }
    CurrentColors& currentColors() const { return *colors; }
    WellColorSpace& wellColorSpace() const { return *parts.wellColorSpace; }
    const AppParts& appParts() const { return parts; }

private:
    void wireWindow();
    void wireCommands();
    // Opens the preferences on the pane of that identifier ("changePrefsTab").
    void openPreferencesPane(const QString& identifier);
    void terminate(int status = 0);

    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    NotificationCenter& center;
    AppParts parts;
    Options options;

    std::unique_ptr<WindowCommands> windowCommands;
    std::unique_ptr<MainWindow> windowView;
    std::unique_ptr<ColorPanel> panel;
    std::unique_ptr<FieldSync> sync;
    std::unique_ptr<TrayIcon> statusItem;
    std::unique_ptr<TaskbarPresence> taskbarPresence;
    std::unique_ptr<WindowFrameAutosave> frame;
    std::unique_ptr<CurrentColors> colors;
    std::unique_ptr<HistoryMenu> historyItems;
    SwatchColumn* swatches = nullptr; // a child of the window
    bool observing = false;
    bool storeFailed = false;
};
