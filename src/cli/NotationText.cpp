#include "NotationText.h"

namespace {

template <std::size_t N>
QString spaced(const std::array<int, N>& numbers)
{
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(u' ');
}

template <std::size_t N>
QString jsonArray(const std::array<int, N>& numbers)
{
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return u'[' + parts.join(u',') + u']';
}

QString jsonArray(const QStringList& texts)
{
    QStringList parts;
    for (const QString& text : texts)
        parts << NotationText::jsonString(text);
    return u'[' + parts.join(u',') + u']';
}

} // namespace

namespace NotationText {

QString plainBlock(const QString& name, const ColorNotations& n)
{
    return QStringLiteral("name %1\n").arg(name)
        + QStringLiteral("hex %1\nrgb %2\nhsl %3\nhsb %4\nlab %5\ncmyk %6\nnscolor %7\nuicolor %8\n")
        .arg(n.hex, spaced(n.rgb), spaced(n.hsl), spaced(n.hsb), spaced(n.lab), spaced(n.cmyk), n.nsColor, n.uiColor);
}

QString jsonLine(const QString& input, const QString& name, const ColorNotations& n)
{
    // Written by hand: the key order is part of the interface, and
    // QJsonDocument would sort the keys.
    return QStringLiteral("{\"input\":%1,\"name\":%2,").arg(jsonString(input), jsonString(name))
        + QStringLiteral("\"hex\":%2,\"rgb\":%3,\"hsl\":%4,\"hsb\":%5,\"lab\":%6,\"cmyk\":%7,"
                          "\"nscolor\":%8,\"uicolor\":%9}")
        .arg(jsonString(n.hex), jsonArray(n.rgb), jsonArray(n.hsl), jsonArray(n.hsb),
             jsonArray(n.lab), jsonArray(n.cmyk), jsonString(n.nsColor), jsonString(n.uiColor));
}

QString jsonSpaces(const QStringList& rgbNames, const QStringList& cmykNames)
{
    return QStringLiteral("{\"rgb\":%1,\"cmyk\":%2}").arg(jsonArray(rgbNames), jsonArray(cmykNames));
}

QString jsonString(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'"': out += QLatin1String("\\\""); break;
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\b': out += QLatin1String("\\b"); break;
        case u'\f': out += QLatin1String("\\f"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.isSurrogate())
                // Control characters must be escaped. Surrogates are escaped
                // too: a pair reads back as the same character, and a lone one
                // (from an argument that was not valid text) would not
                // survive the UTF-8 output.
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

} // namespace NotationText
