#pragma once

#include "NameCompletions.h"
#include "NameValues.h"
#include "NearestColorIndex.h"

#include "colour/ColorSpace.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// Everything the program knows about colour names at one moment, loaded once
// from the `colors` table and never changed afterwards: readers on any thread
// share one table through a std::shared_ptr<const NameTable>, and a reload
// makes a new table instead of touching this one.
//
// By code (allResults): a row's record is found by its `hexCode` as stored; a
// later row with the same code replaces the earlier one. By name (colorNames):
// a name finds its row's code; a later row with the same name wins. So a name
// can lead to a code whose record carries another, later name.
class NameTable
{
public:
    static const QString invalidColorName; // "Invalid Color"

    struct Row
    {
        QString hexCode;
        QString name;
        NameValues values;
    };

    // Rows in table order. An empty table answers "Invalid Color" to every
    // colour.
    explicit NameTable(const std::vector<Row>& rows);

    // The `colors` table of the database at `path`, read-only. Null, with
    // SQLite's reason in `error`, when the database is missing, is not a
    // names database, or cannot be read to its last row.
    static std::shared_ptr<const NameTable> load(const QString& path, QString* error = nullptr);

    // Records by code (distinct codes), and names.
    qsizetype recordCount() const { return static_cast<qsizetype>(records.size()); }
    qsizetype nameCount() const { return colorNames.size(); }

    // The name of the nearest record. A colour whose integer code is a
    // stored code gets that record's name; otherwise the record at the least
    // distance dRGB + 2·dHSL, the earliest row among equals (see NameValues).
    // `color` is taken as it is: callers pass it in the window's space.
    QString closestColorNameToColor(const Color& color) const;
    // A hexadecimal text, read as the hex field reads it into `wellSpace`.
    QString closestColorNameToColor(const QString& hexText, const ColorSpacePtr& wellSpace) const;
    QString closestColorName(const NameValues& target) const;
    // The same answer by comparing with every record in turn: the definition
    // the index is held to.
    QString closestColorNameByScan(const NameValues& target) const;

    // The stored code of a name, matched exactly (case and accents count).
    std::optional<QString> hexCodeForName(const QString& name) const;
    // The record of a stored code, as its name and values.
    std::optional<Row> recordForHexCode(const QString& hexCode) const;

    // See NameCompletions. The sorted list is made on the first call (or by
    // prepareCompletions, which a loader runs ahead on a worker thread).
    QStringList completions(const QString& text) const;
    void prepareCompletions() const;

private:
    struct Record
    {
        NameValues values;
        QString name;
        QString hexCode;
    };

    std::optional<int> exactHit(int r, int g, int b) const;

    std::vector<Record> records;        // table order of the rows that survive
    QHash<QString, int> allResults;     // hexCode -> record
    QHash<int, int> allResultsByValue;  // 0xRRGGBB -> record, for codes in stored form
    QHash<QString, QString> colorNames; // name -> hexCode
    NearestColorIndex index;
    bool indexCoversAll = false;

    mutable std::once_flag completionsMade;
    mutable std::unique_ptr<const NameCompletions> completionList;
};
