#include "../app/AppHarness.h"

#include "history/EntryMenu.h"
#include "history/HistorySwatchView.h"
#include "history/TitleSeparator.h"
#include "settings/Paths.h"
#include "swatches/CurrentColors.h"

#include <QDir>
#include <QFontDatabase>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QWidgetAction>

#include <gtest/gtest.h>

namespace {

QList<QAction*> entries(const QMenu* menu)
{
    QList<QAction*> found;
    for (QAction* action : menu->actions())
        if (EntryMenu::isEntry(action))
            found << action;
    return found;
}

QString title(const QString& name, const QString& code)
{
    return name + titleSeparator(QApplication::font("QMenu")) + code;
}

class HistoryMenuTest : public testing::Test
{
protected:
    void SetUp() override { h.start(); }

    // Records `count` entries on `day`, a minute apart from 9:00, colours
    // (0, 0, n) for a running n, with `swatches` as the column.
    void record(const QDate& day, int count, const QList<AppHarness::Code>& swatches = {})
    {
        const QDateTime now = h.clock;
        h.setStored(swatches);
        for (int i = 0; i < count; ++i) {
            h.clock = QDateTime(day, QTime(9, 0)).addSecs(60 * i);
            h.store().saveHistoryItem(Color::fromIntegersSingle(0, 0, ++recorded));
        }
        h.store().waitForPendingSaves();
        h.clock = now;
    }

    QMenu* open()
    {
        QMenu* menu = h.app().historyMenu().menu();
        Q_EMIT menu->aboutToShow();
        return menu;
    }

    // The items of `menu` in order: runs of entries as "entry x N",
    // separators as "-", the rest by their text, with "(off)" when disabled.
    static QStringList shape(const QMenu* menu)
    {
        QStringList items;
        int run = 0;
        for (const QAction* action : menu->actions()) {
            if (!EntryMenu::isEntry(action))
                run = 0;
            else if (run++)
                items.removeLast();
            if (run)
                items << QStringLiteral("entry x%1").arg(run);
            else
                items << (action->isSeparator() ? "-" : action->text() + (action->isEnabled() ? "" : " (off)"));
        }
        return items;
    }

    static QMenu* submenu(const QMenu* menu, const QString& title)
    {
        for (QAction* action : menu->actions())
            if (action->menu() && action->text() == title)
                return action->menu();
        return nullptr;
    }

    static QString day(int daysAgo) { return DayFormat::dayString(AppHarness::today.addDays(-daysAgo)); }

    const QDate today = AppHarness::today;
    AppHarness h;
    int recorded = 0;
};

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
        h.store().deleteAllHistory();
        record(today, c.todayCount);
        for (int daysAgo : c.earlierDays)
            record(today.addDays(-daysAgo), 1);
        EXPECT_EQ(shape(open()), c.expected);
    }
}

// Submenus are read only when they open, and anew at each opening; clearing
// asks first and keeps the log unless confirmed.
TEST_F(HistoryMenuTest, TodayIsNewestFirstSubmenusAreFilledWhenTheyOpenAndClearingAsks)
{
    record(today.addDays(-1), 3);
    record(today.addDays(-2), 2);
    record(today, 23);
    QMenu* menu = open();
    const QList<QAction*> shown = entries(menu);
    ASSERT_EQ(shown.size(), 20);
    EXPECT_EQ(shown.first()->text(), title("c00001c", "#00001C")); // recorded last
    QMenu* earlier = submenu(menu, "Earlier Today");
    QMenu* yesterday = submenu(menu, day(1));
    QMenu* before = submenu(menu, day(2));
    ASSERT_TRUE(earlier && yesterday && before);
    EXPECT_TRUE(earlier->isEmpty() && yesterday->isEmpty() && before->isEmpty());

    // The history timer records a colour while the menu is open: the rest is
    // still what follows the twenty shown, none of them twice.
    h.clock = QDateTime(today, QTime(12, 0));
    h.store().saveHistoryItem(Color::fromIntegersSingle(0, 0, 99));
    h.store().waitForPendingSaves();
    Q_EMIT earlier->aboutToShow();
    QStringList rest;
    for (QAction* action : entries(earlier))
        rest << action->text();
    EXPECT_EQ(rest, (QStringList { title("c000008", "#000008"), title("c000007", "#000007"), title("c000006", "#000006") }));

    Q_EMIT yesterday->aboutToShow();
    EXPECT_EQ(entries(yesterday).size(), 3);
    EXPECT_EQ(entries(yesterday).first()->text(), title("c000003", "#000003"));
    EXPECT_TRUE(before->isEmpty()) << "a day the user did not open is not read";
    Q_EMIT yesterday->aboutToShow(); // hovering again adds nothing
    EXPECT_EQ(entries(yesterday).size(), 3);

    for (const bool confirm : { false, true }) {
        QAction* clear = open()->actions().last();
        QTimer::singleShot(0, qApp, [confirm] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->text(), QStringLiteral("Clear the whole history?"));
            for (QAbstractButton* button : box->buttons())
                if ((box->buttonRole(button) == QMessageBox::DestructiveRole) == confirm)
                    button->click();
        });
        clear->trigger();
        EXPECT_EQ(h.store().dateManagedObjectArray().isEmpty(), confirm) << "confirmed " << confirm;
    }
    EXPECT_EQ(shape(open()), QStringList { "Clear History... (off)" });
}

