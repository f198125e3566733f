#include "NamesTestData.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <functional>

namespace {

const Color red = Color::fromIntegers(255, 0, 0);

// The worker started, done, and whatever it posted delivered.
void settle(const NameCache& cache)
{
    EXPECT_TRUE(QTest::qWaitFor([&cache] { return !cache.isLoading(); }));
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

// A first step for a worker that holds it until told to read on, so that a
// test can act while the worker is under way.
struct HeldWorker
{
    std::function<void()> step()
    {
        return [this] {
            started = true;
            resume.acquire();
        };
    }
    bool waitUntilStarted()
    {
        return QTest::qWaitFor([this] { return started.load(); });
    }
    std::atomic<bool> started = false;
    QSemaphore resume;
};

TEST(NameCacheInBackground, ColoursHaveNoNameUntilTheTableArrivesThenTheirOwn)
{
    NamesFolder names;
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);
    // The first start's copy runs on the worker before the load reads it.
    cache.cacheNamesDatabaseInBackground([&names] { names.build("name,hex\nRed,#ff0000\nBlue,#0000ff\n"); });

    // Nothing happens until the event loop comes round.
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
    settle(cache);
    EXPECT_EQ(changes.count(), 1);
}

TEST(NameCacheInBackground, AFreeIsNotUndoneByALoadAskedForBeforeIt)
{
    NamesFolder names;
    names.build("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    // Freed before its worker started.
    cache.cacheNamesDatabaseInBackground();
    cache.freeNamesDatabase();
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Invalid Color");
    settle(cache);
    EXPECT_FALSE(cache.isLoaded());
    EXPECT_EQ(changes.count(), 0);

    // Freed while its worker reads, and asked for again before that worker
    // is done: only the second load's table is taken.
    HeldWorker first;
    cache.cacheNamesDatabaseInBackground(first.step());
    ASSERT_TRUE(first.waitUntilStarted());
    cache.freeNamesDatabase();
    EXPECT_EQ(cache.closestColorNameToColor(red), "Invalid Color");
    names.build("name,hex\nScarlet,#ff0000\n");
    cache.cacheNamesDatabaseInBackground();
    first.resume.release();
    settle(cache);
    EXPECT_EQ(cache.closestColorNameToColor(red), "Scarlet");
    EXPECT_EQ(changes.count(), 1) << "the abandoned table was taken too";
}

TEST(NameCacheInBackground, ASynchronousLoadTakesThePlaceOfOneOnItsWay)
{
    NamesFolder names;
    names.build("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    HeldWorker worker;
    cache.cacheNamesDatabaseInBackground(worker.step());
    ASSERT_TRUE(worker.waitUntilStarted());
    cache.cacheNamesDatabase();
    EXPECT_TRUE(cache.isLoaded());
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Red");
    EXPECT_EQ(changes.count(), 1);
    worker.resume.release();
    settle(cache);
    EXPECT_EQ(changes.count(), 1) << "the worker's table was taken after the synchronous one";
}

} // namespace
