#include "AppHarness.h"

#include "colour/ColorArchive.h"

#include <gtest/gtest.h>

namespace {

// The history timer's ticks come from the test (AppHarness::tick), so every
// case is exact about how many ticks go by.
class HistoryTimer : public testing::Test
{
protected:
    void SetUp() override
    {
        h.start();
        h.sync().enableHistory(); // the pause after the restored colour is over
    }
    void pick(int r, int g, int b) { h.window().mainSwatchWell->setColor(Color::fromIntegers(r, g, b)); }
    std::vector<std::array<int, 3>> recorded() const
    {
        std::vector<std::array<int, 3>> rgb;
        for (const Color& c : h.history)
            rgb.push_back(c.integerComponents());
        return rgb;
    }
    AppHarness h;
};

TEST_F(HistoryTimer, QuickChangesShareOneTimerAndTheTickRecordsTheColourShownLastOnce)
{
    pick(10, 20, 30);
    EXPECT_TRUE(h.sync().historyTimerPending());
    pick(40, 50, 60);
    h.type(h.fields().hexField, "707172");
    h.tick();
    EXPECT_FALSE(h.sync().historyTimerPending());
    h.tick();
    h.tick();
    EXPECT_EQ(recorded(), (std::vector<std::array<int, 3>> { { 0x70, 0x71, 0x72 } }));
}

TEST_F(HistoryTimer, AChangeSinceTheLastRefreshWaitsForTheNextTick)
{
    pick(10, 20, 30);
    // A new colour object the refresh has not seen: same values, other object.
    h.window().mainSwatchWell->blockSignals(true);
    pick(10, 20, 30);
    h.window().mainSwatchWell->blockSignals(false);
    h.tick();
    h.tick();
    EXPECT_TRUE(h.history.empty());
    EXPECT_TRUE(h.sync().historyTimerPending());
    h.sync().setValuesFromSwatch();
    h.tick();
    EXPECT_EQ(recorded(), (std::vector<std::array<int, 3>> { { 10, 20, 30 } }));
}

TEST_F(HistoryTimer, HandOverRecordsOneEntryNotTwo)
{
    h.settings().setData(ColorArchive::archive(Color::fromIntegers(200, 100, 50)), "color_last");
    h.app().reloadColorsAndSaveHistory();
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 200, 100, 50 }));
    h.settle();
    EXPECT_EQ(recorded(), (std::vector<std::array<int, 3>> { { 200, 100, 50 } }));
}

} // namespace
