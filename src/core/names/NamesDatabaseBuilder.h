#pragma once

#include "colour/ColorSpace.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>

class SqlDatabase;

// Turns the colour-names dataset's CSV ("name,hex" lines under a header line)
// into the `colors` table of a names database. The shipped database and every
// downloaded update go through this one builder, so they can never disagree.
namespace NamesDatabaseBuilder {

struct Result
{
    enum class Status { Built, Cancelled, Failed };
    Status status = Status::Failed;
    int rows = 0;  // rows stored (0 unless Built)
    QString error; // why it failed
};

// The CSV's lines: UTF-8 text split at every "\n", a carriage return staying
// on its line. No line at all when the bytes are not valid UTF-8.
QStringList linesFromCSV(const QByteArray& bytes);

// Replaces the `colors` table of the database at `databasePath` (created when
// missing) with one row per line of exactly two comma-separated fields,
// skipping the header. A row's id is its line's index minus one, so skipped
// lines leave gaps. Codes are read with `wellSpace` as the hex field reads
// them, so the stored integers are those of that space.
//
// All of it is one transaction: `cancelled`, polled before each line, rolls
// everything back and leaves the database as it was, and so does the first
// statement that fails (a full disk), whose SQLite message is the error.
Result generateDatabaseFromCSV(const QStringList& lines, const QString& databasePath, const ColorSpacePtr& wellSpace,
                               const std::atomic<bool>* cancelled = nullptr);
// The same into a connection already open.
Result generateDatabaseFromCSV(const QStringList& lines, SqlDatabase& db, const ColorSpacePtr& wellSpace,
                               const std::atomic<bool>* cancelled = nullptr);

} // namespace NamesDatabaseBuilder
