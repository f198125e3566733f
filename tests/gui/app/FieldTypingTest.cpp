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

TEST_F(FieldTyping, AVisitToAnotherWindowLeavesTheEditOpenAndClosingTheWindowEndsIt)
{
    const NotationFields& f = h.fields();
    QApplication::setActiveWindow(&h.window());
    for (ValueField* field : { f.sHSLField, f.nameField }) {
        field->setFocus();
        ASSERT_TRUE(field->hasFocus());
        h.type(field, field == f.nameField ? "Sig" : "40");
        QWidget elsewhere;
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
        EXPECT_EQ(field->text(), field == f.nameField ? "Sig" : "40") << "half-typed text survives the visit";
        QApplication::setActiveWindow(&h.window());
        EXPECT_TRUE(field->hasFocus());
    }
    h.type(f.hHSBField, "90");
    f.hHSBField->setFocus();
    h.window().close();
    EXPECT_EQ(f.hHSBField->text(), "90°");
    EXPECT_EQ(f.nameField->text(), "Nearest") << "the name edit ended when the focus moved on within the window";
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

TEST_F(FieldTyping, TextColoursSwitchAtLightness55)
{
    const NotationFields& f = h.fields();
    h.type(f.aLabField, "0");
    h.type(f.bLabField, "0");
    const struct { const char* L; QColor text; } rows[] = {
        { "54", QColor(255, 255, 255, 204) },
        { "55", QColor(51, 51, 51, 204) },
        { "100", QColor(51, 51, 51, 204) },
        { "0", QColor(255, 255, 255, 204) },
    };
    for (const auto& row : rows) {
        h.type(f.lLabField, row.L);
        for (ValueField* field : { f.nameField, f.hexField, f.rField, f.kField, f.nsColorField })
            EXPECT_EQ(field->palette().color(QPalette::Text), row.text) << "L " << row.L;
        EXPECT_EQ(h.window().showsLightText(), row.text == QColor(255, 255, 255, 204)) << "L " << row.L;
    }
    // The same rule for a colour picked anywhere else.
    h.window().mainSwatchWell->setColor(Color::fromIntegers(250, 250, 250));
    EXPECT_EQ(f.rField->palette().color(QPalette::Text), QColor(51, 51, 51, 204));
}

// Profiles that Debian installs with colord-data and libgs-common.
TEST_F(FieldTyping, ColourSpaceSettingsTakeEffectAtOnce)
{
    const ColorSpaceRegistry registry;
    const QString adobe = QStringLiteral("Compatible with Adobe RGB (1998)");
    if (!registry.spaceNamed(adobe) || registry.cmykSpaces().size() < 2)
        GTEST_SKIP() << "needs colord-data and libgs-common";
    const NotationFields& f = h.fields();
    const QStringList genericCMYK = texts({ f.cField, f.mField, f.yField, f.kField });

    h.settings().setString(adobe, "colorSpace");
    EXPECT_EQ(h.sync().wellColorSpace()->name(), adobe);
    const QStringList rgb = texts({ f.rField, f.gField, f.bField });
    EXPECT_NE(rgb, QStringList({ "154", "162", "248" })) << "the same colour has other numbers in Adobe RGB";
    const QString hex = QStringLiteral("#%1%2%3").arg(rgb[0].toInt(), 2, 16, QLatin1Char('0')).arg(rgb[1].toInt(), 2, 16, QLatin1Char('0')).arg(rgb[2].toInt(), 2, 16, QLatin1Char('0'));
    EXPECT_EQ(f.hexField->text(), hex.toUpper());
    h.settings().setString(QString(), "colorSpace");
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "154", "162", "248" }));

    h.settings().setString(registry.cmykSpaces()[1]->name(), "CMYKcolorSpace");
    EXPECT_NE(texts({ f.cField, f.mField, f.yField, f.kField }), genericCMYK);
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), QStringList({ "154", "162", "248" }));
    h.settings().setString(QStringLiteral("Generic CMYK"), "CMYKcolorSpace");
    EXPECT_EQ(texts({ f.cField, f.mField, f.yField, f.kField }), genericCMYK);
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
