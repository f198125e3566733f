#include "NamesTestData.h"

#include "colour/HexCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <random>
#include <thread>

namespace {

Color rgb(int r, int g, int b)
{
    return Color::fromIntegers(r, g, b);
}

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

} // namespace

TEST(NameCache, AKnownCodeIsAnExactHitAndAnyOtherColourTakesTheNearest)
{
    NamesFolder names("name,hex\nRed,#ff0000\nBlue,#0000ff\nOrange Red,#ff0400\nRaspberry,#c8003c\n");
    const struct { Color color; const char* name; } rows[] = {
        {rgb(255, 0, 0), "Red"},
        {rgb(254, 0, 0), "Red"}, // d = 1 + 2·0 against 244741 for Blue
        {rgb(0, 0, 200), "Blue"},
        // Hue 359: Orange Red (hue 1) would be 2° away around the circle,
        // but hues do not wrap, so it is 358° away.
        {rgb(255, 0, 4), "Raspberry"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(names.cache.closestColorNameToColor(row.color), QString::fromLatin1(row.name));
    }
    EXPECT_EQ(names.cache.closestColorNameToColor(QStringLiteral("#fe0000"), ColorSpace::sRGB()), "Red");
}

TEST(NameCache, DuplicatesFollowTheLaterRowAndTiesTheEarlierRecord)
{
    NamesFolder names("name,hex\n"
                    "Old Red,#ff0000\n"
                    "Crimson,#dc143c\n"
                    "New Red,#ff0000\n"     // same code: replaces Old Red's record
                    "Crimson,#dd143c\n"     // same name: the name now leads to dd143c
                    "Left,#010101\n"
                    "Right,#050505\n");     // 030303 is equally far from both
    NameCache& cache = names.cache;
    EXPECT_EQ(cache.closestColorNameToColor(rgb(255, 0, 0)), "New Red");
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Old Red")), QStringLiteral("ff0000"));
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Crimson")), QStringLiteral("dd143c"));
    // The earlier Crimson's record is still there under its code.
    EXPECT_EQ(cache.closestColorNameToColor(rgb(0xdc, 0x14, 0x3c)), "Crimson");
    EXPECT_EQ(cache.closestColorNameToColor(rgb(3, 3, 3)), "Left");
    EXPECT_EQ(cache.snapshot()->recordCount(), 5);
    EXPECT_EQ(cache.snapshot()->nameCount(), 5);
    // Names match exactly.
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("crimson")), std::nullopt);
}

