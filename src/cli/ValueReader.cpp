#include "ValueReader.h"

#include "colour/Cmyk.h"
#include "colour/FormatterRule.h"
#include "colour/HexCodec.h"
#include "colour/Hsb.h"
#include "colour/Hsl.h"
#include "colour/Lab.h"
#include "colour/LeadingInteger.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

// One number field of the window: its keystroke rule and maximum length.
struct Field
{
    FormatterRule::Kind kind;
    int maximumLength;
};

constexpr Field rgbField{FormatterRule::Kind::rgb, 3};
constexpr Field hueField{FormatterRule::Kind::degrees, 4};
constexpr Field percentField{FormatterRule::Kind::percentage, 4};
constexpr Field labLField{FormatterRule::Kind::labL, 3};
constexpr Field labABField{FormatterRule::Kind::lab, 4};

// The integers of the components, each checked against its field; nothing
// when the count is wrong or any field would refuse its text.
std::optional<std::vector<int>> readFields(const QString& list, std::initializer_list<Field> fields)
{
    const QStringList parts = list.split(u',');
    if (parts.size() != static_cast<qsizetype>(fields.size()))
        return std::nullopt;
    std::vector<int> numbers;
    auto field = fields.begin();
    for (const QString& part : parts) {
        const QString text = part.trimmed();
        FormatterRule rule(field->kind);
        rule.setMaximumLength(field->maximumLength);
        const bool hasDigit = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
        if (!hasDigit || !rule.isPartialStringValid(text))
            return std::nullopt;
        numbers.push_back(leadingInteger(text));
        ++field;
    }
    return numbers;
}

// The window builds the well's colour from the integers it has just written
// into the RGB fields, which are components in its own space.
Color fromIntegers(const std::array<int, 3>& rgb, const ColorSpacePtr& wellSpace)
{
    return Color::fromIntegers(rgb[0], rgb[1], rgb[2], wellSpace);
}

std::optional<Color> readFunction(const QString& name, const QString& list, const ColorSpacePtr& wellSpace)
{
    if (name == u"rgb") {
        const auto v = readFields(list, {rgbField, rgbField, rgbField});
        return v ? std::optional(fromIntegers({(*v)[0], (*v)[1], (*v)[2]}, wellSpace)) : std::nullopt;
    }
    if (name == u"hsl") {
        const auto v = readFields(list, {hueField, percentField, percentField});
        if (!v)
            return std::nullopt;
        const auto rgb = rgbFromHSL((*v)[0], (*v)[1], (*v)[2]);
        return fromIntegers({rgb[0], rgb[1], rgb[2]}, wellSpace);
    }
    if (name == u"hsb") {
        const auto v = readFields(list, {hueField, percentField, percentField});
        return v ? std::optional(fromIntegers(rgbFromHSB((*v)[0], (*v)[1], (*v)[2]), wellSpace)) : std::nullopt;
    }
    if (name == u"lab") {
        const auto v = readFields(list, {labLField, labABField, labABField});
        return v ? std::optional(fromIntegers(rgbFromLab((*v)[0], (*v)[1], (*v)[2]), wellSpace)) : std::nullopt;
    }
    if (name == u"cmyk") {
        const auto v = readFields(list, {percentField, percentField, percentField, percentField});
        return v ? std::optional(fromIntegers(rgbFromCMYK((*v)[0], (*v)[1], (*v)[2], (*v)[3]), wellSpace))
                 : std::nullopt;
    }
    return std::nullopt;
}

std::optional<Color> readHex(const QString& text, const ColorSpacePtr& wellSpace)
{
    // The hex field could hold nothing its rule refuses: at most six digits
    // after an optional "#", no spaces.
    FormatterRule rule = FormatterRule::hexFormatter();
    if (!rule.isPartialStringValid(text))
        return std::nullopt;
    const std::optional<QString> code = HexCodec::normalizedHEXcodeFromHEXvalue(text, false);
    if (!code || !HexCodec::isValidHEX(*code))
        return std::nullopt;
    return HexCodec::colorWithHexColorString(*code, wellSpace);
}

} // namespace

namespace ValueReader {

std::optional<Color> read(const QString& text, const ColorSpacePtr& wellSpace)
{
    static const QRegularExpression function(QStringLiteral("^\\s*([A-Za-z]+)\\s*\\((.*)\\)\\s*$"),
                                             QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = function.match(text);
    if (match.hasMatch())
        return readFunction(match.captured(1).toLower(), match.captured(2), wellSpace);
    return readHex(text, wellSpace);
}

} // namespace ValueReader
