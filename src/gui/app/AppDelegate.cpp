#include "AppDelegate.h"

#include "app/ColorPanel.h"
#include "app/HelperQuitNotice.h"
#include "app/MainWindow.h"
#include "app/OutsideLinks.h"
#include "app/SwatchWell.h"
#include "app/TrayIcon.h"
#include "app/WindowFrameAutosave.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/FieldFormatters.h"
#include "colour/FieldSync.h"
#include "colour/HexCodec.h"
#include "colour/ValueField.h"
#include "history/HistoryMenu.h"
#include "history/HistoryStoreAlert.h"
#include "swatches/SwatchColumn.h"
#include "names/AutoCompleteTextField.h"
#include "settings/DefaultsKeys.h"
#include "settings/FirstStartValues.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>

namespace {

const QString mainWindowAutosaveName = QStringLiteral("Huelark");

// The settings whose changes take effect at once while the program runs.
const QStringList observedKeys {
    DefaultsKeys::showInMenu, DefaultsKeys::hideDock, DefaultsKeys::toggleShortcutKey,
    DefaultsKeys::floatAboveOtherApps, DefaultsKeys::lowerCaseHEX, DefaultsKeys::showHexUnit,
    DefaultsKeys::showUnits, DefaultsKeys::useObjCSyntax, DefaultsKeys::colorSpace,
    DefaultsKeys::CMYKcolorSpace, DefaultsKeys::showName, DefaultsKeys::showHEX,
    DefaultsKeys::showRGB, DefaultsKeys::showHSL, DefaultsKeys::showHSB, DefaultsKeys::showLab,
    DefaultsKeys::showCMYK, DefaultsKeys::showCode, DefaultsKeys::loginStart,
};

} // namespace

void AppDelegate::initialize(UserDefaults& defaults) { FirstStartValues::initializeDefaults(defaults); }

