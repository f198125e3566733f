#include "NamesDatabaseBuilder.h"

#include "Log.h"

#include "NameValues.h"
#include "sqlite/SqlDatabase.h"

#include "colour/HexCodec.h"

#include <QStringDecoder>

namespace {

const QString dropTable = QStringLiteral("DROP TABLE IF EXISTS colors;");
const QString createTable = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS colors(id int primary key, hexCode text, name text, r int, g int, b int, h int, "
    "s int, l int)");
const QString insertRow = QStringLiteral("INSERT INTO colors (id,name,hexCode,r,g,b,h,s,l) VALUES (?,?,?,?,?,?,?,?,?)");

// "#" and the line-break characters, which a code may carry from the file
// (a CRLF file leaves "\r" at the end of every line).
bool isTrimmed(QChar c)
{
    switch (c.unicode()) {
    case u'#':
    case 0x0a:
    case 0x0b:
    case 0x0c:
    case 0x0d:
    case 0x85:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

QString trimmedCode(QStringView field)
{
    qsizetype begin = 0, end = field.size();
    while (begin < end && isTrimmed(field[begin]))
        ++begin;
    while (end > begin && isTrimmed(field[end - 1]))
        --end;
    return field.mid(begin, end - begin).toString();
}

NamesDatabaseBuilder::Result failure(const QString& error)
{
    qCWarning(lcNames, "names database build failed: %s", qUtf8Printable(error));
    return {NamesDatabaseBuilder::Result::Status::Failed, 0, error};
}

} // namespace

namespace NamesDatabaseBuilder {

QStringList linesFromCSV(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return {};
    return text.split(u'\n');
}

Result generateDatabaseFromCSV(const QStringList& lines, const QString& databasePath, const ColorSpacePtr& wellSpace,
                               const std::atomic<bool>* cancelled)
{
    std::unique_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(databasePath);
    if (!db || !db->open())
        return failure(QStringLiteral("cannot open %1: %2").arg(databasePath, db ? db->lastErrorMessage() : QString()));
    return generateDatabaseFromCSV(lines, *db, wellSpace, cancelled);
}

Result generateDatabaseFromCSV(const QStringList& lines, SqlDatabase& db, const ColorSpacePtr& wellSpace,
                               const std::atomic<bool>* cancelled)
{
    // One INSERT for every row: prepared once, not 30,000 times.
    db.shouldCacheStatements = true;
    // The first failure ends the build with its own reason. SQLite rolls
    // the whole transaction back on some of them (a full disk), table
    // included: going on would only fail every later row for "no such
    // table", and the COMMIT for want of a transaction.
    auto fail = [&db] {
        const QString error = db.lastErrorMessage();
        if (db.inTransaction())
            db.executeUpdate(QStringLiteral("ROLLBACK"));
        return failure(error);
    };

    // One transaction for the whole table: a transaction per row costs a
    // disk sync per row (half a minute for the full dataset), and a
    // cancelled or failed build rolls back to the database as it was.
    if (!db.executeUpdate(QStringLiteral("BEGIN")))
        return failure(db.lastErrorMessage());
    if (!db.executeUpdate(dropTable) || !db.executeUpdate(createTable))
        return fail();

    int rows = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (cancelled && cancelled->load(std::memory_order_relaxed)) {
            db.executeUpdate(QStringLiteral("ROLLBACK"));
            return {Result::Status::Cancelled, 0, {}};
        }
        if (i == 0)
            continue; // the header
        const QStringView line = lines[i];
        const qsizetype comma = line.indexOf(u',');
        // Exactly two fields; quotes mean nothing, so a quoted name holding
        // a comma is skipped too.
        if (comma < 0 || line.indexOf(u',', comma + 1) >= 0)
            continue;
        const QString name = line.left(comma).toString();
        const QString hex = trimmedCode(line.mid(comma + 1));
        const std::optional<Color> color = HexCodec::colorWithHexColorString(hex, wellSpace);
        if (!color) {
            qCWarning(lcNames, "error = cannot move %s into %s", qUtf8Printable(hex),
                      qUtf8Printable(wellSpace->name()));
            continue;
        }
        const NameValues v = NameValues::fromColor(*color);
        if (!db.executeUpdate(insertRow, {static_cast<int>(i - 1), name, hex, v.r, v.g, v.b, v.h, v.s, v.l}))
            return fail();
        ++rows;
    }

    if (!db.executeUpdate(QStringLiteral("COMMIT")))
        return fail();
    return {Result::Status::Built, rows, {}};
}

} // namespace NamesDatabaseBuilder
