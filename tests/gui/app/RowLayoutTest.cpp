#include "AppHarness.h"

#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QList<QWidget*> rowsIn(QVBoxLayout* stack)
{
    QList<QWidget*> rows;
    for (int i = 0; i < stack->count(); ++i)
        rows << stack->itemAt(i)->widget();
    return rows;
}

// Squeezed to nothing, every row keeps the room its fields need, so none is
// drawn over another and no code line is cut.
TEST(RowLayout, CodeRowPlacementFollowsTheNumberOfRowsAndTheWindowCannotBeSqueezedBelowThem)
{
    enum Place { bottom, side, none };
    const struct { const char* name; std::array<bool, 8> shown; int rows; Place code; } cases[] = {
        { "four and code", { true, true, true, true, false, false, false, true }, 4, side },
        { "five and code", { false, true, true, true, true, true, false, true }, 5, bottom },
        { "four, no code", { false, false, false, true, true, true, true, false }, 4, none },
    };
    for (const auto& c : cases) {
        AppHarness h;
        for (size_t i = 0; i < 8; ++i)
            h.settings().setBool(c.shown[i], MainWindow::rowKeys[i]);
        h.start();
        MainWindow& w = h.window();
        EXPECT_EQ(rowsIn(w.mainStackView).size(), c.rows) << c.name;
        EXPECT_EQ(rowsIn(w.codeBottomStackView).contains(w.codeContainerView), c.code == bottom) << c.name;
        EXPECT_EQ(rowsIn(w.codeStackView).contains(w.codeContainerView), c.code == side) << c.name;
        EXPECT_EQ(w.mainStackViewCenterConstraint, c.code == none) << c.name;
        EXPECT_EQ(w.codeContainerView->isVisible(), c.code != none) << c.name;
        w.resize(1, 1);
        QCoreApplication::processEvents();
        for (QWidget* row : rowsIn(w.mainStackView) + rowsIn(w.codeStackView) + rowsIn(w.codeBottomStackView)) {
            EXPECT_GE(row->height(), row->minimumSizeHint().height()) << c.name;
            EXPECT_GE(row->width(), row->minimumSizeHint().width()) << c.name;
        }
    }
}

// Rows follow their keys at once, and the swatches refill the column at the
// window's new height.
TEST(RowLayout, RowsFollowTheirKeysInOrderAndChangeAtOnce)
{
    AppHarness h;
    h.startWith({ "111111", "222222", "333333" });
    MainWindow& w = h.window();
    const auto swatchesFillTheColumn = [&] {
        int filled = 0;
        for (int row = 0; row < 3; ++row)
            filled += h.table().rowHeight(row);
        return filled == h.table().height();
    };
    EXPECT_EQ(rowsIn(w.mainStackView),
              (QList<QWidget*> { w.nameContainerView, w.hexContainerView, w.rgbContainerView, w.hslContainerView,
                                 w.hsbContainerView, w.labContainerView, w.cmykContainerView }));
    EXPECT_TRUE(rowsIn(w.codeBottomStackView).contains(w.codeContainerView)) << "seven rows: code below";
    EXPECT_TRUE(swatchesFillTheColumn());
    const int columnHeight = h.column().height();
    h.settings().setBool(false, "showHEX");
    h.settings().setBool(false, "showHSB");
    h.settings().setBool(false, "showLab");
    EXPECT_EQ(rowsIn(w.mainStackView),
              (QList<QWidget*> { w.nameContainerView, w.rgbContainerView, w.hslContainerView, w.cmykContainerView }));
    EXPECT_FALSE(w.hexContainerView->isVisible());
    EXPECT_TRUE(rowsIn(w.codeStackView).contains(w.codeContainerView));
    w.resize(w.width(), w.sizeHint().height());
    QCoreApplication::processEvents();
    EXPECT_LT(h.column().height(), columnHeight);
    EXPECT_TRUE(swatchesFillTheColumn());
    // Hidden rows keep following the colour, ready to come back.
    h.type(h.fields().rField, "0");
    h.settings().setBool(true, "showHEX");
    EXPECT_EQ(h.fields().hexField->text(), "#00A2F8");
    EXPECT_TRUE(w.hexContainerView->isVisible());
}

} // namespace
