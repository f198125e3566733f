#include "NamesTestData.h"

#include "names/NameCache.h"
#include "names/NamesDatabase.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>

namespace {

const Color red = Color::fromIntegers(255, 0, 0);

// A cache over "names.db" in a folder of its own; the database is made by
// each test, when it needs one.
struct Names
{
    Names()
        : cache(dir.filePath(QStringLiteral("names.db")))
    {
        cache.setPrepareCompletionsAhead(false);
    }
    void build(const QByteArray& csv)
    {
        const QString built = cache.databasePath() + QStringLiteral(".new");
        ASSERT_EQ(buildNames(csv, built).status, NamesDatabaseBuilder::Result::Status::Built);
        ASSERT_TRUE(NamesDatabase::replaceDBFile(built, cache.databasePath()));
    }
    QTemporaryDir dir;
    NameCache cache;
};

// Every worker done and what it posted delivered.
void settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

TEST(NameCacheInBackground, ColoursHaveNoNameUntilTheTableArrivesThenTheirOwn)
{
    Names names;
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);
    // The first start's copy runs on the worker before the load reads it.
    cache.cacheNamesDatabaseInBackground([&names] { names.build("name,hex\nRed,#ff0000\nBlue,#0000ff\n"); });

    // The table is handed over on this thread, so until the event loop comes
    // round it is on its way whatever the worker has done.
    EXPECT_TRUE(cache.isLoading());
    EXPECT_FALSE(cache.isLoaded());
    EXPECT_EQ(cache.closestColorNameToColor(red), QString()) << "not yet known, which is not \"Invalid Color\"";
    EXPECT_EQ(cache.closestColorNameToColor(QStringLiteral("ff0000"), ColorSpace::sRGB()), QString());
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Blue")), std::nullopt);
    EXPECT_TRUE(cache.completions(QStringLiteral("Bl")).isEmpty());
    cache.cacheNamesDatabaseInBackground(); // asked again while on its way: still one load

    ASSERT_TRUE(changes.wait());
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Red");
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Blue")), QStringLiteral("0000ff"));
    EXPECT_EQ(cache.completions(QStringLiteral("Bl")), QStringList{"Blue"});
    settle();
    EXPECT_EQ(changes.count(), 1);
}

TEST(NameCacheInBackground, AFreeIsNotUndoneByALoadAskedForBeforeIt)
{
    Names names;
    names.build("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    cache.cacheNamesDatabaseInBackground();
    cache.freeNamesDatabase();
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Invalid Color");
    settle();
    EXPECT_FALSE(cache.isLoaded()) << "the abandoned table arrived and was taken";
    EXPECT_EQ(cache.closestColorNameToColor(red), "Invalid Color");
    EXPECT_EQ(changes.count(), 0);

    // An abandoned table that arrives after the next load was asked for
    // gives way to it: the database may have changed in between.
    cache.cacheNamesDatabaseInBackground();
    QThreadPool::globalInstance()->waitForDone(); // read and posted, not yet taken
    cache.freeNamesDatabase();
    names.build("name,hex\nScarlet,#ff0000\n");
    cache.cacheNamesDatabaseInBackground();
    settle();
    EXPECT_EQ(cache.closestColorNameToColor(red), "Scarlet");
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Red")), std::nullopt);
    EXPECT_EQ(changes.count(), 1);
}

TEST(NameCacheInBackground, ALoadAskedForSynchronouslyTakesTheOneOnItsWay)
{
    Names names;
    names.build("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    cache.cacheNamesDatabaseInBackground();
    cache.cacheNamesDatabase();
    EXPECT_TRUE(cache.isLoaded());
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Red");
    EXPECT_EQ(changes.count(), 1);
    settle();
    EXPECT_EQ(changes.count(), 1) << "the table was handed over twice";
}

} // namespace
