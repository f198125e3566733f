#include "AppHarness.h"

#include "names/AutoCompleteTextField.h"

#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QStringList texts(const std::vector<ValueField*>& fields)
{
    QStringList result;
    for (ValueField* field : fields)
        result << field->text();
    return result;
}

class FieldTyping : public testing::Test
{
protected:
    void SetUp() override { h.start(); }
    AppHarness h;
};

// The arithmetic and the code forms are the core's; here the fields show the
// window's colour and typing into one rewrites the others.
TEST_F(FieldTyping, TypingIntoOneNotationRewritesTheOthers)
{
    const NotationFields& f = h.fields();
    const auto rgb = [&] { return texts({ f.rField, f.gField, f.bField }); };
    h.type(f.hexField, "#");
    EXPECT_EQ(rgb(), QStringList({ "154", "162", "248" })) << "not a colour yet: the start colour's";
    h.type(f.rField, "025");
    EXPECT_EQ(rgb(), QStringList({ "25", "162", "248" })) << "rewritten as it is typed";
    EXPECT_EQ(f.hexField->text(), "#19A2F8");
    for (ValueField* field : { f.cField, f.mField, f.yField, f.kField })
        h.type(field, field == f.cField || field == f.kField ? "0" : "100");
    EXPECT_EQ(f.hexField->text(), "#FF0000");
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.lHSLField }), QStringList({ "0°", "100%", "50%" }));
    h.type(f.hexField, "00ff00");
    EXPECT_EQ(rgb(), QStringList({ "0", "255", "0" }));
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0, 255, 0 }));

    // The core's rule tables have every row; these prove the fields use them.
    h.type(f.rField, "256");
    EXPECT_EQ(f.rField->text(), "25");
    h.type(f.hexField, "#abcdef0");
    EXPECT_EQ(f.hexField->text(), "#abcdef");
    const QString lightness = f.lHSLField->text();
    h.type(f.lHSLField, "%");
    EXPECT_EQ(f.lHSLField->text(), lightness) << "refused: the text stays as it was";
}

// A valid text is applied at every keystroke and tidied when editing ends,
// also by closing the window; an emptied field shows the value again, not a
// lone unit.
TEST_F(FieldTyping, TextIsAppliedWhileTypedAndTidiedWhenEditingEnds)
{
    const NotationFields& f = h.fields();
    const struct { bool showUnits; ValueField* field; QString typed; std::optional<std::array<int, 3>> rgb; QString tidied; } rows[] = {
        { true, f.hexField, "12", { { 0, 0, 18 } }, "12" },
        { true, f.hexField, "abc", { { 170, 187, 204 } }, "#AABBCC" },
        { true, f.sHSLField, "40", {}, "40%" },
        { false, f.hHSLField, "12°", {}, "12" },
        { true, f.hHSLField, "", {}, "0°" },
        { true, f.lHSLField, "", { { 0, 0, 0 } }, "0%" }, // read as 0 while empty: black
        { true, f.hexField, "", { { 0, 0, 0 } }, "#000000" },
    };
    for (const auto& row : rows) {
        const std::string what = row.field->accessibleName().toStdString() + " <- " + row.typed.toStdString();
        h.settings().setBool(row.showUnits, "showUnits");
        h.type(row.field, row.typed);
        if (row.typed.isEmpty())
            QTest::keyClick(row.field, Qt::Key_Backspace);
        EXPECT_EQ(row.field->text(), row.typed) << what;
        if (row.rgb) {
            EXPECT_EQ(h.wellRGB(), *row.rgb) << what;
        }
        QTest::keyClick(row.field, Qt::Key_Return);
        EXPECT_EQ(row.field->text(), row.tidied) << what;
    }
    h.type(f.hHSBField, "90");
    f.hHSBField->setFocus();
    h.window().close();
    EXPECT_EQ(f.hHSBField->text(), "90°") << "closing the window ends the edit";
}

