#include "NameTable.h"

#include "sqlite/SqlDatabaseQueue.h"
#include "sqlite/SqlResultSet.h"

#include "colour/HexCodec.h"

#include <climits>
#include <cmath>

#include <sqlite3.h>

namespace {

// A double truncated toward zero into 32 bits; values that do not fit give
// INT_MIN, as the processor's own conversion does.
std::int32_t truncatedToInt32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT_MIN;
    return static_cast<std::int32_t>(value);
}

// The 24-bit value of a code in stored form (six lowercase hexadecimal
// digits), the only form a colour's own key can take.
std::optional<int> storedFormValue(const QString& code)
{
    if (code.size() != 6)
        return std::nullopt;
    int value = 0;
    for (QChar c : code) {
        const char16_t u = c.unicode();
        int digit;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

const QString NameTable::invalidColorName = QStringLiteral("Invalid Color");

NameTable::NameTable(const std::vector<Row>& rows)
{
    colorNames.reserve(static_cast<qsizetype>(rows.size()));
    allResults.reserve(static_cast<qsizetype>(rows.size()));
    records.reserve(rows.size());
    // A code's record is its last row, kept at that row's place in the
    // order: a later row with a known code retires the earlier record.
    std::vector<bool> retired;
    bool anyRetired = false;
    for (const Row& row : rows) {
        colorNames.insert(row.name, row.hexCode);
        const int record = static_cast<int>(records.size());
        records.push_back({row.values, row.name, row.hexCode});
        retired.push_back(false);
        const auto known = allResults.find(row.hexCode);
        if (known == allResults.end()) {
            allResults.insert(row.hexCode, record);
        } else {
            retired[*known] = true;
            anyRetired = true;
            *known = record;
        }
    }
    if (anyRetired) {
        std::vector<Record> kept;
        kept.reserve(records.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            if (!retired[i])
                kept.push_back(std::move(records[i]));
        records = std::move(kept);
        allResults.clear();
        for (std::size_t i = 0; i < records.size(); ++i)
            allResults.insert(records[i].hexCode, static_cast<int>(i));
    }
    allResultsByValue.reserve(static_cast<qsizetype>(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i)
        if (const std::optional<int> value = storedFormValue(records[i].hexCode))
            allResultsByValue.insert(*value, static_cast<int>(i));

    std::vector<NameValues> values;
    values.reserve(records.size());
    indexCoversAll = true;
    for (const Record& record : records) {
        values.push_back(record.values);
        indexCoversAll = indexCoversAll && NearestColorIndex::covers(record.values);
    }
    if (indexCoversAll)
        index = NearestColorIndex(values);
}

std::shared_ptr<const NameTable> NameTable::load(const QString& path, QString* error)
{
    std::vector<Row> rows;
    QString failure;
    // Read-only: loading names must never leave an empty database behind
    // where none was.
    const std::unique_ptr<SqlDatabaseQueue> queue = SqlDatabaseQueue::databaseQueueWithPath(path, SQLITE_OPEN_READONLY);
    if (!queue) {
        failure = QStringLiteral("unable to open database file");
    } else {
        queue->inDatabase([&rows, &failure](SqlDatabase* db) {
            if (!db) {
                failure = QStringLiteral("unable to open database file");
                return;
            }
            // The caller is told why, and says it in its own words.
            db->logsErrors = false;
            const std::unique_ptr<SqlResultSet> rs = db->executeQuery(QStringLiteral("SELECT * FROM colors"));
            if (!rs) {
                failure = db->lastErrorMessage();
                return;
            }
            // Columns by name, resolved once rather than per row.
            int r = -1, g, b, h, s, l, name, hexCode;
            while (rs->next()) {
                if (r == -1) {
                    r = rs->columnIndexForName(QStringLiteral("r"));
                    g = rs->columnIndexForName(QStringLiteral("g"));
                    b = rs->columnIndexForName(QStringLiteral("b"));
                    h = rs->columnIndexForName(QStringLiteral("h"));
                    s = rs->columnIndexForName(QStringLiteral("s"));
                    l = rs->columnIndexForName(QStringLiteral("l"));
                    name = rs->columnIndexForName(QStringLiteral("name"));
                    hexCode = rs->columnIndexForName(QStringLiteral("hexCode"));
                }
                rows.push_back({rs->stringForColumnIndex(hexCode).value_or(QString()),
                                rs->stringForColumnIndex(name).value_or(QString()),
                                {rs->intForColumnIndex(r), rs->intForColumnIndex(g), rs->intForColumnIndex(b),
                                 rs->intForColumnIndex(h), rs->intForColumnIndex(s), rs->intForColumnIndex(l)}});
            }
            // A table cut short by a damaged page would answer wrong names
            // as if they were right.
            if (rs->failed())
                failure = rs->errorMessage();
        });
    }
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return nullptr;
    }
    return std::make_shared<const NameTable>(rows);
}

QString NameTable::closestColorNameToColor(const Color& color) const
{
    return closestColorName(NameValues::fromColor(color));
}

QString NameTable::closestColorNameToColor(const QString& hexText, const ColorSpacePtr& wellSpace) const
{
    const std::optional<Color> color = HexCodec::colorWithHexColorString(hexText, wellSpace);
    return closestColorNameToColor(color.value_or(Color()));
}

std::optional<int> NameTable::exactHit(int r, int g, int b) const
{
    if (r >= 0 && r <= 255 && g >= 0 && g <= 255 && b >= 0 && b <= 255) {
        const auto found = allResultsByValue.constFind((r << 16) | (g << 8) | b);
        return found != allResultsByValue.constEnd() ? std::optional<int>(*found) : std::nullopt;
    }
    // Outside 0..255 a component prints as more than two digits (a negative
    // one as eight), which only an odd stored code could equal.
    const QString key = QString::asprintf("%02x%02x%02x", static_cast<unsigned>(r), static_cast<unsigned>(g),
                                          static_cast<unsigned>(b));
    const auto found = allResults.constFind(key);
    return found != allResults.constEnd() ? std::optional<int>(*found) : std::nullopt;
}

QString NameTable::closestColorName(const NameValues& target) const
{
    if (const std::optional<int> hit = exactHit(target.r, target.g, target.b))
        return records[*hit].name;
    if (!indexCoversAll || !NearestColorIndex::covers(target))
        return closestColorNameByScan(target);
    const int nearest = index.nearest(target);
    return nearest < 0 ? invalidColorName : records[nearest].name;
}

QString NameTable::closestColorNameByScan(const NameValues& t) const
{
    if (const std::optional<int> hit = exactHit(t.r, t.g, t.b))
        return records[*hit].name;
    auto square = [](std::int32_t a, std::int32_t b) {
        const double diff = static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
        return diff * diff;
    };
    std::int32_t best = -1;
    const QString* result = &invalidColorName;
    for (const Record& record : records) {
        const NameValues& v = record.values;
        const std::int32_t dRGB = truncatedToInt32(square(t.r, v.r) + square(t.g, v.g) + square(t.b, v.b));
        const std::int32_t dHSL = truncatedToInt32(square(t.h, v.h) + square(t.s, v.s) + square(t.l, v.l));
        // 32-bit arithmetic that wraps rather than overflowing.
        const std::int32_t d = static_cast<std::int32_t>(static_cast<std::uint32_t>(dRGB)
                                                         + 2u * static_cast<std::uint32_t>(dHSL));
        if (best < 0 || d < best) {
            best = d;
            result = &record.name;
        }
    }
    return *result;
}

std::optional<QString> NameTable::hexCodeForName(const QString& name) const
{
    const auto found = colorNames.constFind(name);
    return found != colorNames.constEnd() ? std::optional<QString>(*found) : std::nullopt;
}

std::optional<NameTable::Row> NameTable::recordForHexCode(const QString& hexCode) const
{
    const auto found = allResults.constFind(hexCode);
    if (found == allResults.constEnd())
        return std::nullopt;
    const Record& record = records[*found];
    return Row{record.hexCode, record.name, record.values};
}

void NameTable::prepareCompletions() const
{
    std::call_once(completionsMade, [this] { completionList = std::make_unique<const NameCompletions>(colorNames.keys()); });
}

QStringList NameTable::completions(const QString& text) const
{
    prepareCompletions();
    return completionList->completions(text);
}
