#include "AppHarness.h"

#include "app/ColorPanel.h"
#include "app/TrayIcon.h"
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
    const struct { QByteArray stored; std::array<int, 3> rgb; } rows[] = {
        { {}, { 154, 162, 248 } },
        { "not a colour", { 154, 162, 248 } },
        { ColorArchive::archive(Color::fromIntegers(10, 200, 30)), { 10, 200, 30 } },
    };
    for (const auto& row : rows) {
        AppHarness h;
        if (!row.stored.isEmpty())
            h.settings().setData(row.stored, "color_last");
        h.start();
        EXPECT_EQ(h.wellRGB(), row.rgb);
        EXPECT_TRUE(h.window().isVisible());
        if (row.stored.isEmpty()) {
            EXPECT_EQ(h.reopenedSettings()->arrayForKey("currentColors").size(), 8);
            h.waitTicks(4);
            EXPECT_TRUE(h.history.empty());
        }
    }
}

TEST(LifeCycle, HideOnLaunchKeepsTheWindowClosedOnlyAtLogin)
{
    for (const bool atLogin : { true, false }) {
        AppHarness h(HarnessSetup { .launchedAtLogin = atLogin });
        h.settings().setBool(true, "hideOnLaunch");
        h.start();
        QTest::qWait(10);
        EXPECT_EQ(h.window().isVisible(), !atLogin) << "at login: " << atLogin;
    }
}

TEST(LifeCycle, TheNextStartRestoresFrameAndColour)
{
    AppHarness h;
    h.start();
    h.window().resize(613, 447);
    h.type(h.fields().hexField, "c0ffee");
    h.window().close();
    h.restart();
    EXPECT_EQ(h.window().size(), QSize(613, 447));
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0xc0, 0xff, 0xee }));
    h.waitTicks(4);
    EXPECT_TRUE(h.history.empty()) << "a restored colour is not a new history entry";
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
            h.app().tray().quitAction->trigger();
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

TEST(LifeCycle, ColourPanelEditsTheCurrentColourOnceAFieldHasFocus)
{
    AppHarness h;
    h.start();
    QApplication::setActiveWindow(&h.window());
    h.fields().rField->setFocus();
    EXPECT_EQ(h.app().colorPanel().activeWell(), h.window().mainSwatchWell);
    h.app().colorPanel().dialog()->setCurrentColor(QColor(0, 128, 255));
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0, 128, 255 }));
    EXPECT_EQ(h.fields().hexField->text(), "#0080FF");
    // And the panel follows changes made in the window.
    h.type(h.fields().hexField, "102030");
    EXPECT_EQ(h.app().colorPanel().dialog()->currentColor(), QColor(0x10, 0x20, 0x30));
}

TEST(LifeCycle, TrayCommandsOfMissingPartsAreDisabled)
{
    AppHarness h;
    h.start();
    EXPECT_TRUE(h.app().tray().openAction->isEnabled());
    EXPECT_FALSE(h.app().tray().preferencesAction->isEnabled());
    EXPECT_FALSE(h.window().openPrefsButton->isEnabled());
    EXPECT_FALSE(h.app().tray().namesPreferencesAction->isEnabled()) << "fake names come without preferences";
}

} // namespace
