#include "AppParts.h"

#include "colour/WellColorSpace.h"
#include "history/HistoryStore.h"
#include "palettes/StoredPaletteMigration.h"
#include "palettes/StoredPalettes.h"
#include "prefs/AutostartLoginItem.h"
#include "prefs/LazyPreferencesWindow.h"
#include "settings/DefaultsKeys.h"
#include "shortcut/ShortcutMonitor.h"
#include "shortcut/ShortcutView.h"
#include "tools/ColorHarmonies.h"
#include "tools/DropExtraction.h"
#include "tools/LazyToolWindow.h"

void AppParts::buildStores(UserDefaults& defaults, const ColorSpaceRegistry& spaces, const NameLookup& names,
                           std::function<QDateTime()> now)
{
    wellColorSpace = std::make_unique<WellColorSpace>(defaults, spaces);
    HistoryStore::Options options;
    options.closestColorName = names.closestColorNameOnAnyThread();
    options.wellColorSpace = wellColorSpace.get();
    options.now = now;
    if (now)
        historyMenu.today = [now] { return now().date(); };
    historyStore = std::make_unique<HistoryStore>(defaults, spaces, std::move(options));
}

void AppParts::buildPalettes(UserDefaults& defaults, const ColorSpaceRegistry& spaces)
{
    Sandbox::registerDefaults(defaults);
    colorLists = std::make_unique<ColorListStore>();
    sandbox = std::make_unique<Sandbox>(defaults, colorLists->folder());
    colorLists->setSandbox(sandbox.get());
    palettes = std::make_unique<StoredPalettes>(*colorLists, *wellColorSpace, *names, defaults, sandbox.get());
    paletteMigration =
        std::make_unique<StoredPaletteMigration>(*historyStore, *colorLists, spaces, *wellColorSpace, *names);
}

void AppParts::buildTools(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center)
{
    const WellColorSpace& well = *wellColorSpace;
    tools = std::make_unique<LazyToolWindow>(ToolParts {
        defaults, spaces, well, center,
        [&well](const Color& base) { return ColorHarmonies::rows(base, well.current()); },
        DropExtraction::extract, nullptr, {}, {}});
}

void AppParts::buildPreferences(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center)
{
    NameLookup* lookup = names.get();
    auto recorder = [&defaults](QWidget* parent) {
        return ShortcutView::createRecorder(defaults, DefaultsKeys::shortcutKey, parent);
    };
    preferences = std::make_unique<LazyPreferencesWindow>(PreferencesParts {
        defaults, spaces, center, [lookup] { return lookup->namesPreferencesUpdater(); }, recorder });
}

void AppParts::buildLogin(UserDefaults& defaults, const QString& programFolder)
{
    login = std::make_unique<AutostartLoginItem>(defaults, programFolder);
}

void AppParts::buildShortcuts(UserDefaults& defaults)
{
    shortcuts = std::make_unique<ShortcutBinder>(defaults, ShortcutMonitor::sharedMonitor());
}
