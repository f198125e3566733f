// Opening the History menu with years of use behind it: 100,000 entries over
// 1,000 days, eight swatches each, through the real menu (the rebuild from
// the store, the layout, the first paint on the offscreen platform). The
// baseline in the same run is the same menu over a log of one day with 21
// entries, the least that still has every part of the menu; the target is
// 100 ms for the large log.

#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "colour/ValueArchive.h"
#include "colour/WellColorSpace.h"
#include "history/DayFormat.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryMenu.h"
#include "history/HistoryStore.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

const QDate today = QDate::currentDate();

// A store of `days` days ending today with `perDay` entries each, and its menu.
struct Log
{
    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> defaults;
    const ColorSpaceRegistry spaces { QStringList {} };
    std::unique_ptr<HistoryStore> store;
    std::unique_ptr<WellColorSpace> well;
    std::unique_ptr<CurrentColors> colors;
    std::unique_ptr<HistoryMenu> history;

    Log(int days, int perDay)
    {
        std::mt19937 random(1000);
        std::uniform_int_distribution<int> component(0, 255);
        auto code = [&] { return HexCodec::storedForm(component(random), component(random), component(random)); };
        std::vector<NewHistoryItem> items;
        items.reserve(size_t(days) * perDay);
        for (int d = days - 1; d >= 0; --d) {
            const QDate date = today.addDays(-d);
            const QString day = DayFormat::dayString(date);
            for (int i = 0; i < perDay; ++i) {
                QStringList swatches;
                for (int s = 0; s < 8; ++s)
                    swatches << code();
                items.push_back({ day, QStringLiteral("Colour %1").arg(i), QDateTime(date, QTime(8, 0)).addSecs(i * 30),
                                  ValueArchive::archiveString(code()), ValueArchive::archiveStringList(swatches) });
            }
        }
        HistoryDatabase database;
        if (database.open(dir.path() + u'/' + HistoryDatabase::fileName, HistoryDatabase::Access::ReadWrite)
            || database.insert(items).added != int(items.size()))
            qFatal("cannot fill the benchmark store");
        database.close();

        defaults = std::make_unique<UserDefaults>(dir.path() + "/Huelark.conf");
        defaults->loadRegisteredDefaults();
        HistoryStore::Options options;
        options.folder = dir.path();
        store = std::make_unique<HistoryStore>(*defaults, spaces, options);
        if (store->open())
            qFatal("cannot open the benchmark store");
        HistoryMenu::Options menuOptions;
        menuOptions.today = [] { return today; };
        well = std::make_unique<WellColorSpace>(*defaults, spaces);
        colors = std::make_unique<CurrentColors>(*defaults, spaces, *well);
        history = std::make_unique<HistoryMenu>(*store, *colors, *defaults, menuOptions);
    }
};

Log& large()
{
    static Log log(1000, 100);
    return log;
}

Log& small()
{
    static Log log(1, 21);
    return log;
}

// Opens `menu` as the user does and waits until it is drawn, then closes it.
void openAndClose(QMenu* menu)
{
    menu->popup(QPoint(10, 10));
    QCoreApplication::processEvents();
    menu->hide();
}

void check(benchmark::State& state, const QMenu* menu, qsizetype items)
{
    if (menu->actions().size() != items)
        state.SkipWithError("unexpected menu");
}

void Baseline_MenuOpen_OneDay21Entries(benchmark::State& state)
{
    QMenu* menu = small().history->menu();
    for (auto _ : state)
        openAndClose(menu);
    // 20 entries, separator, Earlier Today, separator, Clear History...
    check(state, menu, 24);
}

void MenuOpen_100000Entries1000Days(benchmark::State& state)
{
    QMenu* menu = large().history->menu();
    for (auto _ : state)
        openAndClose(menu);
    // 20 entries, separator, Earlier Today, 999 days, separator, Clear History...
    check(state, menu, 20 + 2 + 999 + 2);
}

// Opening one earlier day of 100 entries once the menu is open.
void DaySubmenuOpen_100Entries(benchmark::State& state)
{
    Log& log = large();
    QMenu* menu = log.history->menu();
    const QString title = DayFormat::dayString(today.addDays(-500));
    for (auto _ : state) {
        state.PauseTiming();
        log.history->menuNeedsUpdate(menu);
        QMenu* day = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == title)
                day = action->menu();
        state.ResumeTiming();
        if (!day) {
            state.SkipWithError("no such day");
            break;
        }
        openAndClose(day);
        if (day->actions().size() != 100)
            state.SkipWithError("unexpected day");
    }
}

} // namespace

BENCHMARK(Baseline_MenuOpen_OneDay21Entries)->Unit(benchmark::kMillisecond);
BENCHMARK(MenuOpen_100000Entries1000Days)->Unit(benchmark::kMillisecond);
BENCHMARK(DaySubmenuOpen_100Entries)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The offscreen platform reports every popup's keyboard grab it cannot do.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
