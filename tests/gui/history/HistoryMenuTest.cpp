// The History menu on a real store in a throw-away home: its structure for
// the shapes a log can have, titles, lazily filled day submenus, restoring
// an entry (by click, key and preview) and clearing.
#include "QtPrinters.h"
#include "TempHome.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "colour/WellColorSpace.h"
#include "history/DayFormat.h"
#include "history/EntryMenu.h"
#include "history/HistoryMenu.h"
#include "history/HistoryStore.h"
#include "history/HistorySwatchView.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidgetAction>

#include <gtest/gtest.h>

namespace {

const QDate today(2026, 12, 6);

class HistoryMenuTest : public testing::Test
{
protected:
    HistoryMenuTest()
    {
        defaults = std::make_unique<UserDefaults>(home.configHome() + "/Huelark.conf");
        defaults->loadRegisteredDefaults();
        HistoryStore::Options storeOptions;
        storeOptions.folder = home.dataHome() + "/com.quillfen.Huelark";
        storeOptions.now = [this] { return clock; };
        storeOptions.closestColorName = [](const Color& color) {
            const QString code = HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or(QString());
            return code == u"ff0000" ? QStringLiteral("Red") : code == u"0000ff" ? QStringLiteral("Black & Blue")
                                                                                  : "c" + code;
        };
        store = std::make_unique<HistoryStore>(*defaults, spaces, storeOptions);
        well = std::make_unique<WellColorSpace>(*defaults, spaces);
        colors = std::make_unique<CurrentColors>(*defaults, spaces, *well);
        HistoryMenu::Options menuOptions;
        menuOptions.today = [] { return today; };
        history = std::make_unique<HistoryMenu>(*store, *colors, *defaults, menuOptions);
    }

    // Records `count` entries on `day`, a minute apart, each colour (0, 0, n)
    // for a running n, with `swatches` as the column.
    void record(const QDate& day, int count, const QList<Color>& swatches = {})
    {
        QVariantList column;
        for (const Color& c : swatches)
            column << ColorArchive::archive(c);
        defaults->setArray(column, "currentColors");
        for (int i = 0; i < count; ++i) {
            clock = QDateTime(day, QTime(9, 0)).addSecs(60 * i);
            store->saveHistoryItem(Color::fromIntegersSingle(0, 0, ++recorded));
        }
        store->waitForPendingSaves();
    }

    QMenu* open()
    {
        Q_EMIT history->menu()->aboutToShow();
        return history->menu();
    }

    // The items of `menu` in order: entries as "entry", runs of them as
    // "entry x N", separators as "-", submenus of days by their title,
    // "Clear History..." with "(off)" when it is disabled.
    static QStringList shape(const QMenu* menu)
    {
        QStringList items;
        int run = 0;
        const auto endRun = [&] {
            if (run)
                items << (run == 1 ? QStringLiteral("entry") : QStringLiteral("entry x%1").arg(run));
            run = 0;
        };
        for (const QAction* action : menu->actions()) {
            if (EntryMenu::isEntry(action)) {
                ++run;
                continue;
            }
            endRun();
            if (action->isSeparator())
                items << "-";
            else
                items << action->text() + (action->isEnabled() ? "" : " (off)");
        }
        endRun();
        return items;
    }

    static QList<QAction*> entries(const QMenu* menu)
    {
        QList<QAction*> found;
        for (QAction* action : menu->actions())
            if (EntryMenu::isEntry(action))
                found << action;
        return found;
    }

    static QMenu* submenu(const QMenu* menu, const QString& title)
    {
        for (QAction* action : menu->actions())
            if (action->menu() && action->text() == title)
                return action->menu();
        return nullptr;
    }

