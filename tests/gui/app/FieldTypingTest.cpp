#include "AppHarness.h"

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

// Each row starts from the default colour, types into the fields of one
// notation and reads every notation back; an empty list is not checked.
TEST(FieldTypingFromTheStart, TypingIntoOneNotationRewritesTheOthers)
{
    using Typed = QList<std::pair<ValueField* NotationFields::*, QString>>;
    const struct { const char* what; Typed typed; QString hex; QStringList rgb, hsl, hsb, lab, cmyk; unsigned lightness; } rows[] = {
        { "nothing typed", {}, "#9AA2F8", { "154", "162", "248" }, { "235°", "87%", "79%" }, { "235°", "38%", "97%" }, { "69", "18", "-44" }, {}, 69 },
        { "hex, kept as typed", { { &NotationFields::hexField, "ff0000" } }, "ff0000", { "255", "0", "0" }, { "0°", "100%", "50%" },
          { "0°", "100%", "100%" }, { "53", "80", "67" }, {}, 0 },
        { "invalid hex", { { &NotationFields::hexField, "#" } }, "#", { "154", "162", "248" }, {}, {}, {}, {}, 0 },
        { "RGB, rewritten as typed", { { &NotationFields::rField, "025" } }, "#19A2F8", { "25", "162", "248" }, {}, {}, {}, {}, 0 },
        // Lightness without saturation truncates to grey 127.
        { "HSL 50 with saturation 0", { { &NotationFields::sHSLField, "0" }, { &NotationFields::lHSLField, "50" } }, "#7F7F7F",
          { "127", "127", "127" }, { "235°", "0", "50" }, {}, {}, {}, 0 },
        { "Lab", { { &NotationFields::lLabField, "50" }, { &NotationFields::aLabField, "0" }, { &NotationFields::bLabField, "0" } },
          "#777777", { "119", "119", "119" }, { "0°", "0%", "47%" }, { "0°", "0%", "47%" }, { "50", "0", "0" }, {}, 50 },
        { "CMYK",
          { { &NotationFields::cField, "0" }, { &NotationFields::mField, "100" }, { &NotationFields::yField, "100" }, { &NotationFields::kField, "0" } },
          "#FF0000", { "255", "0", "0" }, { "0°", "100%", "50%" }, {}, { "53", "80", "67" }, { "0", "100", "100", "0" }, 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        AppHarness h;
        h.start();
        const NotationFields& f = h.fields();
        for (const auto& [field, text] : row.typed)
            h.type(f.*field, text);
        EXPECT_EQ(f.hexField->text(), row.hex);
        const QStringList rgb = texts({ f.rField, f.gField, f.bField });
        EXPECT_EQ(rgb, row.rgb);
        EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { row.rgb[0].toInt(), row.rgb[1].toInt(), row.rgb[2].toInt() }));
        const QString code = QStringLiteral("Color(red:%1/255.0, green:%2/255.0, blue:%3/255.0, alpha:1.0)").arg(rgb[0], rgb[1], rgb[2]);
        EXPECT_EQ(f.nsColorField->text(), "NS" + code);
        EXPECT_EQ(f.uiColorField->text(), "UI" + code);
        for (const auto& [shown, expected] : { std::pair { texts({ f.hHSLField, f.sHSLField, f.lHSLField }), row.hsl },
                                               std::pair { texts({ f.hHSBField, f.sHSBField, f.bHSBField }), row.hsb },
                                               std::pair { texts({ f.lLabField, f.aLabField, f.bLabField }), row.lab },
                                               std::pair { texts({ f.cField, f.mField, f.yField, f.kField }), row.cmyk } }) {
            if (!expected.isEmpty()) {
                EXPECT_EQ(shown, expected);
            }
        }
        if (row.lightness) {
            EXPECT_EQ(h.sync().lightness(), row.lightness);
        }
    }
}

TEST_F(FieldTyping, EveryIntermediateHexTextThatIsValidIsAppliedAndTidiedAtTheEnd)
{
    const NotationFields& f = h.fields();
    const struct { QString typed; std::array<int, 3> rgb; QString tidied; } rows[] = {
        { "ff0000", { 255, 0, 0 }, "#FF0000" },
        { "12", { 0, 0, 18 }, "12" },
        { "1234", { 0, 18, 52 }, "1234" },
        { "abc", { 170, 187, 204 }, "#AABBCC" },
        { "#abcdef", { 171, 205, 239 }, "#ABCDEF" },
    };
    for (const auto& row : rows) {
        h.type(f.hexField, row.typed);
        EXPECT_EQ(h.wellRGB(), row.rgb) << row.typed.toStdString();
        EXPECT_EQ(f.hexField->text(), row.typed) << "kept as typed until editing ends";
        h.endEditing(f.hexField);
        EXPECT_EQ(f.hexField->text(), row.tidied) << row.typed.toStdString();
    }
}

