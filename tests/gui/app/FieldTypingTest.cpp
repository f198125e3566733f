#include "AppHarness.h"

#include <gtest/gtest.h>

namespace {

QStringList texts(std::initializer_list<ValueField*> fields)
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

TEST_F(FieldTyping, FirstRefreshShowsTheDefaultColourEverywhere)
{
    const NotationFields& f = h.fields();
    EXPECT_EQ(f.hexField->text(), "#9AA2F8");
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "154", "162", "248" }));
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.lHSLField }), QStringList({ "235°", "87%", "79%" }));
    EXPECT_EQ(texts({ f.hHSBField, f.sHSBField, f.bHSBField }), QStringList({ "235°", "38%", "97%" }));
    EXPECT_EQ(texts({ f.lLabField, f.aLabField, f.bLabField }), QStringList({ "69", "18", "-44" }));
    EXPECT_EQ(f.nsColorField->text(), "NSColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)");
    EXPECT_EQ(f.uiColorField->text(), "UIColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)");
    EXPECT_EQ(h.sync().lightness(), 69u);
}

TEST_F(FieldTyping, HexCodeSetsTheColourAndKeepsTheTypedTextUntilEditingEnds)
{
    const NotationFields& f = h.fields();
    h.type(f.hexField, "ff0000");
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 255, 0, 0 }));
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "255", "0", "0" }));
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.lHSLField }), QStringList({ "0°", "100%", "50%" }));
    EXPECT_EQ(texts({ f.hHSBField, f.sHSBField, f.bHSBField }), QStringList({ "0°", "100%", "100%" }));
    EXPECT_EQ(texts({ f.lLabField, f.aLabField, f.bLabField }), QStringList({ "53", "80", "67" }));
    EXPECT_EQ(f.nsColorField->text(), "NSColor(red:255/255.0, green:0/255.0, blue:0/255.0, alpha:1.0)");
    EXPECT_EQ(f.hexField->text(), "ff0000");
    h.endEditing(f.hexField);
    EXPECT_EQ(f.hexField->text(), "#FF0000");
}

TEST_F(FieldTyping, EveryIntermediateHexTextThatIsValidIsApplied)
{
    const NotationFields& f = h.fields();
    const struct { QString typed; std::array<int, 3> rgb; QString tidied; } rows[] = {
        { "12", { 0, 0, 18 }, "12" },
        { "1234", { 0, 18, 52 }, "1234" },
        { "abc", { 170, 187, 204 }, "#AABBCC" },
        { "#abcdef", { 171, 205, 239 }, "#ABCDEF" },
    };
    for (const auto& row : rows) {
        h.type(f.hexField, row.typed);
        EXPECT_EQ(h.wellRGB(), row.rgb) << row.typed.toStdString();
        h.endEditing(f.hexField);
        EXPECT_EQ(f.hexField->text(), row.tidied) << row.typed.toStdString();
    }
}

TEST_F(FieldTyping, HslLightnessWithoutSaturationTruncatesToGrey127)
{
    const NotationFields& f = h.fields();
    h.type(f.sHSLField, "0");
    h.type(f.lHSLField, "50");
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "127", "127", "127" }));
    EXPECT_EQ(f.hexField->text(), "#7F7F7F");
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.lHSLField }), QStringList({ "235°", "0", "50" }));
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 127, 127, 127 }));
}

TEST_F(FieldTyping, LabEditUpdatesEveryOtherNotation)
{
    const NotationFields& f = h.fields();
    h.type(f.lLabField, "50");
    h.type(f.aLabField, "0");
    h.type(f.bLabField, "0");
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "119", "119", "119" }));
    EXPECT_EQ(f.hexField->text(), "#777777");
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.lHSLField }), QStringList({ "0°", "0%", "47%" }));
    EXPECT_EQ(texts({ f.hHSBField, f.sHSBField, f.bHSBField }), QStringList({ "0°", "0%", "47%" }));
    EXPECT_EQ(texts({ f.lLabField, f.aLabField, f.bLabField }), QStringList({ "50", "0", "0" }));
    EXPECT_EQ(f.uiColorField->text(), "UIColor(red:119/255.0, green:119/255.0, blue:119/255.0, alpha:1.0)");
    EXPECT_EQ(h.sync().lightness(), 50u);
}

TEST_F(FieldTyping, CmykEditUpdatesEverythingButTheCmykFields)
{
    const NotationFields& f = h.fields();
    h.type(f.cField, "0");
    h.type(f.mField, "100");
    h.type(f.yField, "100");
    h.type(f.kField, "0");
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "255", "0", "0" }));
    EXPECT_EQ(f.hexField->text(), "#FF0000");
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.lHSLField }), QStringList({ "0°", "100%", "50%" }));
    EXPECT_EQ(texts({ f.lLabField, f.aLabField, f.bLabField }), QStringList({ "53", "80", "67" }));
    EXPECT_EQ(texts({ f.cField, f.mField, f.yField, f.kField }), QStringList({ "0", "100", "100", "0" }));
}

TEST_F(FieldTyping, RgbFieldsAreRewrittenAsTyped)
{
    const NotationFields& f = h.fields();
    h.type(f.rField, "025");
    EXPECT_EQ(f.rField->text(), "25");
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 25, 162, 248 }));
    EXPECT_EQ(f.hexField->text(), "#19A2F8");
}

