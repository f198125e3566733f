#include "colour/ColorSpaceRegistry.h"
#include "prefs/DefaultsSwitch.h"
#include "prefs/GeneralPreferencesViewController.h"
#include "prefs/LazyPreferencesWindow.h"
#include "prefs/PreferencesWindowController.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"

#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// A pane of a known natural size.
class FakePane final : public PreferencesPane
{
public:
    FakePane(QString id, QSize natural, bool resizable)
        : id(std::move(id)), natural(natural), resizable(resizable)
    {
    }
    QString identifier() const override { return id; }
    QString toolbarItemLabel() const override { return id.toUpper(); }
    QIcon toolbarItemImage() const override { return {}; }
    bool hasResizableHeight() const override { return resizable; }
    bool commitEditing() override { return !busy; }
    QSize sizeHint() const override { return natural; }
    QSize minimumSizeHint() const override { return natural; }

    QString id;
    QSize natural;
    bool resizable;
    bool busy = false;
};

// Panes "a" (fixed), a stretch, "b" (grows, 150 high), "wide" (a font
// that needs 600 pixels) and a stretch at the end, in a window of their own
// settings file.
struct Window
{
    explicit Window(const QVariantMap& stored = {})
    {
        for (auto it = stored.begin(); it != stored.end(); ++it)
            defaults.setObject(it.value(), it.key());
        a = new FakePane("a", { 300, 200 }, false);
        b = new FakePane("b", { 300, 150 }, true);
        wide = new FakePane("wide", { 600, 120 }, false);
        window = std::make_unique<PreferencesWindowController>(defaults, center,
                                                               QList<PreferencesPane*> { a, nullptr, b, wide, nullptr });
        window->show();
        QCoreApplication::processEvents();
    }
    QString shown() const { return window->selectedViewController() ? window->selectedViewController()->identifier() : "none"; }

    QTemporaryDir folder;
    UserDefaults defaults { folder.filePath("prefs.conf") };
    NotificationCenter center;
    FakePane *a, *b, *wide;
    std::unique_ptr<PreferencesWindowController> window;
};

const QString frameOf_b = "AmbrelPreferences b Frame";

// Sizes: the width is fixed, or the pane's where its font needs more; only a
// pane that grows keeps a stored height, and never one below its own.
TEST(PreferencesWindow, SizesFollowThePaneRules)
{
    const struct
    {
        const char* row;
        QString pane;
        QString storedFrame;
        QSize content;
        QSize grownTo = {};
    } rows[] = {
        { "fixed pane, natural size", "a", {}, { 470, 200 } },
        { "fixed pane ignores a stored height", "a", "{{0, 0}, {470, 500}}", { 470, 200 } },
        { "growing pane keeps a stored height", "b", "{{0, 0}, {470, 320}}", { 470, 320 } },
        { "growing pane never below its own", "b", "{{0, 0}, {470, 90}}", { 470, 150 } },
        { "damaged stored frame", "b", "{{0, 0}, {x, -4}}", { 470, 150 } },
        { "a font that needs more width", "wide", {}, { 600, 120 } },
        { "content that grows", "a", {}, { 470, 260 }, { 300, 260 } },
    };
    for (const auto& r : rows) {
        Window w({ { "AmbrelPreferences Selected Identifier View", r.pane }, { "AmbrelPreferences " + r.pane + " Frame", r.storedFrame } });
        ASSERT_EQ(w.shown(), r.pane) << r.row;
        if (r.grownTo.isValid()) {
            w.a->natural = r.grownTo;
            w.a->updateGeometry();
            QCoreApplication::processEvents();
        }
        const int chrome = w.window->toolbar()->height();
        EXPECT_EQ(w.window->size(), r.content + QSize(0, chrome)) << r.row;
        EXPECT_EQ(w.window->selectedViewController()->size(), r.content) << r.row;
        EXPECT_EQ(w.window->minimumWidth(), w.window->maximumWidth()) << r.row << ": the width is fixed";
    }
}

