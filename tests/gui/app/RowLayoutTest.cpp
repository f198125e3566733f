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

// Rows follow their keys at once and in order; the code row goes beside up
// to four rows, below from five. Squeezed to nothing, every row keeps the
// room its fields need, so none is drawn over another and no code line is cut.
TEST(RowLayout, RowsFollowTheirKeysAndTheWindowCannotBeSqueezedBelowThem)
{
    AppHarness h;
    h.startWith({ "111111", "222222", "333333" });
    MainWindow& w = h.window();
    enum Place { bottom, side, none };
    const auto expectLayout = [&](int rows, Place code, const char* what) {
        EXPECT_EQ(rowsIn(w.mainStackView).size(), rows) << what;
        EXPECT_EQ(rowsIn(w.codeBottomStackView).contains(w.codeContainerView), code == bottom) << what;
        EXPECT_EQ(rowsIn(w.codeStackView).contains(w.codeContainerView), code == side) << what;
        EXPECT_EQ(w.mainStackViewCenterConstraint, code == none) << what;
        EXPECT_EQ(w.codeContainerView->isVisible(), code != none) << what;
        const QSize before = w.size();
        w.resize(1, 1);
        QCoreApplication::processEvents();
        for (QWidget* row : rowsIn(w.mainStackView) + rowsIn(w.codeStackView) + rowsIn(w.codeBottomStackView)) {
            EXPECT_GE(row->height(), row->minimumSizeHint().height()) << what;
            EXPECT_GE(row->width(), row->minimumSizeHint().width()) << what;
        }
        w.resize(before);
        QCoreApplication::processEvents();
    };
    EXPECT_EQ(rowsIn(w.mainStackView),
              (QList<QWidget*> { w.nameContainerView, w.hexContainerView, w.rgbContainerView, w.hslContainerView,
                                 w.hsbContainerView, w.labContainerView, w.cmykContainerView }));
    expectLayout(7, bottom, "all");
    const int columnHeight = h.column().height();
    h.settings().setBool(false, "showHEX");
    h.settings().setBool(false, "showHSB");
    h.settings().setBool(false, "showLab");
    EXPECT_EQ(rowsIn(w.mainStackView),
              (QList<QWidget*> { w.nameContainerView, w.rgbContainerView, w.hslContainerView, w.cmykContainerView }));
    EXPECT_FALSE(w.hexContainerView->isVisible());
    expectLayout(4, side, "four and code");
    EXPECT_LT(h.column().height(), columnHeight) << "the window shrank to its new height";

    // Hidden rows keep following the colour, ready to come back.
    h.type(h.fields().rField, "0");
    h.settings().setBool(true, "showHEX");
    EXPECT_EQ(h.fields().hexField->text(), "#00A2F8");
    EXPECT_TRUE(w.hexContainerView->isVisible());
    expectLayout(5, bottom, "five and code");
    h.settings().setBool(false, "showName");
    h.settings().setBool(false, "showCode");
    expectLayout(4, none, "four, no code");
}

} // namespace
