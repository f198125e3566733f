#include "AppHarness.h"

#include "app/ColorPanel.h"
#include "app/TrayIcon.h"
#include "app/WindowCommands.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"

#include <QColorDialog>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

std::array<int, 3> storedColour(const UserDefaults& defaults)
{
    const ColorSpaceRegistry spaces;
    const std::optional<Color> color = ColorArchive::unarchive(defaults.dataForKey("color_last"), spaces);
    return color ? color->integerComponents() : std::array<int, 3> { -1, -1, -1 };
}

// The stored colour comes back (the default when there is none or it is
// unreadable); the first start stores the first-start values; a start
// records nothing.
TEST(LifeCycle, AStartRestoresTheStoredColourAndRecordsNothing)
{
    AppHarness h;
    h.start();
    auto stored = h.reopenedSettings();
    EXPECT_EQ(stored->arrayForKey("currentColors").size(), 8);
    EXPECT_EQ(stored->stringForKey("CMYKcolorSpace"), "Generic CMYK");
    EXPECT_FALSE(stored->stringForKey("userFolder").isEmpty());
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 154, 162, 248 }));
    EXPECT_TRUE(h.window().isVisible());
    h.settle();
    EXPECT_TRUE(h.history.empty());
}

TEST(LifeCycle, SecondStartKeepsStoredValuesAndRestoresTheColour)
{
    AppHarness h;
    h.settings().setArray({ ColorArchive::archive(Color::fromIntegers(1, 2, 3)) }, "currentColors");
    h.settings().setString("Some CMYK", "CMYKcolorSpace");
    h.settings().setString("/home/elsewhere", "userFolder");
    h.settings().setData(ColorArchive::archive(Color::fromIntegers(10, 200, 30)), "color_last");
    h.start();
    auto stored = h.reopenedSettings();
    EXPECT_EQ(stored->arrayForKey("currentColors").size(), 1);
    EXPECT_EQ(stored->stringForKey("CMYKcolorSpace"), "Some CMYK");
    EXPECT_EQ(stored->stringForKey("userFolder"), "/home/elsewhere");
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 10, 200, 30 }));
    EXPECT_EQ(h.fields().hexField->text(), "#0AC81E");
    h.settle();
    EXPECT_TRUE(h.history.empty());
}

TEST(LifeCycle, UnreadableStoredColourGivesTheDefault)
{
    AppHarness h;
    h.settings().setData("not a colour", "color_last");
    h.start();
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 154, 162, 248 }));
}

TEST(LifeCycle, ClosingTheWindowSavesColourAndFrameAndKeepsRunningWithTheTray)
{
    AppHarness h;
    h.start();
    h.type(h.fields().hexField, "123456");
    h.window().close();
    EXPECT_FALSE(h.window().isVisible());
    EXPECT_EQ(h.nameCacheFrees, 1);
    EXPECT_EQ(h.terminations, 0);
    auto stored = h.reopenedSettings();
    EXPECT_EQ(storedColour(*stored), (std::array<int, 3> { 0x12, 0x34, 0x56 }));
    EXPECT_FALSE(stored->dataForKey("Window Frame Huelark").isEmpty());
    h.app().toggleWindow();
    EXPECT_TRUE(h.window().isVisible());
    h.app().toggleWindow();
    EXPECT_FALSE(h.window().isVisible());
}

TEST(LifeCycle, TheFrameIsSavedWithoutClosingAndAHiddenStartLeavesItAsItWas)
{
    AppHarness h;
    h.start();
    const QRect frame(120, 90, 613, 447);
    h.window().setGeometry(frame);
    const auto stored = [&] { return h.reopenedSettings()->dataForKey("Window Frame Huelark"); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stored().isEmpty(); })) << "saved once the window is still";
    h.type(h.fields().hexField, "c0ffee");
    h.app().quitFromSysMenu();
    const QByteArray saved = stored();

    h.settings().setBool(true, "hideOnLaunch");
    h.settings().synchronize();
    h.restart(HarnessSetup { .launchedAtLogin = true });
    EXPECT_FALSE(h.window().isVisible()) << "hidden at a start at login";
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0xc0, 0xff, 0xee }));
    h.settle();
    EXPECT_TRUE(h.history.empty()) << "a restored colour is not a new history entry";
    h.app().quitFromSysMenu();
    EXPECT_EQ(stored(), saved) << "a window that was never shown keeps the frame it had";
    h.restart(HarnessSetup {});
    EXPECT_EQ(h.window().geometry(), frame);
}