// Switching panes, with the keyboard, the toolbar and "changePrefsTab":
// stretches are skipped, the ends wrap around, unknown panes change nothing,
// a busy pane stays, and the window's top edge stays put.
TEST(PreferencesWindow, PanesSwitchAndKeepTheTopEdge)
{
    Window w;
    w.window->move(120, 90);
    QCoreApplication::processEvents();
    const auto post = [&w](const QString& tab) {
        w.center.postNotification("changePrefsTab", {}, { { "tab", tab } });
    };
    const auto keys = [&w](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        return [&w, key, modifiers] { QTest::keyClick(w.window.get(), key, modifiers); };
    };
    const struct
    {
        const char* row;
        std::function<void()> act;
        const char* shown;
    } rows[] = {
        { "first pane at first", [] {}, "a" },
        { "Ctrl+Tab skips the stretch", keys(Qt::Key_Tab, Qt::ControlModifier), "b" },
        { "Ctrl+PgDown", keys(Qt::Key_PageDown, Qt::ControlModifier), "wide" },
        { "past the last stretch back to the first", keys(Qt::Key_Tab, Qt::ControlModifier), "a" },
        { "Ctrl+PgUp wraps back", keys(Qt::Key_PageUp, Qt::ControlModifier), "wide" },
        { "Ctrl+Shift+Tab", keys(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), "b" },
        { "toolbar button", [&w] { w.window->toolbar()->actions().at(0)->trigger(); }, "a" },
        { "changePrefsTab", [&] { post("wide"); }, "wide" },
        { "changePrefsTab to no pane", [&] { post("About"); }, "wide" },
        { "a busy pane stays", [&] { w.wide->busy = true; post("b"); }, "wide" },
        { "and keeps its button", [&] { w.window->toolbar()->actions().at(0)->trigger(); }, "wide" },
        { "and the window open", [&] { QTest::keyClick(w.window.get(), Qt::Key_W, Qt::ControlModifier); }, "wide" },
        { "free again", [&] { w.wide->busy = false; post("b"); }, "b" },
    };
    for (const auto& r : rows) {
        r.act();
        EXPECT_EQ(w.shown(), r.shown) << r.row;
        EXPECT_EQ(w.window->y(), 90) << r.row << ": top edge";
        EXPECT_TRUE(w.window->isVisible()) << r.row;
    }
    for (const Qt::Key close : { Qt::Key_W, Qt::Key_Escape }) {
        w.window->showAndRaise();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), close, close == Qt::Key_W ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_FALSE(w.window->isVisible()) << QKeySequence(close).toString().toStdString();
    }

    // The next start comes back to that pane and place.
    w.defaults.synchronize();
    EXPECT_EQ(w.defaults.stringForKey("AmbrelPreferences Selected Identifier View"), "b");
    EXPECT_EQ(w.defaults.stringForKey("AmbrelPreferences Frame Top Left"), "{120, 90}");

    // A list of stretches alone: nothing to go to, and no endless search.
    UserDefaults defaults(w.folder.filePath("empty.conf"));
    PreferencesWindowController empty(defaults, w.center, { nullptr, nullptr });
    empty.goNextTab();
    empty.goPreviousTab();
    EXPECT_EQ(empty.selectedViewController(), nullptr);
}

// A stored place that is off every screen (a monitor unplugged) is moved
// back to where the title bar can be reached.
TEST(PreferencesWindow, ARestoredPlaceIsClampedOntoAScreen)
{
    const QList<QRect> screens { { 0, 0, 1920, 1080 }, { 1920, 0, 1280, 1024 } };
    const struct
    {
        QPoint stored;
        QPoint placed;
    } rows[] = {
        { { 100, 80 }, { 100, 80 } },
        { { 2000, 500 }, { 2000, 500 } },
        { { -5000, -300 }, { 0, 0 } },
        { { 9000, 2000 }, { 3200 - 470, 1024 - 80 } },
        { { 1700, 1070 }, { 1920 - 470, 1080 - 80 } },
    };
    for (const auto& r : rows)
        EXPECT_EQ(PreferencesWindowController::clampedTopLeft(r.stored, { 470, 300 }, screens), r.placed)
            << r.stored.x() << "," << r.stored.y();
}

// Every switch of the General, Display and Converter groups has its control,
// which follows its setting both ways.
TEST(PreferencesWindow, EverySettingHasAControlThatFollowsIt)
{
    QTemporaryDir folder;
    UserDefaults defaults(folder.filePath("prefs.conf"));
    defaults.loadRegisteredDefaults();
    NotificationCenter center;
    const ColorSpaceRegistry spaces { QStringList() };
    LazyPreferencesWindow preferences({ defaults, spaces, center, {}, {} });
    preferences.openPreferencesWindow();
    PreferencesWindowController* window = preferences.preferencesWindowController();
    ASSERT_TRUE(window);

    const QStringList switches { "showInMenu", "hideDock", "hideOnLaunch", "loginStart", "toggleShortcutKey",
                                 "floatAboveOtherApps", "sharePalettes", "showName", "showHEX", "showRGB", "showHSL",
                                 "showHSB", "showLab", "showCMYK", "showCode", "showDragView", "lowerCaseHEX",
                                 "showHexUnit", "showUnits", "useObjCSyntax" };
    for (const QString& key : switches) {
        auto* control = window->findChild<DefaultsSwitch*>(key);
        ASSERT_TRUE(control) << key.toStdString();
        const bool was = defaults.boolForKey(key);
        EXPECT_EQ(control->isChecked(), was) << key.toStdString();
        defaults.setBool(!was, key); // elsewhere: the login helper, another window
        EXPECT_EQ(control->isChecked(), !was) << key.toStdString();
        control->setEnabled(true);
        control->click();
        EXPECT_EQ(defaults.boolForKey(key), was) << key.toStdString();
    }
    auto* general = qobject_cast<GeneralPreferencesViewController*>(window->viewControllerForIdentifier("GeneralPreferences_en"));
    ASSERT_TRUE(general);
    EXPECT_FALSE(general->shortcutRecorder->isEnabled()) << "a placeholder until the recorder is plugged in";

    defaults.setBool(false, "showInMenu");
    EXPECT_FALSE(window->findChild<DefaultsSwitch*>("hideDock")->isEnabled()) << "no taskbar entry needs the tray";
}

} // namespace