    TempHome home;
    const ColorSpaceRegistry spaces { QStringList {} };
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<HistoryStore> store;
    std::unique_ptr<WellColorSpace> well;
    std::unique_ptr<CurrentColors> colors;
    std::unique_ptr<HistoryMenu> history;
    QDateTime clock;
    int recorded = 0;
};

QString day(int daysAgo)
{
    return DayFormat::dayString(today.addDays(-daysAgo));
}

TEST_F(HistoryMenuTest, StructureFollowsTheShapeOfTheLog)
{
    struct Case { const char* what; int todayCount; QList<int> earlierDays /* days ago, one entry each */; QStringList expected; };
    const QList<Case> cases {
        { "an empty log", 0, {}, { "Clear History... (off)" } },
        { "exactly twenty today", 20, {}, { "entry x20", "-", "Clear History..." } },
        { "twenty-one today", 21, {}, { "entry x20", "-", "Earlier Today", "-", "Clear History..." } },
        { "none today, older days latest first", 0, { 40, 1, 3 },
          { day(1), day(3), day(40), "-", "Clear History..." } },
        { "days right after today's entries", 2, { 2, 1 }, { "entry x2", day(1), day(2), "-", "Clear History..." } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store->deleteAllHistory();
        record(today, c.todayCount);
        for (int daysAgo : c.earlierDays)
            record(today.addDays(-daysAgo), 1);
        EXPECT_EQ(shape(open()), c.expected);
    }
}

TEST_F(HistoryMenuTest, TodayIsNewestFirstAndEarlierTodayHoldsTheRestInOrder)
{
    record(today, 23);
    QMenu* menu = open();
    const QList<QAction*> shown = entries(menu);
    ASSERT_EQ(shown.size(), 20);
    EXPECT_EQ(shown.first()->text(), QStringLiteral("c000017・#000017")); // the 23rd, recorded last
    EXPECT_EQ(shown.last()->text(), QStringLiteral("c000004・#000004"));
    QMenu* earlier = submenu(menu, "Earlier Today");
    ASSERT_TRUE(earlier);
    EXPECT_TRUE(earlier->isEmpty()) << "filled before it opens";
    // The history timer records a colour while the menu is open: the rest is
    // still what follows the twenty shown, none of them twice.
    clock = QDateTime(today, QTime(12, 0));
    store->saveHistoryItem(Color::fromIntegersSingle(0, 0, 99));
    store->waitForPendingSaves();
    Q_EMIT earlier->aboutToShow();
    QStringList rest;
    for (QAction* action : entries(earlier))
        rest << action->text();
    EXPECT_EQ(rest, (QStringList { "c000003・#000003", "c000002・#000002", "c000001・#000001" }));
}

TEST_F(HistoryMenuTest, DaySubmenusAreFilledOnlyWhenTheyOpenAndRebuiltEachOpening)
{
    record(today.addDays(-1), 3);
    record(today.addDays(-2), 2);
    QMenu* menu = open();
    QMenu* yesterday = submenu(menu, day(1));
    QMenu* before = submenu(menu, day(2));
    ASSERT_TRUE(yesterday && before);
    EXPECT_TRUE(yesterday->isEmpty());
    EXPECT_TRUE(before->isEmpty());

    Q_EMIT yesterday->aboutToShow();
    EXPECT_EQ(entries(yesterday).size(), 3);
    EXPECT_EQ(entries(yesterday).first()->text(), QStringLiteral("c000003・#000003"));
    EXPECT_TRUE(before->isEmpty()) << "a day the user did not open is not read";
    Q_EMIT yesterday->aboutToShow(); // hovering again adds nothing
    EXPECT_EQ(entries(yesterday).size(), 3);

    // The next opening shows what was recorded since.
    record(today, 1);
    EXPECT_EQ(shape(open()), (QStringList { "entry", day(1), day(2), "-", "Clear History..." }));
}

TEST_F(HistoryMenuTest, TitlesFollowTheHexSettings)
{
    clock = QDateTime(today, QTime(10, 0));
    store->saveHistoryItem(Color::fromIntegersSingle(255, 0, 0));
    clock = clock.addSecs(1);
    store->saveHistoryItem(Color::fromIntegersSingle(0, 0, 255));
    store->waitForPendingSaves();
    const QList<HistoryEntry> stored = store->historyForDateObjects(DayFormat::dayString(today));
    ASSERT_EQ(stored.size(), 2);
    const HistoryEntry& red = stored[1];

    struct Case { bool showHexUnit, lowerCaseHEX; QString title; };
    for (const Case& c : { Case { true, false, "Red・#FF0000" }, Case { false, true, "Red・ff0000" } }) {
        defaults->setBool(c.showHexUnit, "showHexUnit");
        defaults->setBool(c.lowerCaseHEX, "lowerCaseHEX");
        EXPECT_EQ(history->titleForMenuItem(red), c.title) << c.showHexUnit << c.lowerCaseHEX;
        EXPECT_EQ(entries(open()).last()->text(), c.title);
    }
    // A "&" in a name is shown, not taken for a shortcut mark.
    EXPECT_EQ(history->titleForMenuItem(stored[0]), QStringLiteral("Black & Blue・0000ff"));
    EXPECT_EQ(entries(open()).first()->text(), QStringLiteral("Black && Blue・0000ff"));
}

// HistoryFlow restores an entry with swatches through the whole program.
TEST_F(HistoryMenuTest, AnEntryWithoutSwatchesRestoresAnEmptyColumn)
{
    record(today, 1, {});
    QSignalSpy handedOver(colors.get(), &CurrentColors::colorsHandedOver);
    entries(open()).first()->trigger();
    EXPECT_EQ(handedOver.size(), 1);
    EXPECT_TRUE(defaults->hasUserValue("currentColors"));
    EXPECT_TRUE(defaults->arrayForKey("currentColors").isEmpty());
    // The hand-over is on disk for whoever reads it next.
    EXPECT_TRUE(UserDefaults(defaults->filePath()).arrayForKey("currentColors").isEmpty());
}

TEST_F(HistoryMenuTest, AnEntryItemRestoresOnClickOrReturnAndPreviewsOnHover)
{
    record(today, 2, { Color::fromIntegersSingle(10, 20, 30), Color::fromIntegersSingle(40, 50, 60) });
    QSignalSpy handedOver(colors.get(), &CurrentColors::colorsHandedOver);

    QMenu* menu = history->menu();
    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QAction* first = entries(menu).first();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(first).center());
    EXPECT_EQ(handedOver.size(), 1) << "a click on an item with a submenu restores";
    EXPECT_FALSE(menu->isVisible());

    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(entries(menu).last());
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(handedOver.size(), 2);
    EXPECT_EQ(ColorArchive::unarchive(defaults->dataForKey("color_last"), spaces)->integerComponents(),
              (std::array<int, 3> { 0, 0, 1 }));

    // Once the entry's preview is open, Qt hands the release of a click on
    // the entry to the preview; it still restores the entry.
    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(entries(menu).first());
    QTest::keyClick(menu, Qt::Key_Right);
    QMenu* opened = entries(menu).first()->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened->isVisible(); }, 2000));
    const QPoint onEntry = menu->mapToGlobal(menu->actionGeometry(entries(menu).first()).center());
    QMouseEvent release(QEvent::MouseButtonRelease, opened->mapFromGlobal(onEntry), onEntry, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(opened, &release);
    EXPECT_EQ(handedOver.size(), 3);
    EXPECT_FALSE(menu->isVisible());

    // The preview: one strip of the entry's swatches, itself a way back.
    menu->popup(QPoint(100, 100));
    QMenu* preview = entries(menu).first()->menu();
    ASSERT_TRUE(preview);
    Q_EMIT preview->aboutToShow();
    ASSERT_EQ(preview->actions().size(), 1);
    auto* strip = qobject_cast<QWidgetAction*>(preview->actions().first());
    ASSERT_TRUE(strip);
    auto* view = strip->defaultWidget()->findChild<HistorySwatchView*>();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->colorArray().size(), 2);
    EXPECT_EQ(view->colorArray()[1].integerComponents(), (std::array<int, 3> { 40, 50, 60 }));
    view->resize(view->sizeHint());
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(handedOver.size(), 4);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(HistoryMenuTest, ClearingAsksFirstAndKeepsTheLogUnlessConfirmed)
{
    record(today, 2);
    record(today.addDays(-1), 1);
    for (const bool confirm : { false, true }) {
        QAction* clear = open()->actions().last();
        ASSERT_EQ(clear->text(), QStringLiteral("Clear History..."));
        QTimer::singleShot(0, qApp, [confirm] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->text(), QStringLiteral("Clear the whole history?"));
            for (QAbstractButton* button : box->buttons())
                if ((box->buttonRole(button) == QMessageBox::DestructiveRole) == confirm)
                    button->click();
        });
        clear->trigger();
        EXPECT_EQ(store->dateManagedObjectArray().isEmpty(), confirm);
    }
    EXPECT_EQ(shape(open()), QStringList { "Clear History... (off)" });
}