TEST(LifeCycle, ShutDownPaths)
{
    enum How { close, quit, trayQuit };
    const struct { How how; bool hideDock; bool tray; bool ends; } rows[] = {
        { quit, false, true, true },
        { quit, true, true, false }, // hidden behind the tray item
        { quit, true, false, true }, // no tray item to hide behind
        { trayQuit, true, true, true }, // the tray's quit always ends
        { close, false, true, false }, // closing leaves the tray item
        { close, false, false, true }, // closing without a tray item ends too
    };
    for (const auto& row : rows) {
        AppHarness h(HarnessSetup { .trayAvailable = row.tray });
        h.settings().setBool(row.hideDock, "hideDock");
        h.start();
        EXPECT_EQ(h.app().tray().isShown(), row.tray);
        h.type(h.fields().hexField, "abcdef");
        if (row.how == trayQuit)
            h.app().commands().action(WindowCommand::QuitFromTray)->trigger();
        else if (row.how == quit)
            h.app().quit();
        else
            h.window().close();
        const std::string what = "how " + std::to_string(row.how) + " hideDock " + std::to_string(row.hideDock)
            + " tray " + std::to_string(row.tray);
        EXPECT_EQ(h.terminations, row.ends ? 1 : 0) << what;
        EXPECT_EQ(storedColour(*h.reopenedSettings()), (std::array<int, 3> { 0xab, 0xcd, 0xef })) << what;
        if (!row.ends) {
            EXPECT_FALSE(h.window().isVisible()) << what;
            EXPECT_TRUE(h.app().tray().isShown()) << what;
        }
    }
}

TEST(LifeCycle, TurningTheTrayItemOffBringsTheTaskbarEntryBack)
{
    AppHarness h;
    h.settings().setBool(true, "hideDock");
    h.start();
    EXPECT_TRUE(h.app().tray().isShown());
    EXPECT_TRUE(h.window().windowFlags().testFlag(Qt::Tool));
    h.settings().setBool(false, "showInMenu");
    EXPECT_FALSE(h.app().tray().isShown());
    EXPECT_FALSE(h.settings().boolForKey("hideDock"));
    EXPECT_FALSE(h.window().windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(h.window().isVisible());
}

TEST(LifeCycle, AClosedColourPanelStaysClosedUntilTheUserMovesToAField)
{
    AppHarness h;
    h.start();
    ColorPanel& panel = h.app().colorPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.isVisible(); })) << "the panel opens with the window";
    QApplication::setActiveWindow(&h.window());
    EXPECT_EQ(QApplication::focusWidget(), h.fields().hexField) << "a stray key must not land in the name field";
    panel.dialog()->close();
    // The window becomes active again, after a visit to another window.
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QApplication::setActiveWindow(&h.window());
    ASSERT_EQ(QApplication::focusWidget(), h.fields().hexField);
    EXPECT_FALSE(panel.isVisible());
    QTest::keyClick(h.fields().hexField, Qt::Key_Tab);
    EXPECT_TRUE(panel.isVisible()) << "the keyboard moved to another field";
    EXPECT_EQ(panel.activeWell(), h.window().mainSwatchWell);
    panel.dialog()->setCurrentColor(QColor(0, 128, 255));
    EXPECT_EQ(h.fields().hexField->text(), "#0080FF");
    h.type(h.fields().rField, "16");
    EXPECT_EQ(panel.dialog()->currentColor(), QColor(16, 128, 255)) << "and follows changes made in the window";
    panel.dialog()->close();
    QTest::mouseClick(QApplication::focusWidget(), Qt::LeftButton);
    EXPECT_TRUE(panel.isVisible()) << "a click into the field that has the focus";
}

TEST(LifeCycle, ThePanelGoesBesideTheWindowOnceTheWindowIsPlaced)
{
    TempHome home;
    ColorPanel panel;
    QWidget window;
    window.resize(200, 150);
    window.show(); // not on the screen until the window manager has placed it
    panel.orderFront(&window);
    window.move(20, 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.isVisible(); }));
    EXPECT_FALSE(panel.dialog()->frameGeometry().intersects(window.frameGeometry()));
    EXPECT_EQ(panel.dialog()->y(), window.frameGeometry().top());
}

TEST(LifeCycle, TrayCommandsOfMissingPartsAreDisabled)
{
    AppHarness h;
    h.start();
    const WindowCommands& commands = h.app().commands();
    EXPECT_TRUE(commands.action(WindowCommand::OpenWindow)->isEnabled());
    EXPECT_FALSE(commands.action(WindowCommand::Preferences)->isEnabled());
    EXPECT_FALSE(h.window().openPrefsButton->isEnabled());
    EXPECT_FALSE(commands.action(WindowCommand::NamesPreferences)->isEnabled()) << "fake names come without preferences";
}

} // namespace