AppDelegate::AppDelegate(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center,
                         AppParts appParts, Options opts, QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , spaces(spaces)
    , center(center)
    , parts(std::move(appParts))
    , options(std::move(opts))
    , windowView(std::make_unique<MainWindow>(center))
    , panel(std::make_unique<ColorPanel>())
    , statusItem(std::make_unique<TrayIcon>(options.trayAvailable))
{
    HistoryStore::Options store;
    store.closestColorName = parts.names->closestColorNameOnAnyThread();
    store.wellColorSpace = [this] { return sync->wellColorSpace(); };
    history = std::make_unique<HistoryStore>(defaults, spaces, std::move(store));
    if (!parts.history)
        parts.history = std::make_unique<StoreHistoryRecorder>(*history);
    sync = std::make_unique<FieldSync>(windowView->fields, *windowView->mainSwatchWell, defaults, spaces,
                                       *parts.names, *parts.history, *parts.tools);
    sync->setHistoryInterval(options.historyInterval);
    swatches = new SwatchColumn(defaults, spaces, *sync, *windowView->mainSwatchWell, *parts.palettes);
    windowView->setSwatchColumn(swatches);
    swatches->setButtons(windowView->addButton, windowView->addPaletteButton);
    historyItems = std::make_unique<HistoryMenu>(*history, defaults,
                                                 HistoryMenu::Options { [this] { return sync->wellColorSpace(); }, {} });
    wireWindow();
}

AppDelegate::~AppDelegate()
{
    // The window's fields talk to the field sync: take the window down first.
    windowView.reset();
}

void AppDelegate::wireWindow()
{
    MainWindow& w = *windowView;
    for (ValueField* field : w.fields.all()) {
        connect(field, &QLineEdit::textEdited, this, [this, field] { sync->controlTextDidChange(field); });
        connect(field, &ValueField::editingEnded, this, [this, field] { sync->controlTextDidEndEditing(field); });
    }
    // Text colours follow the colour's lightness whichever way it changed.
    connect(sync.get(), &FieldSync::lightnessChanged, this, &AppDelegate::updateUIColors);
    w.nameField()->swatchWellDelegate = this;
    connect(parts.names.get(), &NameLookup::namesChanged, sync.get(), &FieldSync::updateNameField);
    connect(&w, &MainWindow::windowDidBecomeKey, this, &AppDelegate::windowDidBecomeKey);
    connect(&w, &MainWindow::quitRequested, this, &AppDelegate::quit);
    connect(w.openPalettesButton, &QToolButton::clicked, this, &AppDelegate::openPalettesWindow);
    connect(w.generatorButton, &QToolButton::clicked, this, &AppDelegate::openToolWindow);
    connect(w.openPrefsButton, &QToolButton::clicked, this, &AppDelegate::openPrefs);
    connect(w.addButton, &QToolButton::clicked, this, &AppDelegate::addSwatch);
    connect(w.addPaletteButton, &QToolButton::clicked, this, &AppDelegate::savePalette);
    connect(swatches, &SwatchColumn::colorsHandedOver, this, &AppDelegate::reloadColorsAndSaveHistory);
    connect(historyItems.get(), &HistoryMenu::colorsHandedOver, this, &AppDelegate::reloadColorsAndSaveHistory);
    w.historyButton->setMenu(historyItems->menu());
    // Parts that are not there yet get no live button.
    w.openPalettesButton->setEnabled(parts.palettes->available());
    w.generatorButton->setEnabled(parts.tools->available());
    w.openPrefsButton->setEnabled(parts.preferences->available());

    TrayIcon& t = *statusItem;
    connect(&t, &TrayIcon::activated, this, &AppDelegate::toggleWindow);
    t.addCommand(historyItems->menu()->menuAction());
    auto* keepTopSwatch = new QAction(tr("Keep Only the Top Swatch"), &t);
    keepTopSwatch->setData(12);
    connect(keepTopSwatch, &QAction::triggered, this, &AppDelegate::clearAllSwatches);
    t.addCommand(keepTopSwatch);
    connect(&t, &TrayIcon::openWindowRequested, this, &AppDelegate::openWindow);
    connect(&t, &TrayIcon::preferencesRequested, this, &AppDelegate::openPrefs);
    connect(&t, &TrayIcon::namesPreferencesRequested, this, &AppDelegate::openNamesPreferences);
    t.namesPreferencesAction->setEnabled(parts.names->hasNamesPreferences());
    connect(&t, &TrayIcon::aboutRequested, this, &AppDelegate::aboutHuelark);
    connect(&t, &TrayIcon::feedbackRequested, this, &AppDelegate::sendEmail);
    connect(&t, &TrayIcon::supportRequested, this, &AppDelegate::openSuportForum);
    connect(&t, &TrayIcon::newsRequested, this, &AppDelegate::openTwitter);
    connect(&t, &TrayIcon::namesRepositoryRequested, this, &AppDelegate::openGitHubRepo);
    connect(&t, &TrayIcon::quitRequested, this, &AppDelegate::quitFromSysMenu);
    t.preferencesAction->setEnabled(parts.preferences->available());
    t.aboutAction->setEnabled(parts.preferences->available());
    // Commands that later parts add carry their tag in data().
    connect(&t, &TrayIcon::menuAboutToShow, this, [this] {
        for (QAction* action : statusItem->statusMenu()->actions()) {
            if (action->data().isValid())
                action->setEnabled(validateUserInterfaceItem(action->data().toInt()));
        }
        statusItem->namesRepositoryAction->setEnabled(
            !OutsideLinks::namesRepository(defaults.stringForKey(DefaultsKeys::namesGitHubRepo)).isEmpty());
    });
}

// ---- start-up

void AppDelegate::launch()
{
    awakeFromNib();
    applicationWillFinishLaunching();
    if (!storeFailed)
        applicationDidFinishLaunching();
}

void AppDelegate::awakeFromNib()
{
    sync->updateColorSpace();
    sync->updateCMYKColorSpace();
    swatches->validateSwatchButtons();
}

void AppDelegate::applicationWillFinishLaunching()
{
    parts.names->createSupportFolderAndNamesDatabase();
    if (!openHistoryStore())
        return;
    FirstStartValues::setDefaultColors(defaults, sync->wellColorSpace());
    FirstStartValues::setDefaultColorSpaces(defaults, spaces);
    swatches->initializeSwatchView();
    updateWindowWithConverters();
    sync->setLightness(0);
    sync->canUpdateHistory = false;
    startup();
}

void AppDelegate::startup()
{
    sync->canUpdateHex = true;
    parts.names->cacheNamesDatabase();
    attachFormatters(windowView->fields);
    sync->updateFromSwatch = false;
    loadColors();
    sync->updateFromSwatch = true;
    sync->setValuesFromSwatch();
}

void AppDelegate::applicationDidFinishLaunching()
{
    launching = true;
    refuseSessionRestart();
    updateDock(true);
    if (!WindowFrameAutosave::restore(defaults, mainWindowAutosaveName, *windowView))
        windowView->resize(windowView->sizeHint());
    showMenuBarItem(defaults.boolForKey(DefaultsKeys::showInMenu));
    if (defaults.boolForKey(DefaultsKeys::loginStart))
        parts.login->updateLogin();
    if (startupCheck() && defaults.boolForKey(DefaultsKeys::hideOnLaunch)) {
        if (statusItem->isShown())
            QTimer::singleShot(0, this, &AppDelegate::hideWindow);
        else
            // A hidden program without a tray item could not be found again:
            // it waits in the taskbar instead.
            windowView->showMinimized();
    } else {
        openWindow();
    }
    updateShortcutKey();
    updateWindowIsFloating();
    windowView->nameField()->tableViewDelegate = this;
    parts.paletteMigration->migratePalettesFromCoreDataToClrFiles();
    addNotifications();
    addExtraNotifications();
    swatches->reloadTable();
    HelperQuitNotice::post();
    launching = false;
}

void AppDelegate::refuseSessionRestart()
{
    // Huelark starts at login through its own setting only: a desktop
    // session that restores the programs of the last one must not start it.
#ifndef QT_NO_SESSIONMANAGER
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::saveStateRequest, this,
                [](QSessionManager& session) { session.setRestartHint(QSessionManager::RestartNever); });
    }