TEST_F(FieldTyping, EndOfEditingAddsOrRemovesUnits)
{
    const NotationFields& f = h.fields();
    const struct { bool showUnits; ValueField* field; QString typed; QString tidied; } rows[] = {
        { true, f.sHSLField, "40", "40%" },
        { true, f.hHSBField, "90", "90°" },
        { true, f.kField, "7", "7%" },
        { true, f.gField, "25", "25" },
        { true, f.aLabField, "-5", "-5" },
        { false, f.sHSBField, "40%", "40" },
        { false, f.hHSLField, "12°", "12" },
    };
    for (const auto& row : rows) {
        h.settings().setBool(row.showUnits, "showUnits");
        h.type(row.field, row.typed);
        h.endEditing(row.field);
        EXPECT_EQ(row.field->text(), row.tidied) << row.field->accessibleName().toStdString() << " " << row.typed.toStdString();
    }
}

TEST_F(FieldTyping, FormattersRefuseKeystrokesThatCannotBeAValue)
{
    const NotationFields& f = h.fields();
    const struct { ValueField* field; QString keys; QString kept; } rows[] = {
        { f.rField, "255", "255" },
        { f.rField, "256", "25" },
        { f.gField, "1000", "100" },
        { f.bField, "12a", "12" },
        { f.aLabField, "-128", "-128" },
        { f.aLabField, "-129", "-12" },
        { f.bLabField, "128", "12" },
        { f.bLabField, "--", "-" },
        { f.aLabField, "5-", "5" },
        { f.lLabField, "101", "10" },
        { f.sHSLField, "101", "10" },
        { f.lHSLField, "%", QString() }, // refused: the text stays as it was
        { f.cField, "100%", "100%" },
        { f.hHSBField, "361", "36" },
        { f.hHSLField, "359°", "359°" },
        { f.hexField, "#abcdef0", "#abcdef" },
        { f.hexField, "abcdef0", "abcdef" },
        { f.hexField, "ab#c", "abc" },
        { f.hexField, "##", "#" },
        { f.hexField, "12g", "12" },
    };
    for (const auto& row : rows) {
        const QString before = row.field->text();
        h.type(row.field, row.keys);
        EXPECT_EQ(row.field->text(), row.kept.isNull() ? before : row.kept) << row.field->accessibleName().toStdString() << " <- " << row.keys.toStdString();
    }
}

TEST_F(FieldTyping, InvalidHexLeavesTheColourAlone)
{
    const NotationFields& f = h.fields();
    h.type(f.hexField, "#");
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 154, 162, 248 }));
    EXPECT_EQ(f.rField->text(), "154");
    EXPECT_EQ(f.hexField->text(), "#");
}

TEST_F(FieldTyping, DisplaySettingsRewriteEveryFieldAtOnce)
{
    const NotationFields& f = h.fields();
    h.settings().setBool(false, "showHexUnit");
    EXPECT_EQ(f.hexField->text(), "9AA2F8");
    h.settings().setBool(true, "lowerCaseHEX");
    EXPECT_EQ(f.hexField->text(), "9aa2f8");
    h.settings().setBool(false, "showUnits");
    EXPECT_EQ(texts({ f.hHSLField, f.sHSLField, f.kField }), QStringList({ "235", "87", "3" }));
    h.settings().setBool(true, "useObjCSyntax");
    EXPECT_EQ(f.nsColorField->text(), "[NSColor colorWithRed:154/255.0 green:162/255.0 blue:248/255.0 alpha:1.0]");
    EXPECT_EQ(f.uiColorField->text(), "[UIColor colorWithRed:154/255.0 green:162/255.0 blue:248/255.0 alpha:1.0]");
}

TEST_F(FieldTyping, UnknownColourSpaceFallsBackToSRGB)
{
    h.settings().setString("No Such Profile", "colorSpace");
    EXPECT_TRUE(h.sync().wellColorSpace()->isSRGB());
    EXPECT_EQ(h.fields().rField->text(), "154");
}

TEST_F(FieldTyping, TextColoursFollowLightness)
{
    h.type(h.fields().hexField, "202020");
    EXPECT_TRUE(h.window().showsLightText());
    h.type(h.fields().hexField, "f0f0f0");
    EXPECT_FALSE(h.window().showsLightText());
}

} // namespace

namespace {

TEST_F(FieldTyping, NamesChooseTheColourAndUnknownNamesGiveWayToTheNearest)
{
    const NotationFields& f = h.fields();
    EXPECT_EQ(f.nameField->text(), "Nearest");
    h.sync().setSwatchFromNameField("Signal Red");
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0xe0, 0x10, 0x20 }));
    EXPECT_EQ(f.hexField->text(), "#E01020");
    EXPECT_EQ(f.rField->text(), "224");

    h.type(f.nameField, "Signal Red");
    h.endEditing(f.nameField);
    EXPECT_EQ(f.nameField->text(), "Signal Red") << "a known name stays as typed";
    h.type(f.nameField, "no such name");
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0xe0, 0x10, 0x20 })) << "typing a name alone changes nothing";
    h.endEditing(f.nameField);
    EXPECT_EQ(f.nameField->text(), "Nearest");
}

} // namespace