// The code as the hex field shows it; between name and code the Latin
// middle dot where the menu's font (fallbacks included) lacks the katakana
// one, instead of a box; DejaVu Sans lacks it here, Droid Sans Fallback has it.
TEST_F(HistoryMenuTest, TitlesFollowTheHexSettingsAndTheMenuFont)
{
    h.store().saveHistoryItem(Color::fromIntegersSingle(255, 0, 0));
    h.store().saveHistoryItem(Color::fromIntegersSingle(0, 0, 255));
    const QList<HistoryEntry> stored = h.entries();
    ASSERT_EQ(stored.size(), 2);
    h.settings().setBool(false, "showHexUnit");
    h.settings().setBool(true, "lowerCaseHEX");
    EXPECT_EQ(entries(open()).last()->text(), title("cff0000", "ff0000"));
    // A "&" in a name is shown, not taken for a shortcut mark.
    EXPECT_EQ(entries(open()).first()->text(), title("Black && Blue", "0000ff"));

    const QFont dejaVu(QStringLiteral("DejaVu Sans"));
    if (QFontMetrics(dejaVu).inFont(QChar(0x30FB)))
        GTEST_SKIP() << "a font of this system has U+30FB";
    const QFont menuFont = QApplication::font("QMenu");
    QApplication::setFont(dejaVu, "QMenu");
    EXPECT_EQ(h.app().historyMenu().titleForMenuItem(stored[1]), "cff0000" + QString(QChar(0x00B7)) + "ff0000");
    const int droid = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"));
    ASSERT_GE(droid, 0) << "needs fonts-droid-fallback";
    QApplication::setFont(QFont(QFontDatabase::applicationFontFamilies(droid).value(0)), "QMenu");
    EXPECT_EQ(h.app().historyMenu().titleForMenuItem(stored[1]), "cff0000" + QString(QChar(0x30FB)) + "ff0000");
    QApplication::setFont(menuFont, "QMenu");
    QFontDatabase::removeApplicationFont(droid);
}

// Return on an entry: HistoryFlow.
TEST_F(HistoryMenuTest, AnEntryItemRestoresOnClickAndPreviewsOnHover)
{
    record(today, 1, {});
    record(today, 2, { "0a141e", "28323c" });
    QSignalSpy handedOver(&h.app().currentColors(), &CurrentColors::colorsHandedOver);

    QMenu* menu = h.app().historyMenu().menu();
    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(menu->isVisible());
    QAction* first = entries(menu).first();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(first).center());
    EXPECT_EQ(handedOver.size(), 1) << "a click on an item with a submenu restores";
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(h.stored(), (QList<QString> { "0a141e", "28323c" }));

    // The preview: one strip of the entry's swatches. The restore above is
    // an entry too: the menu shows it once it is on disk.
    h.store().waitForPendingSaves();
    QMenu* preview = entries(open()).first()->menu();
    Q_EMIT preview->aboutToShow();
    ASSERT_EQ(preview->actions().size(), 1);
    auto* strip = qobject_cast<QWidgetAction*>(preview->actions().first());
    auto* view = strip ? strip->defaultWidget()->findChild<HistorySwatchView*>() : nullptr;
    ASSERT_TRUE(view);
    EXPECT_EQ(AppHarness::codes(view->colorArray()), (QList<QString> { "0a141e", "28323c" }));

    // The oldest entry had no swatches: it restores an empty column, on disk
    // for whoever reads it next.
    entries(open()).last()->trigger();
    EXPECT_EQ(handedOver.size(), 2);
    EXPECT_EQ(h.current(), QStringLiteral("000001"));
    EXPECT_TRUE(h.reopenedSettings()->hasUserValue("currentColors"));
    EXPECT_TRUE(h.stored().isEmpty());
}