TEST_F(FieldTyping, EndOfEditingAddsOrRemovesUnits)
{
    const NotationFields& f = h.fields();
    const struct { bool showUnits; ValueField* field; QString typed; QString tidied; } rows[] = {
        { true, f.sHSLField, "40", "40%" },
        { true, f.hHSBField, "90", "90°" },
        { true, f.gField, "25", "25" },
        { false, f.sHSBField, "40%", "40" },
        { false, f.hHSLField, "12°", "12" },
        // Emptied: the current colour's value again, not a lone unit.
        { true, f.hHSLField, "", "0°" },
        { true, f.lHSLField, "", "0%" }, // read as 0 while empty: black
        { true, f.hexField, "", "#000000" },
    };
    for (const auto& row : rows) {
        h.settings().setBool(row.showUnits, "showUnits");
        h.type(row.field, row.typed);
        if (row.typed.isEmpty())
            QTest::keyClick(row.field, Qt::Key_Backspace);
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
        { f.rField, "256", "25" },
        { f.bField, "12a", "12" },
        { f.aLabField, "-129", "-12" },
        { f.lLabField, "101", "10" },
        { f.sHSLField, "101", "10" },
        { f.lHSLField, "%", QString() }, // refused: the text stays as it was
        { f.cField, "100%", "100%" },
        { f.hHSBField, "361", "36" },
        { f.hexField, "#abcdef0", "#abcdef" },
        { f.hexField, "ab#c", "abc" },
    };
    for (const auto& row : rows) {
        const QString before = row.field->text();
        h.type(row.field, row.keys);
        EXPECT_EQ(row.field->text(), row.kept.isNull() ? before : row.kept) << row.field->accessibleName().toStdString() << " <- " << row.keys.toStdString();
    }
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

// Profiles that Debian installs with colord-data and libgs-common. The
// fields show and read the components of the window's own space: whatever a
// field shows, typed back, gives the same colour in any RGB space.
TEST_F(FieldTyping, ColourSpaceSettingsTakeEffectAtOnceAndFieldsReadTheWindowsOwnSpace)
{
    const NotationFields& f = h.fields();
    const QStringList defaultRGB { "154", "162", "248" };
    h.settings().setString("No Such Profile", "colorSpace");
    EXPECT_TRUE(h.sync().wellColorSpace()->isSRGB()) << "an unknown space falls back to sRGB";
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), defaultRGB);
    const ColorSpaceRegistry registry;
    const QString adobe = QStringLiteral("Compatible with Adobe RGB (1998)");
    if (!registry.spaceNamed(adobe) || registry.cmykSpaces().size() < 2)
        GTEST_SKIP() << "needs colord-data and libgs-common";

    const QStringList genericCMYK = texts({ f.cField, f.mField, f.yField, f.kField });
    h.settings().setString(registry.cmykSpaces()[1]->name(), "CMYKcolorSpace");
    EXPECT_NE(texts({ f.cField, f.mField, f.yField, f.kField }), genericCMYK);
    EXPECT_EQ(texts({ f.rField, f.gField, f.bField }), defaultRGB);
    h.settings().setString(QStringLiteral("Generic CMYK"), "CMYKcolorSpace");
    EXPECT_EQ(texts({ f.cField, f.mField, f.yField, f.kField }), genericCMYK);

    h.settings().setString(adobe, "colorSpace");
    EXPECT_EQ(h.sync().wellColorSpace()->name(), adobe);
    const QStringList rgb = texts({ f.rField, f.gField, f.bField });
    EXPECT_NE(rgb, defaultRGB) << "the same colour has other numbers in Adobe RGB";
    QString hex = "#";
    for (const QString& component : rgb)
        hex += QStringLiteral("%1").arg(component.toInt(), 2, 16, QLatin1Char('0')).toUpper();
    EXPECT_EQ(f.hexField->text(), hex);

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
    h.settings().setString(QString(), "colorSpace");
    EXPECT_TRUE(h.sync().wellColorSpace()->isSRGB());
}

} // namespace
