#include "HistoryCommand.h"

#include "Arguments.h"
#include "NotationText.h"
#include "Usage.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "history/DayFormat.h"
#include "history/HistoryDatabase.h"
#include "settings/Paths.h"

#include <QFileInfo>

namespace {

QString code(const Color& color)
{
    // Entries are read in sRGB, where every stored code has its colour.
    return HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or(QString());
}

QStringList codes(const QList<Color>& colors)
{
    QStringList list;
    for (const Color& color : colors)
        list << code(color);
    return list;
}

// ISO 8601 with milliseconds and the local offset, "2026-12-06T14:03:05.120+01:00".
QString isoTime(const QDateTime& saved)
{
    return saved.toOffsetFromUtc(saved.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString jsonLine(const QString& day, const HistoryEntry& entry)
{
    QStringList colors;
    for (const QString& c : codes(entry.colors))
        colors << NotationText::jsonString(c);
    // Written by hand: the key order is part of the interface.
    return QStringLiteral("{\"day\":%1,\"saved\":%2,\"name\":%3,\"hex\":%4,\"colors\":[%5]}")
        .arg(NotationText::jsonString(day), NotationText::jsonString(isoTime(entry.saved)),
             NotationText::jsonString(entry.name), NotationText::jsonString(code(entry.last)), colors.join(u','));
}

QString plainLine(const QString& day, const HistoryEntry& entry)
{
    return QStringLiteral("%1\t%2\t%3\t%4\t%5")
        .arg(day, entry.saved.toString(QStringLiteral("HH:mm:ss")), entry.name, code(entry.last),
             codes(entry.colors).join(u' '));
}

} // namespace

namespace HistoryCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString jsonOption = QStringLiteral("--json");
    const Arguments args = Arguments::parse(arguments, {jsonOption}, {});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("history"), Usage::Values::none, out, err))
        return *status;

    // No store yet: nothing has been recorded.
    const QString path = Paths::applicationSupportFolder() + u'/' + HistoryDatabase::fileName;
    if (!QFileInfo(path).isFile())
        return Usage::success;

    HistoryDatabase database;
    std::optional<HistoryStoreError> error = database.open(path, HistoryDatabase::Access::ReadOnly);
    // One query: the whole log as of one moment, even while the program
    // records more.
    std::optional<QHash<QString, QList<HistoryEntry>>> all;
    if (!error) {
        all = database.allEntries(ColorSpace::sRGB());
        if (!all)
            error = database.lastError();
    }
    if (error) {
        Usage::printError(err, QStringLiteral("cannot read the history store \"%1\": %2")
                                   .arg(path, error->localizedDescription));
        return Usage::failure;
    }

    const bool json = args.flags.contains(jsonOption);
    for (const QString& day : DayFormat::sortedNewestFirst(all->keys())) {
        for (const HistoryEntry& entry : all->value(day))
            out << (json ? jsonLine(day, entry) : plainLine(day, entry)) << '\n';
    }
    return Usage::success;
}

} // namespace HistoryCommand
