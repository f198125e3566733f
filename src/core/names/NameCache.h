#pragma once

#include "NameTable.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// The names the program holds in memory: nothing (not loaded) or one
// NameTable loaded from the live database. Loading and freeing are asked for
// on the main thread; lookups may come from any thread, each taking the
// table of the moment, so a free or reload can never pull a table from under
// a lookup in progress.
//
// While nothing is loaded every colour is "Invalid Color", no name has a code
// and nothing completes. While a load runs on a worker thread a colour's name
// is empty instead: the names are not known yet, which is not the same as
// knowing that none fits.
class NameCache : public QObject
{
    Q_OBJECT

public:
    explicit NameCache(QString databasePath, QObject* parent = nullptr);
    // Waits for a load still running on a worker thread: it posts its
    // table to this object.
    ~NameCache() override;

    const QString& databasePath() const { return path; }

    // How a table is read: by default NameTable::load of the path, a
    // database it cannot read giving an empty table. A background load runs
    // it on a worker thread. Set before the first load.
    using Loader = std::function<std::shared_ptr<const NameTable>()>;
    void setLoader(Loader loader) { load = std::move(loader); }

    // Loads the table unless one is loaded; a database that cannot be read
    // loads as an empty table. It takes the place of a load on its way. With
    // `prepareCompletionsAhead` (the default) the completion list is then
    // sorted on a worker thread, so the first keystroke in the name field
    // does not wait for it.
    void cacheNamesDatabase();
    // Loads the table on a worker thread unless one is loaded or on its way,
    // and returns at once. The worker starts when this thread's event loop
    // next comes round, and runs `beforeLoad` first; its table is handed
    // over on this thread, with cacheChanged.
    void cacheNamesDatabaseInBackground(std::function<void()> beforeLoad = {});
    // Also abandons a load on its way (its worker does not start, or its
    // table is never taken), so a free cannot be undone by a load that was
    // asked for before it.
    void freeNamesDatabase();
    bool isLoaded() const { return snapshot() != nullptr; }
    bool isLoading() const { return loading; }
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
    void publish(std::shared_ptr<const NameTable> loaded);
    static std::shared_ptr<const NameTable> orEmpty(std::shared_ptr<const NameTable> loaded);
    QString unknownName() const;

    QString path;
    Loader load;
    bool prepareAhead = true;
    std::atomic<std::shared_ptr<const NameTable>> table;
    std::atomic<bool> loading = false;
    // Counts the loads asked for and the frees: a worker's table is taken
    // only while its number is still the latest.
    quint64 generation = 0;
    QList<QFuture<void>> workers;
};
