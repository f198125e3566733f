#include "NameCache.h"

#include <QtConcurrent/QtConcurrentRun>

#include <malloc.h>

NameCache::NameCache(QString databasePath, QObject* parent)
    : QObject(parent)
    , path(std::move(databasePath))
    , load([file = path] { return NameTable::load(file); })
{
}

std::shared_ptr<const NameTable> NameCache::orEmpty(std::shared_ptr<const NameTable> loaded)
{
    return loaded ? loaded : std::make_shared<const NameTable>(std::vector<NameTable::Row>());
}

NameCache::~NameCache()
{
    // One that has not started yet need not start at all.
    for (QFuture<void>& worker : workers) {
        worker.cancel();
        worker.waitForFinished();
    }
}

void NameCache::cacheNamesDatabase()
{
    if (table.load())
        return;
    // A load on its way is abandoned: this one reads the file as it is now.
    ++generation;
    publish(orEmpty(load()));
}

namespace {

// Reading and sorting the names leaves megabytes of freed temporaries in the
// worker's heap arena, which glibc keeps for a program that stays open all
// day: hand them back to the system once the work is done.
void giveBackFreedMemory()
{
    malloc_trim(0);
}

} // namespace

void NameCache::cacheNamesDatabaseInBackground(std::function<void()> beforeLoad)
{
    if (table.load() || loading)
        return;
    loading = true;
    const quint64 ticket = ++generation;
    // At start-up the event loop comes round once the window is on the
    // screen: a worker reading names before then would compete with the
    // window for the processor, and on two cores it shows.
    QMetaObject::invokeMethod(
        this,
        [this, ticket, beforeLoad = std::move(beforeLoad)] {
            if (ticket != generation)
                return;
            workers.removeIf([](const QFuture<void>& worker) { return worker.isFinished(); });
            workers << QtConcurrent::run([this, ticket, loader = load, beforeLoad] {
                if (beforeLoad)
                    beforeLoad();
                std::shared_ptr<const NameTable> loaded = orEmpty(loader());
                giveBackFreedMemory();
                QMetaObject::invokeMethod(
                    this,
                    [this, ticket, loaded = std::move(loaded)] {
                        if (ticket == generation)
                            publish(loaded);
                    },
                    Qt::QueuedConnection);
            });
        },
        Qt::QueuedConnection);
}

void NameCache::publish(std::shared_ptr<const NameTable> loaded)
{
    if (prepareAhead) {
        // The task holds its own reference: a free in the meantime only
        // means the sorted list is made for a table nobody reads any more.
        (void)QtConcurrent::run([loaded] {
            loaded->prepareCompletions();
            giveBackFreedMemory();
        });
    }
    // The table before the flag: a reader on another thread then sees one
    // or the other, never a moment with neither.
    table.store(std::move(loaded));
    loading = false;
    Q_EMIT cacheChanged();
}

void NameCache::freeNamesDatabase()
{
    ++generation;
    loading = false;
    if (!table.exchange(nullptr))
        return;
    Q_EMIT cacheChanged();
}

QString NameCache::unknownName() const
{
    return loading ? QString() : NameTable::invalidColorName;
}

QString NameCache::closestColorNameToColor(const Color& color) const
{
    const std::shared_ptr<const NameTable> names = snapshot();
    return names ? names->closestColorNameToColor(color) : unknownName();
}

QString NameCache::closestColorNameToColor(const QString& hexText, const ColorSpacePtr& wellSpace) const
{
    const std::shared_ptr<const NameTable> names = snapshot();
    return names ? names->closestColorNameToColor(hexText, wellSpace) : unknownName();
}

std::optional<QString> NameCache::hexCodeForName(const QString& name) const
{
    const std::shared_ptr<const NameTable> names = snapshot();
    return names ? names->hexCodeForName(name) : std::nullopt;
}

QStringList NameCache::completions(const QString& text) const
{
    const std::shared_ptr<const NameTable> names = snapshot();
    return names ? names->completions(text) : QStringList();
}