#endif
}

bool AppDelegate::applicationShouldHandleReopen()
{
    openWindow();
    return true;
}

// ---- observation

void AppDelegate::addNotifications()
{
    if (observing)
        return;
    observing = true;
    connect(&defaults, &UserDefaults::valueChanged, this, [this](const QString& key) {
        if (observedKeys.contains(key))
            observeValueForKeyPath(key);
    });
}

void AppDelegate::addExtraNotifications()
{
    connect(windowView.get(), &MainWindow::windowWillClose, this, &AppDelegate::windowWillClose);
    center.addObserver(QStringLiteral("showColorPicker"), this, [this](const Notification&) { showColorPicker(); });
    connect(windowView->mainSwatchWell, &SwatchWell::colorChanged, this, [this] {
        sync->setValuesFromSwatch();
        updateUIColors();
    });
}

void AppDelegate::observeValueForKeyPath(const QString& key)
{
    if (MainWindow::rowKeys.end() != std::find(MainWindow::rowKeys.begin(), MainWindow::rowKeys.end(), key))
        updateWindowWithConverters();
    if (key == DefaultsKeys::showInMenu)
        updateMenu();
    if (key == DefaultsKeys::hideDock)
        updateDock(false);
    if (key == DefaultsKeys::toggleShortcutKey)
        updateShortcutKey();
    if (key == DefaultsKeys::floatAboveOtherApps)
        updateWindowIsFloating();
    if (key == DefaultsKeys::useObjCSyntax)
        sync->updateCodeSytax();
    if (key == DefaultsKeys::showUnits || key == DefaultsKeys::showHexUnit || key == DefaultsKeys::lowerCaseHEX) {
        showColorPicker();
        sync->setValuesFromSwatch();
    }
    if (key == DefaultsKeys::colorSpace)
        sync->updateColorSpace();
    if (key == DefaultsKeys::CMYKcolorSpace)
        sync->updateCMYKColorSpace();
    if (key == DefaultsKeys::loginStart) {
        parts.login->updateLogin();
        QTimer::singleShot(1000, this, [] { HelperQuitNotice::post(); });
    }
}

void AppDelegate::updateShortcutKey()
{
    if (defaults.boolForKey(DefaultsKeys::toggleShortcutKey))
        parts.shortcuts->bindShortcut(DefaultsKeys::shortcutKey, [this] { toggleWindow(); });
    else
        parts.shortcuts->unbindShortcut(DefaultsKeys::shortcutKey);
}

// ---- shut-down

void AppDelegate::windowWillClose()
{
    WindowFrameAutosave::save(defaults, mainWindowAutosaveName, *windowView);
    cleanup();
    // Without a tray item or a global shortcut nothing could bring a closed
    // window back: closing it ends the program.
    if (!statusItem->isShown() && !defaults.boolForKey(DefaultsKeys::toggleShortcutKey))
        terminate();
}

void AppDelegate::cleanup()
{
    parts.names->freeNamesDatabase();
    panel->close();
    saveMainColor();
    parts.palettes->releasePalettesWindow();
    parts.tools->releaseToolWindow();
}

