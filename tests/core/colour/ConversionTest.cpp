#include "SystemProfiles.h"

#include "colour/Cmyk.h"
#include "colour/ColorSpace.h"
#include "colour/FormatterRule.h"
#include "colour/HexCodec.h"
#include "colour/Hsb.h"
#include "colour/Hsl.h"
#include "colour/Lab.h"
#include "colour/LeadingInteger.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

using namespace HexCodec;

namespace {

using Triple = std::array<int, 3>;

std::string show(const Triple& t)
{
    return QStringLiteral("%1, %2, %3").arg(t[0]).arg(t[1]).arg(t[2]).toStdString();
}

struct NotationRow
{
    Triple rgb, hsl, hsb, lab;
};

const NotationRow notationRows[] = {
    {{255, 0, 0}, {0, 100, 50}, {0, 100, 100}, {53, 80, 67}},
    {{0, 255, 0}, {120, 100, 50}, {120, 100, 100}, {88, -86, 83}},
    {{0, 0, 255}, {240, 100, 50}, {240, 100, 100}, {32, 79, -108}},
    {{255, 255, 255}, {0, 0, 100}, {0, 0, 100}, {100, 0, 0}},
    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
};

} // namespace

TEST(Conversions, ForwardNotationsOfKnownColours)
{
    for (const NotationRow& row : notationRows) {
        const auto [r, g, b] = row.rgb;
        SCOPED_TRACE("rgb " + show(row.rgb));
        EXPECT_EQ(hslFromRGB(r, g, b), row.hsl);
        EXPECT_EQ(hsbFromRGB(r, g, b), row.hsb);
        EXPECT_EQ(labFromRGB(r, g, b), row.lab);
    }
    // 255, 0, 1 has a hue of 359.76..., which rounds to 360 and is shown as 0.
    EXPECT_EQ(hslFromRGB(255, 0, 1)[0], 0);
    EXPECT_EQ(hsbFromRGB(255, 0, 1)[0], 0);
}

TEST(Conversions, InverseNotationsOfKnownValues)
{
    const auto hsl = [](int h, int s, int l) {
        const auto rgb = rgbFromHSL(h, s, l);
        return Triple{rgb[0], rgb[1], rgb[2]};
    };
    const struct { const char* notation; Triple (*inverse)(int, int, int); Triple value, rgb; } rows[] = {
        {"hsl", hsl, {0, 100, 50}, {255, 0, 0}},
        {"hsl", hsl, {240, 100, 25}, {0, 0, 127}},
        {"hsl", hsl, {210, 50, 50}, {63, 127, 191}},
        {"hsl", hsl, {0, 0, 100}, {255, 255, 255}},
        {"lab", rgbFromLab, {100, 0, 0}, {255, 255, 255}},
        {"lab", rgbFromLab, {50, 0, 0}, {119, 119, 119}},
        {"lab", rgbFromLab, {0, 0, 0}, {0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.notation + (" " + show(row.value)));
        EXPECT_EQ(row.inverse(row.value[0], row.value[1], row.value[2]), row.rgb);
    }
}

TEST(Conversions, GenericCmykBothWays)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    const ColorSpace* generic = ColorSpace::genericCMYK().get();
    const struct { Triple rgb; std::array<int, 4> cmyk; } rows[] = {
        {{255, 0, 0}, {0, 100, 100, 0}},
        {{0, 0, 0}, {0, 0, 0, 100}},
        {{255, 255, 255}, {0, 0, 0, 0}},
        {{128, 64, 0}, {0, 50, 100, 50}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("rgb " + show(row.rgb));
        EXPECT_EQ(cmykFromRGB(row.rgb[0], row.rgb[1], row.rgb[2], srgb, generic), row.cmyk);
    }
    EXPECT_EQ(rgbFromCMYK(0, 0, 0, 50), (Triple{128, 128, 128}));
    EXPECT_EQ(cmykFromRGB(10, 20, 30, srgb, nullptr), (std::array<int, 4>{0, 0, 0, 0}));
}

// Dense samples over the cube: every forward-then-inverse pair must come back
// within the step its own rounding allows. Every sRGB colour lies inside
// Adobe RGB (1998) too (when colord-data is installed): there and back keeps
// its integers.
TEST(Conversions, RoundTripsOverTheCube)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    const ColorSpacePtr adobe = SystemProfiles::load(SystemProfiles::adobeRGB);
    // The wider space really is another encoding: pure sRGB red is not its red.
    EXPECT_TRUE(!adobe || ColorSpace::convert(Color::fromIntegers(255, 0, 0), adobe)->red() < 0.9);
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const auto hsb = hsbFromRGB(r, g, b);
                const auto back = rgbFromHSB(hsb[0], hsb[1], hsb[2]);
                // One displayed percent of brightness is 2.55 steps; hue and
                // saturation steps add at most as much again.
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(back[i], (Triple{r, g, b})[i], 6) << "hsb of " << show({r, g, b});

                const auto hsl = hslFromRGB(r, g, b);
                const auto hslBack = rgbFromHSL(hsl[0], hsl[1], hsl[2]);
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(hslBack[i], (Triple{r, g, b})[i], 7) << "hsl of " << show({r, g, b});

                const auto cmyk = cmykFromRGB(r, g, b, srgb, ColorSpace::genericCMYK().get());
                const auto cmykBack = rgbFromCMYK(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(cmykBack[i], (Triple{r, g, b})[i], 4) << "cmyk of " << show({r, g, b});

                if (adobe) {
                    const auto there = ColorSpace::convert(Color::fromIntegers(r, g, b), adobe);
                    ASSERT_TRUE(there && there->space() == adobe) << "Adobe RGB of " << show({r, g, b});
                    ASSERT_EQ(ColorSpace::convert(*there, srgb).value_or(Color()).integerComponents(), (Triple{r, g, b}))
                        << "Adobe RGB of " << show({r, g, b});
                }
            }
}

