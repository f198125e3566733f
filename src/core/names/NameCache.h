#pragma once

#include "NameTable.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>

// The names the program holds in memory: nothing (not loaded) or one
// NameTable loaded from the live database. Loading and freeing happen on the
// main thread; lookups may come from any thread, each taking the table of
// the moment, so a free or reload can never pull a table from under a lookup
// in progress.
//
// While nothing is loaded every colour is "Invalid Color", no name has a code
// and nothing completes.
class NameCache : public QObject
{
    Q_OBJECT

public:
    explicit NameCache(QString databasePath, QObject* parent = nullptr);

    const QString& databasePath() const { return path; }

    // Loads the table unless one is loaded; a database that cannot be read
    // loads as an empty table. With `prepareCompletionsAhead` (the default)
    // the completion list is then sorted on a worker thread, so the first
    // keystroke in the name field does not wait for it.
    void cacheNamesDatabase();
    void freeNamesDatabase();
    bool isLoaded() const { return snapshot() != nullptr; }
    void setPrepareCompletionsAhead(bool ahead) { prepareAhead = ahead; }

    // The table of the moment; null while nothing is loaded.
    std::shared_ptr<const NameTable> snapshot() const { return table.load(); }

    // See NameTable. `color` is in the window's colour space.
    QString closestColorNameToColor(const Color& color) const;
    QString closestColorNameToColor(const QString& hexText, const ColorSpacePtr& wellSpace) const;
    std::optional<QString> hexCodeForName(const QString& name) const;
    QStringList completions(const QString& text) const;

Q_SIGNALS:
    // After a load or a free: names shown so far may be stale.
    void cacheChanged();

private:
    QString path;
    bool prepareAhead = true;
    std::atomic<std::shared_ptr<const NameTable>> table;
};
