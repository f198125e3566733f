#include "colour/ColorSpace.h"
#include "colour/FormatterRule.h"
#include "colour/HexCodec.h"
#include "colour/LeadingInteger.h"

#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace HexCodec;

TEST(HexCodec, NormalisesTypedCodes)
{
    const auto none = [] { return std::optional<QString>(); };
    const struct { const char* text; bool showHexUnit; std::optional<QString> expected; } rows[] = {
        {"abc", false, QStringLiteral("aabbcc")},
        {"abc", true, QStringLiteral("#aabbcc")},
        {"#ABC", false, QStringLiteral("AABBCC")},
        {"aAbBcC", false, QStringLiteral("aAbBcC")},
        {"aAbBcC", true, QStringLiteral("#aAbBcC")},
        {"#9aa2f8", true, QStringLiteral("#9aa2f8")},
        {"  \n9aa2f8", false, QStringLiteral("9aa2f8")},
        {"# abc", false, QStringLiteral("aabbcc")},       // "#" first, then the white space
        {"abcxyz", false, QStringLiteral("aabbcc")},      // the run ends at x
        {"12", true, QStringLiteral("12")},               // other lengths: unchanged, no "#"
        {"#1234", true, QStringLiteral("1234")},
        {"abcdef0", true, QStringLiteral("abcdef0")},
        {"", false, none()},
        {"#", true, none()},
        {"xyz", false, none()},
        {" #abc", false, none()},                         // white space before "#" is not skipped first
        {"##abc", false, none()},                         // only one "#" is dropped
    };
    for (const auto& row : rows)
        EXPECT_EQ(normalizedHEXcodeFromHEXvalue(QString::fromUtf8(row.text), row.showHexUnit), row.expected)
            << "text \"" << row.text << "\" showHexUnit " << row.showHexUnit;
}

TEST(HexCodec, ValidCodesBeginWithADigit)
{
    const std::pair<const char*, bool> rows[] = {
        {"a", true},      {"#a", true},  {"  #1234", true}, {"aabbccdd00", true}, {"", false},
        {"#", false},     {"##a", false}, {"g12", false},   {"  ", false},        {"#-1", false},
    };
    for (const auto& [text, valid] : rows)
        EXPECT_EQ(isValidHEX(QString::fromUtf8(text)), valid) << "text \"" << text << "\"";
}

TEST(HexCodec, ColourOfACodeAndCodeOfAColour)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    const std::pair<QString, std::array<int, 3>> rows[] = {
        {"#ABC", {170, 187, 204}},     {"aAbBcC", {170, 187, 204}},    {"ff0000", {255, 0, 0}},
        {"ab", {0, 0, 171}},           {"abcde", {10, 188, 222}},      {"12", {0, 0, 18}}, // short codes are numbers
        {"1234", {0, 18, 52}},         {"#9AA2F8", {154, 162, 248}},
        {"ff9aa2f8", {154, 162, 248}}, // bits above the red, green and blue bytes are ignored
        {"123456789", {255, 255, 255}}, // more than eight digits: all bits set
        {"000000000ab", {255, 255, 255}}, // nine digits, however small the number
        {"", {0, 0, 0}},               {"zz", {0, 0, 0}},              {QString(), {0, 0, 0}},
    };
    for (const auto& [text, rgb] : rows) {
        const std::optional<Color> colour = colorWithHexColorString(text, srgb);
        ASSERT_TRUE(colour) << "text \"" << text.toStdString() << "\"";
        EXPECT_EQ(colour->integerComponents(), rgb) << "text \"" << text.toStdString() << "\"";
        EXPECT_EQ(colour->space(), srgb);
    }

    // A colour is made in single precision; a code is made by the integer
    // rule (0.5 is 128, 0.998 is 254, 0.999 is 255); a CMYK space holds none.
    const std::optional<Color> colour = colorWithHexColorString(QStringLiteral("9aa2f8"), srgb);
    ASSERT_TRUE(colour);
    EXPECT_EQ((std::array { colour->red(), colour->green(), colour->blue() }),
              (std::array<double, 3> { 154.0f / 255.0f, 162.0f / 255.0f, 248.0f / 255.0f }));
    EXPECT_EQ(hexCodeForColor(Color(0.5, 0.998, 0.999, srgb), srgb), QStringLiteral("80feff"));
    const ColorSpacePtr cmyk = ColorSpace::genericCMYK();
    EXPECT_FALSE(hexCodeForColor(Color::fromIntegers(1, 2, 3), cmyk));
    EXPECT_FALSE(colorWithHexColorString(QStringLiteral("010203"), cmyk));
}