// sRGB to sRGB is exactly the identity; only RGB spaces hold colours.
TEST(ColorSpace, ConversionWithinSRGBIsExactAndOtherModelsHoldNone)
{
    for (double v : {0.0, 1e-300, 0.1, 0.5, 1.0 / 3.0, 0.999999999, 1.0}) {
        const Color c(v, 1 - v, v / 2, ColorSpace::sRGB());
        EXPECT_EQ(ColorSpace::convert(c, ColorSpace::sRGB()), c) << v;
    }
    EXPECT_FALSE(ColorSpace::convert(Color::fromIntegers(1, 2, 3), ColorSpace::genericCMYK()));
    EXPECT_FALSE(ColorSpace::convert(Color::fromIntegers(1, 2, 3), nullptr));
    EXPECT_FALSE(ColorSpace::cmykComponents(Color::fromIntegers(1, 2, 3), *ColorSpace::sRGB()));
}

TEST(ColorSpace, IccCmykProfileGivesPlausibleInk)
{
    const auto cmyk = SystemProfiles::load(SystemProfiles::defaultCMYK);
    if (!cmyk)
        GTEST_SKIP() << "needs libgs-common";
    ASSERT_EQ(cmyk->model(), ColorSpace::Model::CMYK);

    const ColorSpacePtr srgb = ColorSpace::sRGB();
    EXPECT_LE(std::ranges::max(cmykFromRGB(255, 255, 255, srgb, cmyk.get())), 1) << "white";
    EXPECT_GE(cmykFromRGB(0, 0, 0, srgb, cmyk.get())[3], 70) << "black";
    const auto red = cmykFromRGB(255, 0, 0, srgb, cmyk.get());
    EXPECT_TRUE(red[0] < 20 && red[1] > 80 && red[2] > 80) << "red";
    const auto cyan = cmykFromRGB(0, 255, 255, srgb, cmyk.get());
    EXPECT_TRUE(cyan[0] > 50 && cyan[1] < 30) << "cyan";
}

TEST(HexCodec, NormalisesTypedCodes)
{
    const auto none = [] { return std::optional<QString>(); };
    const struct { const char* text; bool showHexUnit; std::optional<QString> expected; } rows[] = {
        {"abc", false, QStringLiteral("aabbcc")},
        {"abc", true, QStringLiteral("#aabbcc")},
        {"#ABC", false, QStringLiteral("AABBCC")},
        {"aAbBcC", false, QStringLiteral("aAbBcC")},
        {"  \n9aa2f8", false, QStringLiteral("9aa2f8")},
        {"# abc", false, QStringLiteral("aabbcc")},       // "#" first, then the white space
        {"abcxyz", false, QStringLiteral("aabbcc")},      // the run ends at x
        {"12", true, QStringLiteral("12")},               // other lengths: unchanged, no "#"
        {"abcdef0", true, QStringLiteral("abcdef0")},
        {"", false, none()},
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
// colour -> code -> colour keeps the integers, and the code is the stored
// form (six lowercase digits).
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

    for (const auto& rgb : samples) {
        const std::optional<QString> code = hexCodeForColor(Color::fromIntegers(rgb[0], rgb[1], rgb[2]), srgb);
        ASSERT_EQ(code, storedForm(rgb[0], rgb[1], rgb[2]));
        const std::optional<Color> back = colorWithHexColorString(*code, srgb);
        ASSERT_TRUE(back) << code->toStdString();
        ASSERT_EQ(back->integerComponents(), rgb) << code->toStdString();
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
        {"FF0000", true, true, QStringLiteral("#ff0000")},
        {"1234", true, false, QStringLiteral("1234")}, // other lengths: not padded, no "#"
        {"ab", false, false, QStringLiteral("AB")},
        {"", true, false, QString()},                  // nothing valid: the field keeps its text
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
