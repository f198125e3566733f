#pragma once

#include "colour/WellColorSpace.h"
#include "history/HistoryMenu.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "names/NameLookup.h"
#include "palettes/ColorListStore.h"
#include "palettes/PaletteMigration.h"
#include "palettes/PalettesWindow.h"
#include "palettes/Sandbox.h"
#include "prefs/LoginItem.h"
#include "prefs/PreferencesWindow.h"
#include "shortcut/ShortcutBinder.h"
#include "tools/ToolWindow.h"

#include <QDateTime>

class QWidget;

#include <functional>
#include <memory>

class ColorSpaceRegistry;
class NotificationCenter;
class UserDefaults;

// The parts of the program that AppDelegate calls into but does not build
// itself. Each starts as the placeholder of its seam; the change that builds
// a part puts the real one here (and tests put in fakes to watch the calls).
struct AppParts
{
    // The window's colour space and the history store, which main() builds
    // (buildStores); required.
    std::unique_ptr<WellColorSpace> wellColorSpace;
    std::unique_ptr<HistoryStore> historyStore;
    // The colour lists and their mirror for other programs (buildPalettes);
    // they outlive the parts that use them.
    std::unique_ptr<ColorListStore> colorLists;
    std::unique_ptr<Sandbox> sandbox;
    // None: entries go to the program's history store.
    std::unique_ptr<HistoryRecorder> history;
    std::unique_ptr<NameLookup> names = std::make_unique<NoNameLookup>();
    std::unique_ptr<PalettesWindow> palettes = std::make_unique<NoPalettesWindow>();
    std::unique_ptr<PaletteMigration> paletteMigration = std::make_unique<NoPaletteMigration>();
    std::unique_ptr<ToolWindow> tools = std::make_unique<NoToolWindow>();
    std::unique_ptr<PreferencesWindow> preferences = std::make_unique<NoPreferencesWindow>();
    std::unique_ptr<ShortcutBinder> shortcuts = std::make_unique<NoShortcutBinder>();
    std::unique_ptr<LoginItem> login = std::make_unique<NoLoginItem>();
    // The History menu's; buildStores gives it the store's clock, so the
    // menu's "today" is the day the store files new entries under.
    HistoryMenu::Options historyMenu;

    // The window's colour space, and the program's history store in the
    // support folder, naming its entries with `names` and holding them in
    // that space. `now` is the clock of the store and the History menu;
    // empty means the current time.
    void buildStores(UserDefaults& defaults, const ColorSpaceRegistry& spaces, const NameLookup& names,
                     std::function<QDateTime()> now = {});
    // The colour lists in the user's data folder, their mirror, the palettes
    // window over them and the migration of the old palettes; after
    // buildStores, with `names` in place.
    void buildPalettes(UserDefaults& defaults, const ColorSpaceRegistry& spaces);
    // The tool window, its rows from the colour harmonies and its drops
    // read on worker threads; after buildStores.
    void buildTools(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center);
    // The preferences window, made when it is first opened, with the Names
    // pane over `names`' update and the recorder of the global shortcut;
    // after `names` is in place.
    void buildPreferences(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center);
    // Start at login through the autostart entry, with the login helper
    // looked for beside the program in `programFolder`.
    void buildLogin(UserDefaults& defaults, const QString& programFolder);
    // The global shortcut, registered with the program's shortcut monitor
    // (key grabs on X11, the desktop portal on Wayland).
    void buildShortcuts(UserDefaults& defaults);
};
