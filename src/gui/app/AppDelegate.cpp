#include "AppDelegate.h"

#include "app/ColorPanel.h"
#include "app/HelperQuitNotice.h"
#include "app/MainWindow.h"
#include "app/OutsideLinks.h"
#include "app/SwatchWell.h"
#include "app/TaskbarPresence.h"
#include "app/TrayIcon.h"
#include "app/WindowCommands.h"
#include "app/WindowFrameAutosave.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/FieldFormatters.h"
#include "colour/FieldSync.h"
#include "colour/ValueField.h"
#include "colour/WellColorSpace.h"
#include "history/HistoryMenu.h"
#include "history/HistoryStore.h"
#include "history/HistoryStoreAlert.h"
#include "names/AutoCompleteTextField.h"
#include "settings/DefaultsKeys.h"
#include "settings/FirstStartValues.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"
#include "swatches/SwatchColumn.h"
#include "swatches/SwatchTable.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

namespace {
const QString mainWindowAutosaveName = QStringLiteral("Huelark");
}

void AppDelegate::initialize(UserDefaults& defaults) { FirstStartValues::initializeDefaults(defaults); }

AppDelegate::AppDelegate(UserDefaults& defaults, const ColorSpaceRegistry& spaces, NotificationCenter& center,
                         AppParts appParts, Options opts, QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , spaces(spaces)
    , center(center)
    , parts(std::move(appParts))
    , options(std::move(opts))
    , windowCommands(std::make_unique<WindowCommands>())
    , windowView(std::make_unique<MainWindow>(center, *windowCommands))
    , panel(std::make_unique<ColorPanel>())
    , statusItem(std::make_unique<TrayIcon>(*windowCommands, options.trayAvailable))
    , taskbarPresence(std::make_unique<TaskbarPresence>(defaults, *statusItem, *windowView, *parts.preferences))
    , frame(std::make_unique<WindowFrameAutosave>(defaults, mainWindowAutosaveName, *windowView))
    , colors(std::make_unique<CurrentColors>(defaults, spaces, *parts.wellColorSpace))
{
    Q_ASSERT(parts.historyStore && parts.wellColorSpace);
    if (!parts.history)
        parts.history = std::make_unique<StoreHistoryRecorder>(*parts.historyStore);
    sync = std::make_unique<FieldSync>(windowView->fields, *windowView->mainSwatchWell, *parts.wellColorSpace,
                                       defaults, spaces, *parts.names, *parts.history);
    sync->setHistoryInterval(options.historyInterval);
    swatches = new SwatchColumn(*colors, defaults, *sync, *windowView->mainSwatchWell, *parts.palettes);
    windowView->setSwatchColumn(swatches);
    swatches->setCommands(windowCommands->action(WindowCommand::AddSwatch),
                          windowCommands->action(WindowCommand::SavePalette),
                          windowCommands->action(WindowCommand::KeepOnlyTopSwatch));
    historyItems = std::make_unique<HistoryMenu>(*parts.historyStore, *colors, defaults, parts.historyMenu);
    wireWindow();
    wireCommands();
}

AppDelegate::~AppDelegate()
{
    // The palettes and tool windows work on the swatch list, which goes first.
    parts.palettes->releasePalettesWindow();
    parts.tools->releaseToolWindow();
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
    connect(colors.get(), &CurrentColors::colorsHandedOver, this, &AppDelegate::reloadColorsAndSaveHistory);
    connect(sync.get(), &FieldSync::swatchColorChanged, this, [this] {
        if (parts.tools->isOpen())
            parts.tools->updateToolSwatches();
    });
    w.historyButton->setMenu(historyItems->menu());
    parts.palettes->setSwatches(*colors, [this] { return *windowView->mainSwatchWell->color(); });
    parts.tools->setSwatches(
        *colors, [this] { return *windowView->mainSwatchWell->color(); },
        [this] { swatches->swatchTable()->scrollToBottom(); });
    // A saved, imported or deleted list (here or in another process) can
    // make the swatch column's colours a palette or no longer one.
    if (parts.colorLists)
        connect(parts.colorLists.get(), &ColorListStore::colorListsChanged, swatches,
                &SwatchColumn::validateSwatchButtons);
    connect(statusItem.get(), &TrayIcon::activated, this, &AppDelegate::toggleWindow);
}

void AppDelegate::wireCommands()
{
    using C = WindowCommand;
    const std::pair<C, void (AppDelegate::*)()> operations[] = {
        { C::OpenWindow, &AppDelegate::openWindow },       { C::Palettes, &AppDelegate::openPalettesWindow },
        { C::Tools, &AppDelegate::openToolWindow },        { C::Preferences, &AppDelegate::openPrefs },
        { C::NamesPreferences, &AppDelegate::openNamesPreferences }, { C::About, &AppDelegate::aboutHuelark },
        { C::AddSwatch, &AppDelegate::addSwatch },         { C::SavePalette, &AppDelegate::savePalette },
        { C::KeepOnlyTopSwatch, &AppDelegate::clearAllSwatches }, { C::Feedback, &AppDelegate::sendEmail },
        { C::Support, &AppDelegate::openSuportForum },     { C::News, &AppDelegate::openTwitter },
        { C::NamesRepository, &AppDelegate::openGitHubRepo }, { C::Quit, &AppDelegate::quit },
        { C::QuitFromTray, &AppDelegate::quitFromSysMenu },
    };
    for (const auto& [command, operation] : operations)
        connect(windowCommands->action(command), &QAction::triggered, this, operation);
    connect(windowCommands->action(C::CloseWindow), &QAction::triggered, windowView.get(), &QWidget::close);

    statusItem->addCommand(historyItems->menu()->menuAction());
    statusItem->addCommand(windowCommands->action(C::KeepOnlyTopSwatch));
    windowCommands->enableParts(parts);
    connect(statusItem.get(), &TrayIcon::menuAboutToShow, this, [this] {
        windowCommands->action(WindowCommand::NamesRepository)
            ->setEnabled(!OutsideLinks::namesRepository(defaults.stringForKey(DefaultsKeys::namesGitHubRepo)).isEmpty());
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
    if (!HistoryStoreAlert::openStore(*parts.historyStore)) {
        storeFailed = true;
        terminate(EXIT_FAILURE);
        return;
    }
    FirstStartValues::setDefaultColors(defaults, sync->wellColorSpace());
    FirstStartValues::setDefaultColorSpaces(defaults, spaces);
    swatches->initializeSwatchView();
    updateWindowWithConverters();
    sync->setLightness(0);
    startup();
}

void AppDelegate::startup()
{
    parts.names->cacheNamesDatabase();
    attachFormatters(windowView->fields);
    swatches->reloadSwatches();
    sync->restoreColor(colors->lastColor());
}

void AppDelegate::applicationDidFinishLaunching()
{
    updateDock(true);
    if (!frame->restore()) {
        windowView->resize(windowView->sizeHint());
        panel->makeRoomBeside(*windowView);
    }
    showMenuBarItem(defaults.boolForKey(DefaultsKeys::showInMenu));
    if (defaults.boolForKey(DefaultsKeys::loginStart))
        parts.login->updateLogin();
    if (startupCheck() && defaults.boolForKey(DefaultsKeys::hideOnLaunch))
        taskbarPresence->hideAtLaunch();
    else
        openWindow();
    updateShortcutKey();
    updateWindowIsFloating();
    windowView->nameField()->tableViewDelegate = this;
    parts.paletteMigration->migratePalettesFromCoreDataToClrFiles();
    addNotifications();
    addExtraNotifications();
    swatches->reloadTable();
    HelperQuitNotice::post();
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
    // Every key goes to the dispatch, which acts on the keys it knows.
    connect(&defaults, &UserDefaults::valueChanged, this, &AppDelegate::observeValueForKeyPath);
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
    if (std::find(MainWindow::rowKeys.begin(), MainWindow::rowKeys.end(), key) != MainWindow::rowKeys.end())
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
    frame->save();
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
    saveState();
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
    saveState();
    terminate();
}

void AppDelegate::saveState()
{
    saveMainColor();
    frame->save();
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
    windowView->updateWindowWithConverters(defaults);
    QTimer::singleShot(0, this, [this] { swatches->reloadTable(); });
    updateUIColors();
}

void AppDelegate::showMenuBarItem(bool show) { taskbarPresence->showMenuBarItem(show); }
void AppDelegate::updateMenu() { showMenuBarItem(defaults.boolForKey(DefaultsKeys::showInMenu)); }

void AppDelegate::updateDock(bool atLaunch) { taskbarPresence->updateDock(atLaunch); }

void AppDelegate::updateWindowIsFloating()
{
    windowView->setWindowFlagKeepingShown(Qt::WindowStaysOnTopHint,
                                          defaults.boolForKey(DefaultsKeys::floatAboveOtherApps));
}

void AppDelegate::openWindow()
{
    // The names come back before the window does, so a colour chosen while
    // it was closed is named in its first frame.
    parts.names->cacheNamesDatabase();
    if (windowView->isMinimized())
        windowView->setWindowState(windowView->windowState() & ~Qt::WindowMinimized);
    windowView->show();
    panel->activate(windowView->mainSwatchWell, false);
    panel->orderFront(windowView.get());
    windowView->raise();
    windowView->activateWindow();
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
void AppDelegate::openNamesPreferences() { openPreferencesPane(PreferencesWindow::namesPaneIdentifier()); }
void AppDelegate::aboutHuelark() { openPreferencesPane(PreferencesWindow::aboutPaneIdentifier()); }

void AppDelegate::openPreferencesPane(const QString& identifier)
{
    parts.preferences->openPreferencesWindow();
    center.postNotification(QStringLiteral("changePrefsTab"), {}, { { QStringLiteral("tab"), identifier } });
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

void AppDelegate::updateUIColors()
{
    windowView->updateUIColors(sync->lightness());
    swatches->validateForCurrentColor();
}

bool AppDelegate::validateUserInterfaceItem(WindowCommand command) const
{
    // The part a command acts on keeps its command's state.
    return windowCommands->action(command)->isEnabled();
}

// ---- outside links
void AppDelegate::sendEmail() { OutsideLinks::open(OutsideLinks::feedbackMail(QCoreApplication::applicationVersion())); }
void AppDelegate::openSuportForum() { OutsideLinks::open(OutsideLinks::supportForum()); }
void AppDelegate::openTwitter() { OutsideLinks::open(OutsideLinks::news()); }
void AppDelegate::openGitHubRepo()
{
    OutsideLinks::open(OutsideLinks::namesRepository(defaults.stringForKey(DefaultsKeys::namesGitHubRepo)));
}

// ---- the current colour
void AppDelegate::loadColors()
{
    swatches->reloadSwatches();
    sync->loadColor(colors->lastColor());
}

void AppDelegate::saveMainColor()
{
    colors->saveMainColor(*windowView->mainSwatchWell->color());
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