// Colours left to settle become entries, one per settled colour, and none
// while the history pauses; the History menu, behind the window's button and
// in the tray, lists them, and choosing one brings back its colour and its
// swatches. Ticks come from the test, so each case is exact about how many go by.
TEST(HistoryFlow, SettledColoursComeBackFromTheHistoryMenuWithTheirSwatches)
{
    AppHarness h;
    h.startWith({ "111111", "222222" });
    h.sync().enableHistory(); // the pause after the restored colour is over
    SwatchWell& well = *h.window().mainSwatchWell;
    // Quick changes share one timer; its tick records the colour shown last.
    well.setColor(Color::fromIntegers(10, 20, 30));
    EXPECT_TRUE(h.sync().historyTimerPending());
    h.type(h.fields().hexField, "ff0000");
    h.tick();
    EXPECT_FALSE(h.sync().historyTimerPending());
    QTest::mouseClick(h.window().addButton, Qt::LeftButton); // records the column with red on top
    // A new colour object the fields have not shown yet (same values, other
    // object) waits for the next tick after they have.
    well.setColor(Color::fromIntegers(0, 255, 0));
    well.blockSignals(true);
    well.setColor(Color::fromIntegers(0, 255, 0));
    well.blockSignals(false);
    h.tick();
    h.tick();
    EXPECT_TRUE(h.sync().historyTimerPending());
    h.sync().setValuesFromSwatch();
    h.tick();
    ASSERT_EQ(h.recorded(), (QList<QString> { "ff0000", "ff0000", "00ff00" }));

    // The window's History button (Ctrl+H) opens the menu, newest first.
    QMenu* menu = h.window().historyButton->menu();
    ASSERT_TRUE(menu);
    QTimer::singleShot(0, menu, [&] {
        ASSERT_TRUE(menu->isVisible());
        const QList<QAction*> shown = entries(menu);
        ASSERT_EQ(shown.size(), 3);
        EXPECT_EQ(shown[0]->text(), title("c00ff00", "#00FF00"));
        // The first red entry, recorded before the swatch was added.
        menu->setActiveAction(shown[2]);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    h.window().activateWindow();
    QTest::keyClick(&h.window(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }, 5000));

    EXPECT_EQ(h.current(), QStringLiteral("ff0000"));
    EXPECT_EQ(h.stored(), (QList<QString> { "111111", "222222" }));
    EXPECT_EQ(h.recorded().size(), 4) << "the restore is recorded";
    EXPECT_EQ(h.recorded().last(), "ff0000");
    EXPECT_TRUE(h.app().tray().statusMenu()->actions().contains(menu->menuAction())) << "the tray has the same menu";

    // A hand-over records one entry, not two.
    h.settings().setData(ColorArchive::archive(Color::fromIntegers(200, 100, 50)), "color_last");
    h.app().reloadColorsAndSaveHistory();
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 200, 100, 50 }));
    h.settle();
    EXPECT_EQ(h.recorded().size(), 5);
    EXPECT_EQ(h.recorded().last(), "c86432");
}

// A store that cannot open is explained before the program ends; a damaged
// one is set aside, the user told where, and the program goes on afresh.
TEST(HistoryFlow, BadStoresAtStart)
{
    for (const bool damaged : { false, true }) {
        SCOPED_TRACE(damaged ? "a damaged store" : "a file where the support folder should be");
        AppHarness h;
        const QString folder = Paths::applicationSupportFolder();
        ASSERT_TRUE(put(damaged ? folder + "/Palettes.storedata" : folder, QByteArray(8192, 'x')));
        QString message, reason;
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            message = box->text();
            reason = box->informativeText();
            box->accept();
        });
        h.start();
        EXPECT_EQ(h.terminations, damaged ? 0 : 1);
        EXPECT_EQ(h.window().isVisible(), damaged) << "no window for a program that is ending";
        // The store's tests hold the reasons; here the user reads them, with the file.
        if (!damaged) {
            EXPECT_EQ(message, QStringLiteral("Failed to initialize the application's saved data"));
            EXPECT_TRUE(reason.endsWith("History store: " + folder + "/Palettes.storedata")) << reason.toStdString();
            continue;
        }
        EXPECT_EQ(message, "The history store was damaged. Huelark has started a new, empty history.");
        const QStringList kept = QDir(folder).entryList({ "Palettes-damaged-*.storedata" });
        ASSERT_EQ(kept.size(), 1);
        EXPECT_TRUE(reason.contains(folder + '/' + kept[0])) << reason.toStdString();
        EXPECT_TRUE(h.store().isOpen());
    }
}

} // namespace
