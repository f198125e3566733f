#include "AppHarness.h"

#include "colour/ColorArchive.h"

#include <gtest/gtest.h>

namespace {

// History is off for one interval after start-up; past that every settled
// change should be recorded once.
class HistoryTimer : public testing::Test
{
protected:
    void SetUp() override
    {
        h.start();
        ASSERT_TRUE(QTest::qWaitFor([this] { return h.sync().canUpdateHistory; }, 5000));
    }
    // Waits (a generous while, for a busy machine) until `count` entries are there.
    bool recorded(size_t count)
    {
        return QTest::qWaitFor([&] { return h.history.size() >= count; }, 5000);
    }
    void pick(int r, int g, int b) { h.window().mainSwatchWell->setColor(Color::fromIntegers(r, g, b)); }
    AppHarness h;
};

// Quick changes share one timer: the colour shown last is recorded, once.
TEST_F(HistoryTimer, RecordsTheSettledColourExactlyOnce)
{
    pick(10, 20, 30);
    EXPECT_TRUE(h.sync().historyTimerPending());
    pick(40, 50, 60);
    h.type(h.fields().hexField, "707172");
    EXPECT_TRUE(recorded(1));
    h.waitTicks(4);
    ASSERT_EQ(h.history.size(), 1u);
    EXPECT_EQ(h.history[0].integerComponents(), (std::array<int, 3> { 0x70, 0x71, 0x72 }));
    EXPECT_FALSE(h.sync().historyTimerPending());
}

TEST_F(HistoryTimer, AChangeSinceTheLastRefreshWaitsForTheNextTick)
{
    pick(10, 20, 30);
    // A new colour object the refresh has not seen: same values, other object.
    h.window().mainSwatchWell->blockSignals(true);
    pick(10, 20, 30);
    h.window().mainSwatchWell->blockSignals(false);
    h.waitTicks(3);
    EXPECT_TRUE(h.history.empty());
    EXPECT_TRUE(h.sync().historyTimerPending());
    h.sync().setValuesFromSwatch();
    EXPECT_TRUE(recorded(1));
}

TEST_F(HistoryTimer, HandOverRecordsOneEntryNotTwo)
{
    h.settings().setData(ColorArchive::archive(Color::fromIntegers(200, 100, 50)), "color_last");
    h.app().reloadColorsAndSaveHistory();
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 200, 100, 50 }));
    h.waitTicks(5);
    ASSERT_EQ(h.history.size(), 1u);
    EXPECT_EQ(h.history[0].integerComponents(), (std::array<int, 3> { 200, 100, 50 }));
}

} // namespace
