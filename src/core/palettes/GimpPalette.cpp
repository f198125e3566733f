#include "GimpPalette.h"

#include "colour/ColorSpace.h"

#include <QStringList>

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
    const QStringList lines = text.split(u'\n');
    if (lines.first().trimmed() != header)
        return PaletteReadResult::refused(QStringLiteral("This is not a GIMP palette: it does not begin with \"GIMP Palette\"."));

    PaletteReadResult result;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed(); // also drops the CR of CR LF
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(QStringLiteral("Name:"))) {
            result.name = line.mid(5).trimmed();
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
            const qsizetype start = pos;
            while (pos < line.size() && !line[pos].isSpace())
                ++pos;
            values[v] = component(QStringView(line).sliced(start, pos - start), problem).value_or(0);
        }
        if (!problem.isEmpty()) {
            result.noteDamage(QStringLiteral("Line %1 is not a colour: %2.").arg(i + 1).arg(problem));
            continue;
        }
        result.colors.append({line.mid(pos).trimmed(), Color::fromIntegers(values[0], values[1], values[2])});
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