TEST_F(FieldTyping, DisplaySettingsAndLightnessRestyleEveryFieldAtOnce)
{
    const NotationFields& f = h.fields();
    h.settings().setBool(false, "showHexUnit");
    h.settings().setBool(true, "lowerCaseHEX");
    EXPECT_EQ(f.hexField->text(), "9aa2f8");
    h.settings().setBool(false, "showUnits");
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.kField }), QStringList({ "235", "87", "3" }));
    h.settings().setBool(true, "useObjCSyntax");
    EXPECT_EQ(f.nsColorField->text(), "[NSColor colorWithRed:154/255.0 green:162/255.0 blue:248/255.0 alpha:1.0]");

    // Light text below lightness 55 (grey 136 is 56, grey 126 is 53), in
    // every field at once.
    for (const int grey : { 136, 126 }) {
        h.window().mainSwatchWell->setColor(Color::fromIntegers(grey, grey, grey));
        const QColor text = grey == 136 ? QColor(51, 51, 51, 204) : QColor(255, 255, 255, 204);
        h.window().nameField()->repaint(); // the name follows when it is drawn
        for (ValueField* field : std::initializer_list<ValueField*> { f.hexField, f.rField, f.kField, h.window().nameField() })
            EXPECT_EQ(field->palette().color(QPalette::Text), text) << grey << field->accessibleName().toStdString();
        EXPECT_EQ(h.window().showsLightText(), grey == 126);
    }
}

// Profiles that Debian installs with colord-data and libgs-common. Whatever
// a field shows, typed back, gives the same colour in the window's space.
TEST_F(FieldTyping, ColourSpaceSettingsTakeEffectAtOnceAndFieldsReadTheWindowsOwnSpace)
{
    const NotationFields& f = h.fields();
    const QStringList defaultRGB { "154", "162", "248" };
    const ColorSpaceRegistry registry;
    const QString adobe = QStringLiteral("Compatible with Adobe RGB (1998)");
    if (!registry.spaceNamed(adobe) || registry.cmykSpaces().size() < 2)
        GTEST_SKIP() << "needs colord-data and libgs-common";

    const QStringList genericCMYK = texts({ f.cField, f.mField, f.yField, f.kField });
    h.settings().setString(registry.cmykSpaces()[1]->name(), "CMYKcolorSpace");
    EXPECT_NE(texts({ f.cField, f.mField, f.yField, f.kField }), genericCMYK);
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), defaultRGB);

    h.settings().setString(adobe, "colorSpace");
    EXPECT_NE(texts({ f.rField, f.gField, f.bField }), defaultRGB) << "the same colour has other numbers in Adobe RGB";
    h.settings().setBool(false, "showUnits");
    const struct { std::vector<ValueField*> fields; QStringList typed; QStringList rgb; } rows[] = {
        { { f.hexField }, { "#FF0000" }, { "255", "0", "0" } },
        { { f.rField, f.gField, f.bField }, { "255", "0", "0" }, { "255", "0", "0" } },
        { { f.hHSLField, f.sHSLField, f.lHSLField }, { "0", "100", "50" }, { "255", "0", "0" } },
        { { f.hHSBField, f.sHSBField, f.bHSBField }, { "0", "100", "100" }, { "255", "0", "0" } },
        { { f.lLabField, f.aLabField, f.bLabField }, { "53", "80", "67" }, { "254", "0", "0" } },
    };
    for (const auto& row : rows) {
        h.type(f.hexField, "123456");
        for (size_t i = 0; i < row.fields.size(); ++i)
            h.type(row.fields[i], row.typed[qsizetype(i)]);
        // Shown afresh from the colour the window now holds.
        h.sync().setValuesFromSwatch();
        EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), row.rgb) << row.typed.join(' ').toStdString();
        if (row.fields[0] != f.lLabField) { // Lab's rounding moves red to 254
            EXPECT_EQ(texts(row.fields), row.typed) << row.typed.join(' ').toStdString();
        }
    }
}

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