TEST(NameCache, NothingLoadedOrNothingStoredNamesEveryColourInvalid)
{
    NamesFolder names("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    const std::shared_ptr<const NameTable> held = cache.snapshot();
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    cache.freeNamesDatabase();
    EXPECT_FALSE(cache.isLoaded());
    EXPECT_EQ(cache.closestColorNameToColor(rgb(255, 0, 0)), "Invalid Color");
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Red")), std::nullopt);
    EXPECT_EQ(cache.completions(QStringLiteral("Re")), QStringList());
    // A reader that took the table before the free still has it.
    EXPECT_EQ(held->closestColorNameToColor(rgb(250, 0, 0)), "Red");

    // A missing database loads as an empty table, and is not created.
    NameCache missing(names.dir.filePath(QStringLiteral("missing.db")));
    missing.cacheNamesDatabase();
    EXPECT_TRUE(missing.isLoaded());
    EXPECT_EQ(missing.closestColorNameToColor(rgb(255, 0, 0)), "Invalid Color");
    EXPECT_FALSE(QFile::exists(missing.databasePath()));

    cache.cacheNamesDatabase();
    EXPECT_EQ(cache.closestColorNameToColor(rgb(255, 0, 0)), "Red");
    EXPECT_EQ(changes.count(), 2);
}

TEST(NameCache, CompletionsIgnoreCaseAndAccentsAndAreSortedCaseInsensitively)
{
    NamesFolder names("name,hex\n"
                    "blue Jeans,#5dadec\n"
                    "Baby Blue,#a2cffe\n"
                    "Bleu Lumière,#5a6e9c\n"
                    "BLÚSH,#eeaaaa\n"
                    "Black,#000000\n"
                    "Éclair,#f0e0d0\n");
    EXPECT_EQ(names.cache.completions(QStringLiteral("blu")),
              (QStringList{"Baby Blue", "blue Jeans", "BLÚSH"}));
    EXPECT_EQ(names.cache.completions(QStringLiteral("LUMIE")), QStringList{"Bleu Lumière"});
    EXPECT_EQ(names.cache.completions(QStringLiteral("ecl")), QStringList{"Éclair"});
    // An accent typed matches the plain letter too.
    EXPECT_EQ(names.cache.completions(QStringLiteral("é")),
              (QStringList{"Baby Blue", "Bleu Lumière", "blue Jeans", "Éclair"}));
    EXPECT_EQ(names.cache.completions(QString()), QStringList());
    EXPECT_EQ(names.cache.completions(QStringLiteral("xyz")), QStringList());
}

// The index must give the linear scan's answer, equal distances included.
// Random colours meet ties often enough to tell a wrong tie rule over the
// whole shipped dataset, and nearly always over a coarse grid where every
// colour is three records (codes in other letter cases).
TEST(NameCache, TheIndexAnswersAsTheLinearScan)
{
    const QString shipped = NamesDatabase::shippedDatabasePath();
    ASSERT_FALSE(shipped.isEmpty()) << "ColorNames.db is made by the build (target names_database)";
    const QStringList shippedRows = storedRows(shipped);
    ASSERT_EQ(shippedRows.size(), 31918);
    EXPECT_EQ(shippedRows.first(), "0|100 Mph|c93f38|201|63|56|3|57|50");
    EXPECT_TRUE(shippedRows.contains("23178|Red|ff0000|255|0|0|0|100|50"));

    QByteArray csv = "name,hex\n";
    int n = 0;
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51) {
                const QByteArray code = HexCodec::storedForm(r, g, b).toLatin1();
                for (const QByteArray& variant : {code.toUpper(), code, "#" + code.toUpper()})
                    csv += "C" + QByteArray::number(n++) + "," + variant + "\n";
            }
    NamesFolder grid(csv);

    const struct { const char* what; std::shared_ptr<const NameTable> table; unsigned randomStart; int count; } rows[] = {
        {"shipped", NameTable::load(shipped), 5, 4000},
        {"grid of ties", grid.cache.snapshot(), 7, 3000},
    };
    for (const auto& row : rows) {
        std::mt19937 random(row.randomStart);
        std::uniform_int_distribution<int> component(0, 255);
        int differences = 0;
        for (int i = 0; i < row.count; ++i) {
            const NameValues target = NameValues::fromIntegers(component(random), component(random), component(random));
            const QString byIndex = row.table->closestColorName(target);
            const QString byScan = row.table->closestColorNameByScan(target);
            if (byIndex != byScan && ++differences <= 5)
                ADD_FAILURE() << row.what << " " << target.r << "," << target.g << "," << target.b << ": index "
                              << byIndex.toStdString() << ", scan " << byScan.toStdString();
        }
        EXPECT_EQ(differences, 0) << row.what;
    }
}

TEST(NameCache, LookupsOnAnotherThreadSurviveFreesAndReloads)
{
    NamesFolder names("name,hex\nRed,#ff0000\nBlue,#0000ff\n");
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    std::thread reader([&] {
        while (!done) {
            const QString name = names.cache.closestColorNameToColor(rgb(250, 0, 0));
            if (name != "Red" && name != "Invalid Color")
                ++wrong;
        }
    });
    for (int i = 0; i < 200; ++i) {
        names.cache.freeNamesDatabase();
        names.cache.cacheNamesDatabase();
    }
    done = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
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