// A dense sample of the cube, plus every value of each channel on its own:
// colour -> code -> colour keeps the integers and the code, the code is six
// lowercase digits, and every displayed form of it reads back as the colour.
TEST(HexCodec, CodesRoundTripOverTheCube)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    std::vector<std::array<int, 3>> samples;
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5)
                samples.push_back({r, g, b});
    for (int v = 0; v < 256; ++v) {
        for (int channel = 0; channel < 3; ++channel) {
            std::array<int, 3> rgb{0x12, 0x80, 0xed};
            rgb[channel] = v;
            samples.push_back(rgb);
        }
    }

    const QRegularExpression sixLowercaseDigits(QStringLiteral("^[0-9a-f]{6}$"));
    for (const auto& rgb : samples) {
        const std::optional<QString> code = hexCodeForColor(Color::fromIntegers(rgb[0], rgb[1], rgb[2]), srgb);
        ASSERT_EQ(code, storedForm(rgb[0], rgb[1], rgb[2]));
        ASSERT_TRUE(sixLowercaseDigits.match(*code).hasMatch()) << code->toStdString();
        const std::optional<Color> back = colorWithHexColorString(*code, srgb);
        ASSERT_TRUE(back) << code->toStdString();
        ASSERT_EQ(back->integerComponents(), rgb) << code->toStdString();
        ASSERT_EQ(hexCodeForColor(*back, srgb), code) << code->toStdString();
        for (bool showHexUnit : {false, true}) {
            for (bool lowerCaseHEX : {false, true}) {
                const QString shown = displayedForm(*code, showHexUnit, lowerCaseHEX);
                const std::optional<Color> read = colorWithHexColorString(shown, srgb);
                ASSERT_TRUE(read) << shown.toStdString();
                ASSERT_EQ(read->integerComponents(), rgb) << shown.toStdString();
            }
        }
    }
}

