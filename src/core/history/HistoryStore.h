#pragma once

#include "HistoryDatabase.h"
#include "HistoryEntry.h"
#include "HistoryStoreError.h"
#include "PaletteRecord.h"

#include "colour/Color.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class ColorSpaceRegistry;
class HistoryWriter;
class UserDefaults;

// The dated log of settled colours, in "Palettes.storedata" in the support
// folder. Every operation is called on the main thread. Recording an entry
// takes its values from the settings here, then hands it to a writer thread
// with its own connection (HistoryWriter), which looks up the colour's name
// and commits; the store announces the entry afterwards with
// historyItemSaved.
//
// The store opens on first use or through open(). A store that cannot be
// opened is the program's one fatal path: openFailed carries the error to
// show before the program ends; until then every operation does nothing and
// reads come back empty.
class WellColorSpace;

class HistoryStore : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        // The folder holding the store; empty means the support folder.
        QString folder;
        // The window's colour space, read when an entry is recorded or read;
        // none means sRGB.
        const WellColorSpace* wellColorSpace = nullptr;
        // The closest colour name. It runs on the writer thread, so it must
        // only read data no other thread changes. Empty gives empty names.
        std::function<QString(const Color&)> closestColorName;
        // The clock; empty means the current time.
        std::function<QDateTime()> now;
    };

    // A store found damaged when it opened, and set aside for a fresh one.
    struct Recovery
    {
        QString filePath;       // where it was, and the fresh store now is
        QString movedTo;        // where the damaged file is kept
        HistoryStoreError damage; // what SQLite found
    };

    HistoryStore(UserDefaults& defaults, const ColorSpaceRegistry& spaces, Options options, QObject* parent = nullptr);
    // Finishes the entries already handed to the writer before it returns.
    ~HistoryStore() override;

    // Opens the store, creating its folder and file when missing. Answers
    // the error of the fatal path (domain "YOUR_ERROR_DOMAIN", code 9999);
    // it is also logged and sent with openFailed, once. Calling it again
    // answers the first result.
    //
    // Every page of the file is checked first. A damaged file (SQLite finds
    // it malformed, or not a database at all) is moved aside with its WAL,
    // never deleted, and a fresh store takes its place: recovery() then says
    // where the old one went, for the user to be told.
    std::optional<HistoryStoreError> open();
    const std::optional<Recovery>& recovery() const { return recovered; }
    bool isOpen() const;
    QString filePath() const;

    // Records `color` (in the window's colour space) with the current swatch
    // column, now, under today's day string. Returns at once.
    void saveHistoryItem(const Color& color);

    // The whole log by day string, each day's entries newest first. The
    // days have no order: see DayFormat::sortedNewestFirst.
    QHash<QString, QList<HistoryEntry>> getHistory();
    // A day's entries, newest first; `offset` skips that many and `limit`
    // caps the count when not negative, so a menu can load today's first
    // twenty and the rest only when asked. Empty when the day has none or
    // the query fails.
    QList<HistoryEntry> historyForDateObjects(const QString& day, int limit = -1, int offset = 0);
    // Every day string, in descending string order. Cheap: no entry is read.
    QStringList dateManagedObjectArray();
    // Deletes every entry and every day, including entries handed to the
    // writer before the call.
    void deleteAllHistory();
    // The palettes of the older format; read only by their migration.
    QList<PaletteRecord> palettesManagedObjectArray();
    // Deletes one of them (logged when that fails).
    bool deletePaletteRecord(const PaletteRecord& record);

    // The archived list of the hex codes of the swatch column
    // (`currentColors`), top first: what an entry stores as its colours.
    QByteArray getCurrentSwatchesAndConvertToHexDataArray() const;

    // Blocks until the writer has recorded every entry handed to it, and
    // delivers their historyItemSaved. For shutdown and tests.
    void waitForPendingSaves();

Q_SIGNALS:
    // An entry is committed to disk; `entry` is in the window's colour space.
    void historyItemSaved(const QString& day, const HistoryEntry& entry);
    void openFailed(const HistoryStoreError& error);

private:
    bool ensureOpen();
    std::optional<HistoryStoreError> openSoundFile();
    ColorSpacePtr wellSpace() const;

    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    Options options;
    HistoryDatabase database;
    std::optional<std::optional<HistoryStoreError>> openResult; // set once open() ran
    std::optional<Recovery> recovered;
    std::unique_ptr<HistoryWriter> writer;
};
