#include "GimpPalette.h"

#include "colour/ColorSpace.h"

#include <QStringView>

namespace GimpPalette {

namespace {

const QString header = QStringLiteral("GIMP Palette");

// One component of a colour line; `problem` says what is wrong with it.
std::optional<int> component(QStringView token, QString& problem)
{
    bool number = false;
    const int value = token.toInt(&number);
    if (token.isEmpty())
        problem = QStringLiteral("it has fewer than three values");
    else if (!number)
        problem = QStringLiteral("\"%1\" is not a number").arg(token.left(20));
    else if (value < 0 || value > 255)
        problem = QStringLiteral("the value %1 is outside 0 to 255").arg(value);
    else
        return value;
    return std::nullopt;
}

// Tabs and newlines in a name would break the line it is written on.
QString oneLine(const QString& text)
{
    QString line = text;
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return line;
}

} // namespace

PaletteReadResult readColorList(const QByteArray& bytes)
{
    if (bytes.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    // Line by line as views: a file of sixteen million empty lines must not
    // become sixteen million strings.
    PaletteReadResult result;
    const QStringView all(text);
    qsizetype number = 0;
    for (qsizetype start = 0; start <= all.size(); ++number) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0)
            end = all.size();
        const QStringView line = all.sliced(start, end - start).trimmed(); // also drops the CR of CR LF
        start = end + 1;
        if (number == 0) {
            if (line != header)
                return PaletteReadResult::refused(
                    QStringLiteral("This is not a GIMP palette: it does not begin with \"GIMP Palette\"."));
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(QStringLiteral("Name:"))) {
            result.name = line.sliced(5).trimmed().toString();
            continue;
        }
        if (line.startsWith(QStringLiteral("Columns:")))
            continue; // only how GIMP lays the palette out

        // Three values and an optional name, separated by any white space;
        // the name keeps its inner spacing.
        int values[3] = {0, 0, 0};
        QString problem;
        qsizetype pos = 0;
        for (int v = 0; v < 3 && problem.isEmpty(); ++v) {
            while (pos < line.size() && line[pos].isSpace())
                ++pos;
            const qsizetype from = pos;
            while (pos < line.size() && !line[pos].isSpace())
                ++pos;
            values[v] = component(line.sliced(from, pos - from), problem).value_or(0);
        }
        if (!problem.isEmpty()) {
            result.noteDamage(QStringLiteral("Line %1 is not a colour: %2.").arg(number + 1).arg(problem));
            continue;
        }
        result.colors.append({line.sliced(pos).trimmed().toString(), Color::fromIntegers(values[0], values[1], values[2])});
    }
    return result;
}

QByteArray writeColorList(const ColorList& list)
{
    QString text = header + QStringLiteral("\nName: ") + oneLine(list.name()) + QStringLiteral("\n#\n");
    for (const ColorList::Entry& entry : list.entries()) {
        // A colour that cannot be converted keeps its own components rather
        // than vanish from the file.
        const Color srgb = ColorSpace::convert(entry.color, ColorSpace::sRGB()).value_or(entry.color);
        const auto [r, g, b] = srgb.integerComponents();
        text += QStringLiteral("%1 %2 %3\t%4\n").arg(r, 3).arg(g, 3).arg(b, 3).arg(oneLine(entry.key));
    }
    return text.toUtf8();
}

} // namespace GimpPalette
