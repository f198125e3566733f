#include "DatabaseNameLookup.h"

#include "names/NameTable.h"
#include "names/NamesDatabaseUpdater.h"

#include <algorithm>
#include <atomic>
#include <utility>

// What the history writer's lookup holds: the table of the moment, and where
// to read the names from while there is none.
struct DatabaseNameLookup::SharedNames
{
    explicit SharedNames(QString path) : databasePath(std::move(path)) {}
    const QString databasePath;
    std::atomic<std::shared_ptr<const NameTable>> table;
};

DatabaseNameLookup::DatabaseNameLookup(UserDefaults& defaults, QString supportFolder, QString shippedDatabasePath,
                                       QObject* parent)
    : defaults(defaults)
    , namesDatabase(defaults, std::move(supportFolder), std::move(shippedDatabasePath))
    , nameCache(namesDatabase.liveDatabasePath())
    , wellSpace(ColorSpace::sRGB())
    , shared(std::make_shared<SharedNames>(namesDatabase.liveDatabasePath()))
{
    setParent(parent);
    // A damaged or empty live database is put back as shipped, and said so.
    nameCache.setLoader([database = &namesDatabase] { return database->loadLiveNames(); });
    connect(&nameCache, &NameCache::cacheChanged, this, [this] {
        shared->table.store(nameCache.snapshot());
        // A freed cache leaves the names shown as they are: the window is
        // closed then, and the next load names everything again.
        if (!nameCache.isLoaded())
            return;
        Q_EMIT namesChanged();
        if (std::exchange(countAfterLoad, false))
            namesDatabase.updateNamesCount();
    });
    connect(&namesDatabase, &NamesDatabase::namesCountIncreased, this, &NameLookup::namesChanged);
}

DatabaseNameLookup::~DatabaseNameLookup()
{
    // The updater works on the database and the cache: it goes first. The
    // preferences window that shows it is gone by now (AppParts holds it
    // after the names).
    namesUpdater.reset();
}

void DatabaseNameLookup::loadInBackgroundAtStart()
{
    countAfterLoad = true;
    namesDatabase.removeLeftoversOfAnInterruptedUpdate();
    // The database it reads lives as long as the cache's worker: the cache
    // is destroyed first and waits for it.
    nameCache.cacheNamesDatabaseInBackground([this] { namesDatabase.createSupportFolderAndCopyShippedDatabase(); });
}

void DatabaseNameLookup::createSupportFolderAndNamesDatabase()
{
    if (!countAfterLoad)
        namesDatabase.createSupportFolderAndNamesDatabase();
}

void DatabaseNameLookup::cacheNamesDatabase()
{
    if (nameCache.isLoading())
        return;
    // The start-up load was abandoned (the window closed) before its worker
    // could make the files.
    if (countAfterLoad)
        namesDatabase.createSupportFolderAndCopyShippedDatabase();
    nameCache.cacheNamesDatabase();
}

void DatabaseNameLookup::freeNamesDatabase() { nameCache.freeNamesDatabase(); }

QString DatabaseNameLookup::closestColorNameToColor(const Color& color)
{
    return nameCache.closestColorNameToColor(color);
}

std::optional<QString> DatabaseNameLookup::hexCodeForName(const QString& name)
{
    return nameCache.hexCodeForName(name);
}

QStringList DatabaseNameLookup::completions(const QString& text)
{
    QStringList names = nameCache.completions(text);
    // The field previews and commits its first row, and in the list's own
    // order "Red" comes after "1975 Earth Red": a name typed out in full
    // must not give way to a longer one.
    std::stable_partition(names.begin(), names.end(),
                          [&text](const QString& name) { return name.compare(text, Qt::CaseInsensitive) == 0; });
    return names;
}

NameLookup::ClosestName DatabaseNameLookup::closestColorNameOnAnyThread() const
{
    return [names = shared](const Color& color) {
        if (const std::shared_ptr<const NameTable> table = names->table.load())
            return table->closestColorNameToColor(color);
        // Freed while the window is closed; a colour recorded now keeps its
        // name for good, so it is looked up in the database itself.
        const std::shared_ptr<const NameTable> table = NameTable::load(names->databasePath);
        return table ? table->closestColorNameToColor(color) : NameTable::invalidColorName;
    };
}

void DatabaseNameLookup::setWellColorSpace(const ColorSpacePtr& space)
{
    wellSpace = space;
    if (namesUpdater)
        namesUpdater->setWellColorSpace(space);
}

NamesDatabaseUpdater& DatabaseNameLookup::updater()
{
    if (!namesUpdater) {
        namesUpdater = std::make_unique<NamesDatabaseUpdater>(namesDatabase, defaults, &nameCache);
        namesUpdater->setWellColorSpace(wellSpace);
    }
    return *namesUpdater;
}
