// The colour-names lookups against the full dataset (31,918 names, the
// database the build ships).
//
// The closest name is looked up on every change of the current colour and
// for every history entry and palette colour; the nearest-name index must
// give exactly the answers of comparing with every name in turn, and is
// measured against that linear scan in the same program over the same
// 100,000 random colours, so the ratio holds on any machine. Before timing,
// both are run over all 100,000 colours and any differing answer fails the
// benchmark.
//
// Also: completing one to three typed letters, loading the table with its
// index (start-up and after an update), sorting the completion list (done
// once per load on a worker thread), and building the database from the CSV.

#include "names/NameTable.h"
#include "names/NamesDatabase.h"
#include "names/NamesDatabaseBuilder.h"
#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlResultSet.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <random>
#include <vector>

namespace {

const QString& shippedPath()
{
    static const QString path = NamesDatabase::shippedDatabasePath();
    return path;
}

std::shared_ptr<const NameTable> fullTable()
{
    static const std::shared_ptr<const NameTable> table = [] {
        auto loaded = NameTable::load(shippedPath());
        loaded->prepareCompletions();
        return loaded;
    }();
    return table;
}

const std::vector<NameValues>& randomColours()
{
    static const std::vector<NameValues> colours = [] {
        std::mt19937 random(20251);
        std::uniform_int_distribution<int> component(0, 255);
        std::vector<NameValues> list;
        for (int i = 0; i < 100000; ++i)
            list.push_back(NameValues::fromIntegers(component(random), component(random), component(random)));
        return list;
    }();
    return colours;
}

bool ready(benchmark::State& state)
{
    if (fullTable()->recordCount() == 0) {
        state.SkipWithError("no ColorNames.db: build the target names_database first");
        return false;
    }
    return true;
}

// Differing answers over all 100,000 colours; computed once.
int differences()
{
    static const int count = [] {
        int n = 0;
        for (const NameValues& colour : randomColours())
            n += fullTable()->closestColorName(colour) != fullTable()->closestColorNameByScan(colour);
        return n;
    }();
    return count;
}

template <bool indexed>
void closest(benchmark::State& state)
{
    if (!ready(state))
        return;
    if (differences() != 0) {
        state.SkipWithError("the index and the scan disagree");
        return;
    }
    const std::shared_ptr<const NameTable> table = fullTable();
    const std::vector<NameValues>& colours = randomColours();
    std::size_t i = 0;
    for (auto _ : state) {
        const NameValues& colour = colours[i++ % colours.size()];
        QString name = indexed ? table->closestColorName(colour) : table->closestColorNameByScan(colour);
        benchmark::DoNotOptimize(name);
    }
    state.counters["differences"] = differences();
}

void Closest_LinearScan(benchmark::State& state)
{
    closest<false>(state);
}
BENCHMARK(Closest_LinearScan)->Unit(benchmark::kMicrosecond);

void Closest_Index(benchmark::State& state)
{
    closest<true>(state);
}
BENCHMARK(Closest_Index)->Unit(benchmark::kMicrosecond);

void Completions(benchmark::State& state, const char* typed)
{
    if (!ready(state))
        return;
    const std::shared_ptr<const NameTable> table = fullTable();
    const QString text = QString::fromUtf8(typed);
    qsizetype found = 0;
    for (auto _ : state) {
        QStringList matches = table->completions(text);
        found = matches.size();
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(Completions, a, "a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Completions, gr, "gr")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Completions, blu, "blu")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Completions, accented_e, "é")->Unit(benchmark::kMillisecond);

void LoadTableAndIndex(benchmark::State& state)
{
    if (!ready(state))
        return;
    std::shared_ptr<const NameTable> table;
    for (auto _ : state) {
        // Letting the previous table go is not part of loading.
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
        table = NameTable::load(shippedPath());
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(LoadTableAndIndex)->Unit(benchmark::kMillisecond);

void SortCompletionList(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        const auto table = NameTable::load(shippedPath());
        state.ResumeTiming();
        table->prepareCompletions();
    }
}
BENCHMARK(SortCompletionList)->Unit(benchmark::kMillisecond);

// The dataset as its CSV, written back from the shipped database.
QByteArray datasetCSV()
{
    QByteArray csv = "name,hex\n";
    const auto db = SqlDatabase::databaseWithPath(shippedPath());
    if (!db->open())
        return csv;
    const auto rs = db->executeQuery(QStringLiteral("SELECT name, hexCode FROM colors ORDER BY rowid"));
    while (rs && rs->next())
        csv += rs->stringForColumnIndex(0).value_or(QString()).toUtf8() + ",#"
            + rs->stringForColumnIndex(1).value_or(QString()).toUtf8() + "\n";
    return csv;
}

// Parse, HSL and insert, into a new file each time, as an update builds.
void BuildDatabaseFromCSV(benchmark::State& state)
{
    if (!ready(state))
        return;
    const QByteArray csv = datasetCSV();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("temp.db"));
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        const NamesDatabaseBuilder::Result result = NamesDatabaseBuilder::generateDatabaseFromCSV(
            NamesDatabaseBuilder::linesFromCSV(csv), path, ColorSpace::sRGB());
        rows = result.rows;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BuildDatabaseFromCSV)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The shipped database is found beside the program.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
