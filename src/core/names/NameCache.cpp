#include "NameCache.h"

#include <QtConcurrent/QtConcurrentRun>

NameCache::NameCache(QString databasePath, QObject* parent)
    : QObject(parent)
    , path(std::move(databasePath))
{
}

void NameCache::cacheNamesDatabase()
{
    if (table.load())
        return;
    std::shared_ptr<const NameTable> loaded = NameTable::load(path);
    if (prepareAhead) {
        // The task holds its own reference: a free in the meantime only
        // means the sorted list is made for a table nobody reads any more.
        (void)QtConcurrent::run([loaded] { loaded->prepareCompletions(); });
    }
    table.store(std::move(loaded));
    Q_EMIT cacheChanged();
}

void NameCache::freeNamesDatabase()
{
    if (!table.exchange(nullptr))
        return;
    Q_EMIT cacheChanged();
}

QString NameCache::closestColorNameToColor(const Color& color) const
{
    const std::shared_ptr<const NameTable> names = snapshot();
    return names ? names->closestColorNameToColor(color) : NameTable::invalidColorName;
}

QString NameCache::closestColorNameToColor(const QString& hexText, const ColorSpacePtr& wellSpace) const
{
    const std::shared_ptr<const NameTable> names = snapshot();
    return names ? names->closestColorNameToColor(hexText, wellSpace) : NameTable::invalidColorName;
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
