// What the History menu asks of the store when it opens, with years of use
// behind it: 100,000 entries over 1,000 days, each with a column of eight
// swatches. The menu shows today's first twenty entries (one more tells
// whether "Earlier Today" is needed) and one item per earlier day, and fills
// a day's submenu only when that submenu opens.
//
// The baseline, in the same run, is loading the whole log with getHistory,
// which is what building every submenu up front would cost. The target is
// the menu opening in 100 ms at most; the store's share is the MenuOpen
// figure.

#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "colour/ValueArchive.h"
#include "history/DayFormat.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryStore.h"
#include "settings/UserDefaults.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int dayCount = 1000;
constexpr int entriesPerDay = 100;
constexpr int shownToday = 20;

struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> defaults;
    const ColorSpaceRegistry spaces { QStringList {} };
    std::unique_ptr<HistoryStore> store;
    QDate today = QDate::currentDate();

    Fixture()
    {
        std::mt19937 random(1000);
        std::uniform_int_distribution<int> component(0, 255);
        auto code = [&] { return HexCodec::storedForm(component(random), component(random), component(random)); };

        std::vector<NewHistoryItem> items;
        items.reserve(dayCount * entriesPerDay);
        for (int d = dayCount - 1; d >= 0; --d) {
            const QDate date = today.addDays(-d);
            const QString day = DayFormat::dayString(date);
            for (int i = 0; i < entriesPerDay; ++i) {
                QStringList swatches;
                for (int s = 0; s < 8; ++s)
                    swatches << code();
                items.push_back({day, QStringLiteral("Colour %1").arg(i), QDateTime(date, QTime(8, 0)).addSecs(i * 60),
                                 ValueArchive::archiveString(code()), ValueArchive::archiveStringList(swatches)});
            }
        }
        HistoryDatabase database;
        const QString file = dir.path() + u'/' + HistoryDatabase::fileName;
        if (database.open(file, HistoryDatabase::Access::ReadWrite) || database.insert(items).added != int(items.size()))
            qFatal("cannot fill the benchmark store");
        database.close();

        defaults = std::make_unique<UserDefaults>(dir.path() + "/Huelark.conf");
        HistoryStore::Options options;
        options.folder = dir.path();
        store = std::make_unique<HistoryStore>(*defaults, spaces, options);
        if (store->open())
            qFatal("cannot open the benchmark store");
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void Baseline_GetHistory(benchmark::State& state)
{
    HistoryStore& store = *fixture().store;
    for (auto _ : state) {
        auto all = store.getHistory();
        benchmark::DoNotOptimize(all);
    }
    state.counters["entries"] = dayCount * entriesPerDay;
}

// The days in menu order, and today's entries as far as the menu shows them.
void MenuOpen_DaysAndToday(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString today = DayFormat::dayString(f.today);
    for (auto _ : state) {
        const QStringList days = DayFormat::sortedNewestFirst(f.store->dateManagedObjectArray());
        const QList<HistoryEntry> shown = f.store->historyForDateObjects(today, shownToday + 1);
        benchmark::DoNotOptimize(days);
        benchmark::DoNotOptimize(shown);
        if (days.size() != dayCount || shown.size() != shownToday + 1)
            state.SkipWithError("unexpected store contents");
    }
}

// The share of the above that is reading the day strings back into dates.
void MenuOpen_DayOrderOnly(benchmark::State& state)
{
    Fixture& f = fixture();
    const QStringList stored = f.store->dateManagedObjectArray();
    for (auto _ : state) {
        const QStringList days = DayFormat::sortedNewestFirst(stored);
        benchmark::DoNotOptimize(days);
    }
}

// One earlier day's submenu, when the user opens it.
void DaySubmenuOpen(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString day = DayFormat::dayString(f.today.addDays(-dayCount / 2));
    for (auto _ : state) {
        const QList<HistoryEntry> entries = f.store->historyForDateObjects(day);
        benchmark::DoNotOptimize(entries);
        if (entries.size() != entriesPerDay)
            state.SkipWithError("unexpected store contents");
    }
}

} // namespace

BENCHMARK(Baseline_GetHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(MenuOpen_DaysAndToday)->Unit(benchmark::kMillisecond);
BENCHMARK(MenuOpen_DayOrderOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(DaySubmenuOpen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
