#include "HexCodec.h"

#include "ColorSpace.h"

#include <algorithm>

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return u - u'A' + 10;
}

qsizetype skipSpace(const QString& text, qsizetype i)
{
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// Leading white space, then at most one "#": where the digits of a code start.
qsizetype digitsStart(const QString& text)
{
    qsizetype i = skipSpace(text, 0);
    if (i < text.size() && text[i] == u'#')
        ++i;
    return i;
}

// The code's digits as an unsigned 32-bit number; more than eight digits read
// as 0xFFFFFFFF.
quint32 codeValue(const QString& text)
{
    quint32 value = 0;
    int digits = 0;
    for (qsizetype i = digitsStart(text); i < text.size() && isHexDigit(text[i]); ++i, ++digits) {
        if (digits == 8)
            return 0xFFFFFFFFu;
        value = value * 16 + digitValue(text[i]);
    }
    return value;
}

} // namespace

namespace HexCodec {

std::optional<QString> normalizedHEXcodeFromHEXvalue(const QString& text, bool showHexUnit)
{
    qsizetype i = text.startsWith(u'#') ? 1 : 0;
    i = skipSpace(text, i);
    qsizetype end = i;
    while (end < text.size() && isHexDigit(text[end]))
        ++end;
    if (end == i)
        return std::nullopt;
    QString run = text.mid(i, end - i);
    const QString unit = showHexUnit ? QStringLiteral("#") : QString();
    if (run.size() == 3)
        return unit + run[0] + run[0] + run[1] + run[1] + run[2] + run[2];
    if (run.size() == 6)
        return unit + run;
    return run;
}

bool isValidHEX(const QString& text)
{
    const qsizetype i = digitsStart(text);
    return i < text.size() && isHexDigit(text[i]);
}

std::optional<Color> colorWithHexColorString(const QString& text, const ColorSpacePtr& wellSpace)
{
    const quint32 value = codeValue(normalizedHEXcodeFromHEXvalue(text, false).value_or(QString()));
    const Color srgb = Color::fromIntegersSingle((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    return ColorSpace::convert(srgb, wellSpace);
}

Color colorInSpace(const QString& text, const ColorSpacePtr& space)
{
    const quint32 value = codeValue(normalizedHEXcodeFromHEXvalue(text, false).value_or(QString()));
    return Color::fromIntegersSingle((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF, space);
}

QString storedForm(int red, int green, int blue)
{
    // A component outside 0..255 would otherwise wrap into another colour.
    auto digits = [](int c) { return QStringLiteral("%1").arg(std::clamp(c, 0, 255), 2, 16, QLatin1Char('0')); };
    return digits(red) + digits(green) + digits(blue);
}

std::optional<QString> hexCodeForColor(const Color& color, const ColorSpacePtr& wellSpace)
{
    const std::optional<Color> converted = ColorSpace::convert(color, wellSpace);
    if (!converted)
        return std::nullopt;
    const auto [r, g, b] = converted->integerComponents();
    return storedForm(r, g, b);
}

QString fieldText(const QString& text, bool lowerCaseHEX)
{
    return lowerCaseHEX ? text.toLower() : text.toUpper();
}

QString displayedForm(const QString& storedCode, bool showHexUnit, bool lowerCaseHEX)
{
    return fieldText(showHexUnit ? QStringLiteral("#") + storedCode : storedCode, lowerCaseHEX);
}

QString fixHexfieldLength(const QString& text, bool showHexUnit, bool lowerCaseHEX)
{
    const std::optional<QString> code = normalizedHEXcodeFromHEXvalue(text, showHexUnit);
    if (code && isValidHEX(*code))
        return fieldText(*code, lowerCaseHEX);
    return text;
}

QString keyForColor(const Color& color, const ColorSpacePtr& wellSpace)
{
    if (std::optional<QString> code = hexCodeForColor(color, wellSpace))
        return *code;
    const auto [r, g, b] = color.integerComponents();
    return storedForm(r, g, b);
}

} // namespace HexCodec