TEST(HexCodec, DisplayedAndTidiedForms)
{
    for (const auto& [unit, lower, shown] : { std::tuple { true, false, "#9AA2F8" }, { false, false, "9AA2F8" },
                                              { true, true, "#9aa2f8" }, { false, true, "9aa2f8" } })
        EXPECT_EQ(displayedForm(QStringLiteral("9aa2f8"), unit, lower), QString::fromLatin1(shown));
    EXPECT_EQ(fieldText(QStringLiteral("#aAbB"), false), QStringLiteral("#AABB"));
    EXPECT_EQ(fieldText(QStringLiteral("#aAbB"), true), QStringLiteral("#aabb"));

    // Ending an edit tidies the field.
    const struct { const char* text; bool showHexUnit, lowerCaseHEX; QString expected; } rows[] = {
        {"abc", false, false, QStringLiteral("AABBCC")},
        {"abc", true, false, QStringLiteral("#AABBCC")},
        {"#abc", false, true, QStringLiteral("aabbcc")},
        {"ff0000", false, false, QStringLiteral("FF0000")},
        {"ff0000", false, true, QStringLiteral("ff0000")},
        {"FF0000", true, true, QStringLiteral("#ff0000")},
        {"1234", true, false, QStringLiteral("1234")}, // other lengths: not padded, no "#"
        {"#1234", true, true, QStringLiteral("1234")},
        {"ab", false, false, QStringLiteral("AB")},
        {"", true, false, QString()},                  // nothing valid: the field keeps its text
        {"#", true, false, QStringLiteral("#")},
        {"xyz", false, false, QStringLiteral("xyz")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fixHexfieldLength(QString::fromUtf8(row.text), row.showHexUnit, row.lowerCaseHEX), row.expected)
            << "text \"" << row.text << "\" showHexUnit " << row.showHexUnit << " lowerCaseHEX " << row.lowerCaseHEX;
}

// Each field's rule, with the maximum length the field gives it, against
// the texts a user may type on the way to a value. The hex rule sets its own
// length: seven with the "#", six without.
TEST(FormatterRule, EachFieldTakesOnlyTextOnTheWayToAValue)
{
    using Rows = std::vector<std::pair<const char*, bool>>;
    const Rows hexRows = {{"", true}, {"#", true}, {"#abcdef", true}, {"abcdef", true}, {"ABCDEF", true},
                          {"#abcdef0", false}, {"abcdef0", false}, {"ab#c", false}, {"##", false},
                          {"abc#", false}, {"#abg", false}, {" abc", false}, {"a", true},
                          {"a\xF0\x9F\x8E\xA8", false}}; // a character outside the basic plane
    const struct { const char* field; FormatterRule (*make)(); std::int32_t maximumLength; Rows rows; } fields[] = {
        {"rgb without a limit", &FormatterRule::rgbFormatter, FormatterRule::noLimit,
         {{"0000000000000000000000000255", true}, {"256", false}}},
        {"rgb", &FormatterRule::rgbFormatter, 3,
         {{"", true}, {"0", true}, {"255", true}, {"025", true}, {"256", false}, {"999", false},
          {"1000", false}, {"12a", false}, {"-1", false}, {" 12", false}, {"+1", false}}},
        {"labL", &FormatterRule::labLFormatter, 3,
         {{"", true}, {"100", true}, {"101", false}, {"0", true}, {"-0", false}, {"1000", false}}},
        {"lab", &FormatterRule::labFormatter, 4,
         {{"", true}, {"-128", true}, {"127", true}, {"-129", false}, {"128", false}, {"-", true},
          {"--", false}, {"5-", false}, {"-5-", true}, {"0-", false}, {"-12-", true}, {"-128-", false},
          {"12-3", true}, {"1-2", true}, {"+5", false}, {"a", false}}},
        {"percentage", &FormatterRule::percentageFormatter, 4,
         {{"", true}, {"100%", true}, {"%", false}, {"101", false}, {"%5", true}, {"40%", true},
          {"%%", true}, {"100%%", false}, {"1%0", true}, {"-5", false}, {"5 %", false}}},
        {"degrees", &FormatterRule::degreesFormatter, 4,
         {{"", true}, {"360", true}, {"361", false}, {"°", false}, {"359°", true}, {"°90", true},
          {"90%", false}, {"3600", false}, {"360°°", false}}},
        // Whatever length the hex field was given, its rule sets its own.
        {"hex", &FormatterRule::hexFormatter, FormatterRule::noLimit, hexRows},
        {"hex", &FormatterRule::hexFormatter, 3, hexRows},
        {"hex", &FormatterRule::hexFormatter, 100, hexRows},
    };
    for (const auto& f : fields) {
        for (const auto& [text, accepted] : f.rows) {
            FormatterRule rule = f.make();
            rule.setMaximumLength(f.maximumLength);
            EXPECT_EQ(rule.isPartialStringValid(QString::fromUtf8(text)), accepted)
                << f.field << " (length " << f.maximumLength << ") text \"" << text << "\"";
        }
    }
}

TEST(LeadingInteger, ReadsTheLeadingNumberOfAText)
{
    const std::pair<const char*, int> rows[] = {
        {"", 0},          {"-", 0},       {"+", 0},          {"%5", 0},          {"abc", 0},
        {"40%", 40},      {"359°", 359},  {"-5-", -5},       {"  \t 12x", 12},   {"+7", 7},
        {"-128", -128},   {"025", 25},    {"1 2", 1},        {"- 3", 0},         {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(leadingInteger(QString::fromUtf8(text)), value) << "text \"" << text << "\"";
}
