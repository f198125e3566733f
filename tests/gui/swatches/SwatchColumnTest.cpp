#include "../app/AppHarness.h"

#include "palettes/ColorListStore.h"
#include "swatches/SwatchCellView.h"
#include "swatches/SwatchDragData.h"

#include <QCursor>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

const QList<QString> five { "111111", "222222", "333333", "444444", "555555" };

class SwatchColumnTest : public testing::Test
{
protected:
    AppHarness h;
};

// A walk through a column of five: rows share its height, swatches are
// dragged within it and out of it, chosen with the mouse and the keyboard.
// Up to eight swatches share the column, the last taking what is left;
// rows never go below 25 px, and then the table scrolls.
TEST_F(SwatchColumnTest, AColumnOfFiveFromTheMouseAndTheKeyboard)
{
    h.startWith(five);
    h.column().setFixedHeight(203); // five rows of 40 px, the last 43
    QCoreApplication::processEvents();
    EXPECT_EQ(h.table().rowHeight(0), 40);
    EXPECT_EQ(h.table().rowHeight(4), 43) << "the last takes what is left";

    // Into a gap: the swatch moves there, and the new order is recorded.
    struct Case { int from, gap; QList<QString> order; };
    for (const Case& c : {
             Case { 0, 3, { "222222", "333333", "111111", "444444", "555555" } },
             Case { 0, 5, { "333333", "111111", "444444", "555555", "222222" } },
             Case { 4, 0, { "222222", "333333", "111111", "444444", "555555" } },
         }) {
        std::unique_ptr<QMimeData> data(h.column().tableViewPasteboardWriterForRow(c.from));
        ASSERT_TRUE(data);
        EXPECT_TRUE(h.drop(data.get(), h.gapPoint(c.gap)));
        EXPECT_EQ(h.stored(), c.order) << "from " << c.from << " to gap " << c.gap;
        EXPECT_EQ(AppHarness::codes(h.entries().value(0).colors), c.order) << "recorded";
    }

    // Out of the window: thrown away.
    const auto dragRow = [&](int row, const QPoint& releasedAt) {
        // The offscreen platform ends every drag at once with no taker, at
        // the pointer's position.
        QCursor::setPos(releasedAt);
        QWidget* viewport = h.table().viewport();
        const QPoint start(20, h.table().rowViewportPosition(row) + 10);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        // The first move beyond the drag distance arms the drag, the next starts it.
        for (const int y : { 20, 30 }) {
            QMouseEvent move(QEvent::MouseMove, start + QPoint(0, y), viewport->mapToGlobal(start + QPoint(0, y)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, start + QPoint(0, 30));
    };
    const QList<QString> order { "222222", "333333", "111111", "444444", "555555" };
    dragRow(2, h.window().frameGeometry().center());
    EXPECT_EQ(h.stored(), order) << "let go over the window: kept";
    dragRow(2, h.window().frameGeometry().bottomRight() + QPoint(300, 300));
    EXPECT_EQ(h.stored(), (QList<QString> { "222222", "333333", "444444", "555555" }));
    // Taken by another program: kept.
    h.column().tableViewDraggingSessionEndedAtPoint(0, Qt::CopyAction, QPoint(-5000, -5000));
    EXPECT_EQ(h.stored().size(), 4);

    // Chosen, a swatch is the current colour and recorded.
    QTest::mouseClick(h.table().viewport(), Qt::LeftButton, {}, QPoint(10, h.table().rowViewportPosition(2) + 10));
    EXPECT_EQ(h.current(), QStringLiteral("444444"));
    EXPECT_EQ(h.recorded().last(), "444444");
    EXPECT_TRUE(h.column().cellAt(2)->isCurrent());

    // The keyboard: Down picks the next, Ctrl+Up moves it, Delete removes it.
    h.table().setFocus();
    QTest::keyClick(&h.table(), Qt::Key_Down);
    EXPECT_EQ(h.current(), QStringLiteral("555555"));
    QTest::keyClick(&h.table(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(h.stored(), (QList<QString> { "222222", "333333", "555555", "444444" }));
    QTest::keyClick(&h.table(), Qt::Key_Delete);
    EXPECT_EQ(h.stored(), (QList<QString> { "222222", "333333", "444444" }));

    // Data that is not a colour shows, is chosen and is recorded as one dark
    // grey, and stays in the column as it was.
    h.settings().setArray({ QByteArray("not a colour"), ColorArchive::archive(Color::fromIntegers(1, 1, 1)) },
                            "currentColors");
    h.column().reloadSwatches();
    QCoreApplication::processEvents();
    EXPECT_EQ(h.column().cellAt(0)->color(), QColor(45, 52, 65));
    QTest::mouseClick(h.table().viewport(), Qt::LeftButton, {}, QPoint(10, h.table().rowViewportPosition(0) + 10));
    EXPECT_EQ(h.current(), QStringLiteral("2d3441"));
    EXPECT_EQ(h.recorded().last(), "2d3441");
    EXPECT_EQ(h.stored(), (QList<QString> { "unreadable", "010101" }));

    h.setStored(five + QList<QString> { "666666", "777777", "888888", "999999" });
    h.column().reloadSwatches();
    QCoreApplication::processEvents();
    for (int row = 0; row < 9; ++row)
        EXPECT_EQ(h.table().rowHeight(row), 25) << row;
    EXPECT_GT(h.table().verticalScrollBar()->maximum(), 0) << "nine rows of 25 px do not fit in 203 px";
}

// Colours from other programs go on top, once each. Keeping only the top
// swatch keeps the current colour; the command is also in the tray's menu,
// off with one swatch left.
TEST_F(SwatchColumnTest, ColoursFromOtherProgramsGoOnTopAndKeepingTheTopKeepsTheCurrentColour)
{
    h.startWith(five);
    // Colour data for a QColor, text for a string.
    const auto mime = [](const QVariant& value) {
        auto data = std::make_unique<QMimeData>();
        if (value.typeId() == QMetaType::QColor)
            data->setColorData(value);
        else
            data->setText(value.toString());
        return data;
    };
    EXPECT_TRUE(h.drop(mime(QColor(0x0a, 0x0b, 0x0c)).get(), h.gapPoint(3)));
    EXPECT_EQ(h.stored().first(), QStringLiteral("0a0b0c")) << "at the top whatever the gap";
    EXPECT_FALSE(h.drop(mime(QColor(0x44, 0x44, 0x44)).get(), h.gapPoint(0))) << "already a swatch";
    EXPECT_FALSE(h.drop(mime(QString(" #0A0B0C\n")).get(), h.gapPoint(0))) << "the same colour as text";
    EXPECT_TRUE(h.drop(mime(QString("#abc")).get(), h.gapPoint(1)));
    EXPECT_FALSE(h.drop(mime(QString("abc def")).get(), h.gapPoint(1))) << "a sentence is no colour";
    EXPECT_EQ(h.stored(), QList<QString>({ "aabbcc", "0a0b0c" }) + five);

    h.type(h.fields().hexField, "123456");
    QAction* keepTop = h.app().commands().action(WindowCommand::KeepOnlyTopSwatch);
    ASSERT_TRUE(h.app().tray().statusMenu()->actions().contains(keepTop));
    Q_EMIT h.app().tray().statusMenu()->aboutToShow();
    ASSERT_TRUE(keepTop->isEnabled());
    keepTop->trigger();
    Q_EMIT h.app().tray().statusMenu()->aboutToShow();
    EXPECT_FALSE(keepTop->isEnabled());
    EXPECT_EQ(h.stored(), QList<QString> { "aabbcc" });
    EXPECT_EQ(h.column().swatchCount(), 1);
    EXPECT_EQ(h.current(), QStringLiteral("123456")) << "not the colour stored at the last close";
    ASSERT_FALSE(h.entries().isEmpty());
    EXPECT_EQ(AppHarness::codes(h.entries()[0].colors), QList<QString> { "aabbcc" });

    AppHarness empty;
    empty.startWith({});
    Q_EMIT empty.app().tray().statusMenu()->aboutToShow();
    ASSERT_TRUE(empty.app().commands().action(WindowCommand::KeepOnlyTopSwatch)->isEnabled());
    empty.app().commands().action(WindowCommand::KeepOnlyTopSwatch)->trigger();
    EXPECT_TRUE(empty.reopenedSettings()->hasUserValue("currentColors"));
    EXPECT_TRUE(empty.stored().isEmpty());
}

// The start colour is already a swatch at a first start: + is off from the
// first frame, so Ctrl+D cannot add it twice.
TEST_F(SwatchColumnTest, AddPutsTheCurrentColourOnTopAndIsOffWhileItIsASwatch)
{
    h.startWith({ "111111", "9aa2f8" });
    QToolButton* add = h.window().addButton;
    EXPECT_FALSE(add->isEnabled()) << "the start colour";
    QTest::keyClick(&h.window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(h.stored(), (QList<QString> { "111111", "9aa2f8" }));
    h.type(h.fields().hexField, "111111");
    EXPECT_FALSE(add->isEnabled()) << "typed, the colour of a swatch";
    h.type(h.fields().hexField, "abcdef");
    EXPECT_TRUE(add->isEnabled());

    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(h.stored(), (QList<QString> { "abcdef", "111111", "9aa2f8" })) << "stored at once";
    EXPECT_FALSE(add->isEnabled());
    ASSERT_EQ(h.recorded(), QList<QString> { "abcdef" });
    EXPECT_EQ(AppHarness::codes(h.entries()[0].colors), h.stored()) << "recorded with the new column";

    h.column().removeSwatch(0);
    EXPECT_TRUE(add->isEnabled()) << "on again once the swatch is gone";
}

// Hovering shows one small remove button, in the swatch's corner; the last
// swatch cannot go by any way.
TEST_F(SwatchColumnTest, HoverShowsOneRemoveButtonAndTheLastSwatchStays)
{
    h.startWith({ "111111", "222222" });
    const auto removeShown = [&](int row) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(h.column().cellAt(row), &enter);
        return h.column().cellAt(row)->removeButton->isVisibleTo(h.column().cellAt(row));
    };
    EXPECT_TRUE(removeShown(1));
    EXPECT_FALSE(h.column().cellAt(0)->removeButton->isVisibleTo(h.column().cellAt(0)));
    EXPECT_TRUE(removeShown(0));
    EXPECT_FALSE(h.column().cellAt(1)->removeButton->isVisibleTo(h.column().cellAt(1)));
    // The middle of a swatch picks it.
    const SwatchCellView* cell = h.column().cellAt(0);
    EXPECT_EQ(cell->childAt(cell->rect().center()), nullptr);

    QTest::mouseClick(h.column().cellAt(0)->removeButton, Qt::LeftButton);
    EXPECT_EQ(h.stored(), QList<QString> { "222222" });
    EXPECT_FALSE(removeShown(0));
    EXPECT_EQ(h.column().tableViewPasteboardWriterForRow(0), nullptr) << "nothing to drag";
    h.column().removeSwatch(0);
    h.column().tableViewDraggingSessionEndedAtPoint(0, Qt::IgnoreAction, QPoint(-5000, -5000));
    h.table().setFocus();
    h.table().setCurrentIndex(h.table().model()->index(0, 0));
    QTest::keyClick(&h.table(), Qt::Key_Delete);
    EXPECT_EQ(h.stored(), QList<QString> { "222222" });
}

// Saving the column as a palette is the palettes window's walk; here the
// column compares colour sets, so a list of its colours in another order
// counts as saved.
TEST(SwatchColumn, SaveAsPaletteIsOffWhenTheseColoursAreAlreadyAList)
{
    AppHarness h(HarnessSetup { .palettes = true });
    h.startWith({ "010203", "040506" });
    QToolButton* save = h.window().addPaletteButton;
    EXPECT_TRUE(save->isEnabled());
    ColorList list("Other order");
    list.setColor("a", Color::fromIntegers(4, 5, 6));
    list.setColor("b", Color::fromIntegers(1, 2, 3));
    ASSERT_EQ(h.app().appParts().colorLists->saveColorList(list), "");
    h.column().validateSwatchButtons();
    EXPECT_FALSE(save->isEnabled());

    AppHarness without; // no palettes yet: nothing to save into
    without.startWith({ "010203" });
    EXPECT_FALSE(without.window().addPaletteButton->isEnabled());
}

TEST_F(SwatchColumnTest, TheOlderSwatchKeysMoveIntoTheColumnOnce)
{
    for (int i = 1; i <= 8; ++i) {
        if (i != 4) // a key that holds nothing is skipped
            h.settings().setData(ColorArchive::archive(Color::fromIntegers(i, i, i)), QStringLiteral("color_%1").arg(i));
    }
    h.startWith(five);
    EXPECT_EQ(h.stored(), (QList<QString> { "010101", "020202", "030303", "050505", "060606", "070707", "080808" }));
    for (int i = 1; i <= 8; ++i)
        EXPECT_FALSE(h.reopenedSettings()->hasUserValue(QStringLiteral("color_%1").arg(i))) << i;

    h.setStored(five);
    h.restart();
    EXPECT_EQ(h.stored(), five) << "a later start moves nothing";
}

} // namespace