void AppDelegate::quit()
{
    saveMainColor();
    // Hiding behind the tray item only works while there is one.
    if (!(defaults.boolForKey(DefaultsKeys::hideDock) && statusItem->isShown())) {
        terminate();
        return;
    }
    hideWindow();
    cleanup();
}

void AppDelegate::quitFromSysMenu()
{
    saveMainColor();
    terminate();
}

bool AppDelegate::openHistoryStore()
{
    const std::optional<HistoryStoreError> error = history->open();
    if (!error) {
        if (const auto& recovery = history->recovery())
            HistoryStoreAlert::presentRecovery(*recovery);
        return true;
    }
    storeFailed = true;
    HistoryStoreAlert::presentError(*error, history->filePath());
    terminate(EXIT_FAILURE);
    return false;
}

void AppDelegate::terminate(int status)
{
    if (options.terminate)
        options.terminate();
    else
        // Queued: at start-up the event loop is not running yet.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

// ---- window, tray and taskbar

void AppDelegate::updateWindowWithConverters()
{
    std::array<bool, 8> shown {};
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = defaults.boolForKey(MainWindow::rowKeys[i]);
    windowView->updateWindowWithConverters(shown);
    if (windowView->isVisible())
        windowView->resize(windowView->width(), windowView->sizeHint().height());
    QTimer::singleShot(0, this, [this] { swatches->reloadTable(); });
    updateUIColors();
}

void AppDelegate::showMenuBarItem(bool show)
{
    if (!show) {
        // A program with no tray item must keep its taskbar entry.
        defaults.setBool(false, DefaultsKeys::hideDock);
        defaults.synchronize();
    }
    statusItem->showMenuBarItem(show);
}

void AppDelegate::updateMenu() { showMenuBarItem(defaults.boolForKey(DefaultsKeys::showInMenu)); }

bool AppDelegate::skipsTaskbar() const
{
    return defaults.boolForKey(DefaultsKeys::showInMenu) && defaults.boolForKey(DefaultsKeys::hideDock)
        && statusItem->trayAvailable();
}

void AppDelegate::updateDock(bool atLaunch)
{
    applyWindowFlag(Qt::Tool, skipsTaskbar());
    if (atLaunch)
        QTimer::singleShot(0, this, &AppDelegate::restoreWindowsAfterDockChange);
    else
        refreshDockIcon();
}

void AppDelegate::refreshDockIcon()
{
    // The window manager needs a moment to take the window's new type.
    QTimer::singleShot(0, this, &AppDelegate::restoreWindowsAfterDockChange);
}

void AppDelegate::restoreWindowsAfterDockChange()
{
    if (windowView->isVisible()) {
        windowView->raise();
        windowView->activateWindow();
    }
    if (parts.preferences->isVisible())
        parts.preferences->raise();
}

void AppDelegate::updateWindowIsFloating()
{
    applyWindowFlag(Qt::WindowStaysOnTopHint, defaults.boolForKey(DefaultsKeys::floatAboveOtherApps));
}

void AppDelegate::applyWindowFlag(Qt::WindowType flag, bool on)
{
    if (windowView->windowFlags().testFlag(flag) == on)
        return;
    // Changing a window's flags hides it; a shown window stays shown.
    const bool visible = windowView->isVisible();
    windowView->setWindowFlag(flag, on);
    if (visible)
        windowView->show();
}

void AppDelegate::openWindow()
{
    // The names come back before the window does, so a colour chosen while
    // it was closed is named in its first frame.
    parts.names->cacheNamesDatabase();
    if (windowView->isMinimized())
        windowView->setWindowState(windowView->windowState() & ~Qt::WindowMinimized);
    windowView->show();
    if (launching) {
        // At start-up the window goes to the screen first; the panel, which
        // takes a while to build, follows on the next turn of the loop.
        QTimer::singleShot(0, this, &AppDelegate::orderColorPanelFront);
        return;
    }
    orderColorPanelFront();
}

void AppDelegate::orderColorPanelFront()
{
    panel->activate(windowView->mainSwatchWell, false);
    if (windowView->isVisible())
        panel->orderFront(windowView.get());
    windowView->raise();
    windowView->activateWindow();
}

void AppDelegate::closeWindow()
{
    if (QWidget* key = QApplication::activeWindow())
        key->close();
}

void AppDelegate::toggleWindow()
{
    // A window minimized to the taskbar is out of sight: it comes back.
    if (windowView->isVisible() && !windowView->isMinimized())
        windowView->close();
    else
        openWindow();
}

void AppDelegate::hideWindow()
{
    windowView->hide();
    panel->close();
}

void AppDelegate::openPrefs() { parts.preferences->openPreferencesWindow(); }
void AppDelegate::openNamesPreferences() { parts.names->openNamesPreferences(); }

void AppDelegate::aboutHuelark()
{
    parts.preferences->openPreferencesWindow();
    center.postNotification(QStringLiteral("changePrefsTab"), {},
                            { { QStringLiteral("tab"), PreferencesWindow::aboutPaneIdentifier() } });
    parts.preferences->raise();
}

void AppDelegate::openPalettesWindow() { parts.palettes->openPalettesWindow(); }
void AppDelegate::openToolWindow() { parts.tools->openToolWindow(); }
void AppDelegate::addSwatch() { swatches->addSwatch(); }
void AppDelegate::clearAllSwatches() { swatches->clearAllSwatches(); }
void AppDelegate::savePalette() { swatches->savePalette(); }

void AppDelegate::windowDidBecomeKey()
{
    // The field being edited keeps its focus across activations by itself.
    parts.names->cacheNamesDatabase();
}

void AppDelegate::updateLabelColors(const QColor& color) { windowView->updateLabelColors(color); }

void AppDelegate::updateUIColors()
{
    windowView->updateUIColors(sync->lightness());
    swatches->validateSwatchButtons();
}

bool AppDelegate::validateUserInterfaceItem(int tag) const
{
    // Tag 12 acts on all swatches but the top one: pointless with one left.
    return tag != 12 || swatches->swatchCount() != 1;
}

// ---- outside links

void AppDelegate::sendEmail() { openLink(OutsideLinks::feedbackMail(QCoreApplication::applicationVersion())); }
void AppDelegate::openSuportForum() { openLink(OutsideLinks::supportForum()); }
void AppDelegate::openTwitter() { openLink(OutsideLinks::news()); }
void AppDelegate::openGitHubRepo()
{
    openLink(OutsideLinks::namesRepository(defaults.stringForKey(DefaultsKeys::namesGitHubRepo)));
}

void AppDelegate::openLink(const QUrl& url)
{
    if (!url.isEmpty())
        QDesktopServices::openUrl(url);
}

// ---- the current colour

std::optional<QString> AppDelegate::normalizedHEXcodeFromHEXvalue(const QString& text) const
{
    return HexCodec::normalizedHEXcodeFromHEXvalue(text, defaults.boolForKey(DefaultsKeys::showHexUnit));
}

bool AppDelegate::isValidHEX(const QString& text) { return HexCodec::isValidHEX(text); }

std::optional<Color> AppDelegate::colorWithHexColorString(const QString& text) const
{
    return HexCodec::colorWithHexColorString(text, sync->wellColorSpace());
}

std::optional<QString> AppDelegate::hexCodeForColor(const Color& color) const
{
    return HexCodec::hexCodeForColor(color, sync->wellColorSpace());
}

void AppDelegate::loadColors()
{
    const std::optional<Color> color = ColorArchive::getColorFromData(
        defaults.dataForKey(DefaultsKeys::color_last), ColorArchive::defaultColor(), spaces, sync->wellColorSpace());
    swatches->reloadSwatches();
    sync->loadColor(color);
}

void AppDelegate::saveMainColor()
{
    const std::shared_ptr<const Color> current = windowView->mainSwatchWell->color();
    const std::optional<Color> color = ColorSpace::convert(*current, sync->wellColorSpace());
    defaults.setData(ColorArchive::archive(color.value_or(*current)), DefaultsKeys::color_last);
    defaults.synchronize();
}

void AppDelegate::reloadColorsAndSaveHistory()
{
    loadColors();
    sync->updateHistoryAndSetColor();
}

QStringList AppDelegate::textFieldCompletions(AutoCompleteTextField*, const QStringList&, Range, int)
{
    // The whole text is the pattern, not only the word being typed.
    return parts.names->completions(windowView->fields.nameField->text());
}

unsigned AppDelegate::lightness() const { return sync->lightness(); }
void AppDelegate::setSwatchFromNameField(const QString& name) { sync->setSwatchFromNameField(name); }

void AppDelegate::showColorPicker() { panel->activate(windowView->mainSwatchWell, windowView->isVisible()); }
