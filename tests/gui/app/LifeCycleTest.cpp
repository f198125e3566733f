#include "AppHarness.h"

#include "app/WindowFrameAutosave.h"

#include <QColorDialog>

#include <gtest/gtest.h>

namespace {

std::array<int, 3> storedColour(const UserDefaults& defaults)
{
    const ColorSpaceRegistry spaces;
    const std::optional<Color> color = ColorArchive::unarchive(defaults.dataForKey("color_last"), spaces);
    return color ? color->integerComponents() : std::array<int, 3> { -1, -1, -1 };
}

// Every way out keeps the colour and the frame; the program ends unless a
// tray item is left to come back through.
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
        const auto stored = h.reopenedSettings();
        EXPECT_EQ(storedColour(*stored), (std::array<int, 3> { 0xab, 0xcd, 0xef })) << what;
        EXPECT_FALSE(stored->dataForKey("Window Frame Huelark").isEmpty()) << what;
        if (!row.ends) {
            EXPECT_FALSE(h.window().isVisible()) << what;
            EXPECT_TRUE(h.app().tray().isShown()) << what;
            EXPECT_EQ(h.nameCacheFrees, 1) << what;
            h.app().toggleWindow();
            EXPECT_TRUE(h.window().isVisible()) << what;
        }
    }
}

// A start restores the stored colour (the default when it is unreadable) and
// records nothing; a hidden start must not move the frame it never showed.
TEST(LifeCycle, StartsRestoreTheColourAndTheFrameAndRecordNothing)
{
    AppHarness h;
    h.start();
    h.settle();
    EXPECT_EQ(h.stored().size(), 8) << "the first start's swatches";
    EXPECT_TRUE(h.recorded().isEmpty());
    const QRect frame(120, 90, 613, 447);
    h.window().setGeometry(frame);
    QCoreApplication::processEvents();
    const auto stored = [&] { return h.reopenedSettings()->dataForKey("Window Frame Huelark"); };
    h.app().frameAutosave().flush(); // the window has been still for a moment
    ASSERT_FALSE(stored().isEmpty()) << "saved once the window is still";
    h.type(h.fields().hexField, "c0ffee");
    h.app().quitFromSysMenu();
    const QByteArray saved = stored();

    h.settings().setBool(true, "hideOnLaunch");
    h.settings().synchronize();
    const QList<AppHarness::Code> before = h.recorded();
    h.restart(HarnessSetup { .launchedAtLogin = true });
    EXPECT_FALSE(h.window().isVisible()) << "hidden at a start at login";
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0xc0, 0xff, 0xee }));
    h.settle();
    EXPECT_EQ(h.recorded(), before) << "a restored colour is not a new history entry";
    h.app().quitFromSysMenu();
    EXPECT_EQ(stored(), saved) << "a window that was never shown keeps the frame it had";

    h.settings().setData("not a colour", "color_last");
    h.settings().synchronize();
    h.restart(HarnessSetup {});
    EXPECT_EQ(h.window().geometry(), frame);
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 154, 162, 248 }));
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

} // namespace