TEST(HistoryMenuImages, ChipsAreRoundedSixteenPixelSquaresAtEveryScale)
{
    for (const qreal ratio : { 1.0, 1.5, 2.0, 3.0 }) {
        const QImage chip = HistoryMenu::chipImage(QColor(200, 30, 90), ratio);
        const int side = int(std::round(16 * ratio));
        SCOPED_TRACE(ratio);
        EXPECT_EQ(chip.size(), QSize(side, side));
        EXPECT_EQ(chip.devicePixelRatio(), ratio);
        EXPECT_EQ(chip.pixelColor(side / 2, side / 2), QColor(200, 30, 90));
        EXPECT_EQ(chip.pixelColor(side / 2, 0), QColor(200, 30, 90)) << "straight edges reach the border";
        for (const QPoint corner : { QPoint(0, 0), QPoint(side - 1, 0), QPoint(0, side - 1), QPoint(side - 1, side - 1) })
            EXPECT_EQ(chip.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
        // A smoothed edge: on the arc, neither clear nor solid.
        const int onArc = int(std::floor(4 * ratio * (1 - 1 / std::sqrt(2.0))));
        const int alpha = chip.pixelColor(onArc, onArc).alpha();
        EXPECT_GT(alpha, 0);
        EXPECT_LT(alpha, 255);
    }
}

} // namespace
