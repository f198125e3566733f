#pragma once

#include "FileBytes.h"
#include "QtPrinters.h"
#include "TempHome.h"

#include "app/AppDelegate.h"
#include "app/ColorPanel.h"
#include "app/MainWindow.h"
#include "app/SwatchWell.h"
#include "app/TrayIcon.h"
#include "app/WindowCommands.h"
#include "colour/Color.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/FieldSync.h"
#include "colour/HexCodec.h"
#include "colour/ValueField.h"
#include "history/DayFormat.h"
#include "history/HistoryMenu.h"
#include "history/HistoryStore.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"
#include "swatches/SwatchColumn.h"
#include "swatches/SwatchTable.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

// A names database whose nearest name is always "Nearest", counting how
// often its cache is freed. The history store names an entry "c" and its
// code, and blue "Black & Blue", a name with an ampersand.
struct FakeNames final : NameLookup
{
    int* frees;
    explicit FakeNames(int* frees) : frees(frees) {}
    void createSupportFolderAndNamesDatabase() override {}
    void cacheNamesDatabase() override {}
    void freeNamesDatabase() override { ++*frees; }
    QString closestColorNameToColor(const Color&) override { return QStringLiteral("Nearest"); }
    ClosestName closestColorNameOnAnyThread() const override
    {
        return [](const Color& color) {
            const QString code = HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or(QString());
            return code == u"0000ff" ? QStringLiteral("Black & Blue") : "c" + code;
        };
    }
    std::optional<QString> hexCodeForName(const QString&) override { return std::nullopt; }
};

struct HarnessSetup
{
    bool trayAvailable = true;
    bool launchedAtLogin = false;
    bool palettes = false; // the colour lists and the palettes window, as the program has them
    bool eventTurnAtStart = true; // false: as main() starts it, nothing delivered yet
};

// The whole program in a temporary home, with termination observable. Its
// clock stands still at `today` and its history timer ticks only on tick(),
// so no test reads the date or waits for the history timer.
class AppHarness
{
public:
    using Setup = HarnessSetup;
    using Code = QString; // stored-form hex code

    static inline const QDate today { 2026, 12, 6 };

    explicit AppHarness(Setup setup = Setup()) : setup(setup)
    {
        defaults = std::make_unique<UserDefaults>();
        AppDelegate::initialize(*defaults);
    }

    // Settings to have before the program starts.
    UserDefaults& settings() { return *defaults; }

    // `customize` may put fakes of its own into the parts.
    AppDelegate& start(const std::function<void(AppParts&)>& customize = {})
    {
        AppParts parts;
        auto names = std::make_unique<FakeNames>(&nameCacheFrees);
        parts.names = std::move(names);
        if (customize)
            customize(parts);
        parts.buildStores(*defaults, spaces, *parts.names, [this] { return clock; });
        if (setup.palettes)
            parts.buildPalettes(*defaults, spaces);
        if (withStores)
            withStores(parts);
        AppDelegate::Options options;
        trayAvailable = setup.trayAvailable;
        options.trayAvailable = [this] { return trayAvailable; };
        options.launchedAtLogin = setup.launchedAtLogin;
        options.historyInterval = std::chrono::hours(1); // never passes: tests tick
        options.terminate = [this] { ++terminations; };
        delegate = std::make_unique<AppDelegate>(*defaults, spaces, center, std::move(parts), std::move(options));
        delegate->launch();
        if (setup.eventTurnAtStart)
            QCoreApplication::processEvents();
        return *delegate;
    }

    // Starts with `codes` as the swatch column and the window at its natural size.
    void startWith(const QList<Code>& codes, const std::function<void(AppParts&)>& customize = {})
    {
        setStored(codes);
        start(customize);
        window().resize(window().sizeHint());
        QCoreApplication::processEvents();
    }

    // Ends this program and starts the next one in the same home.
    AppDelegate& restart(std::optional<Setup> next = std::nullopt)
    {
        if (next)
            setup = *next;
        delegate.reset();
        defaults = std::make_unique<UserDefaults>();
        AppDelegate::initialize(*defaults);
        return start();
    }

    // The same settings file read afresh, as the next start would.
    std::unique_ptr<UserDefaults> reopenedSettings() const { return std::make_unique<UserDefaults>(); }

    AppDelegate& app() { return *delegate; }
    NotificationCenter& notifications() { return center; }
    const ColorSpaceRegistry& registry() const { return spaces; }
    MainWindow& window() { return delegate->window(); }
    const NotationFields& fields() { return delegate->window().fields; }
    FieldSync& sync() { return delegate->fieldSync(); }
    std::array<int, 3> wellRGB() { return delegate->window().mainSwatchWell->color()->integerComponents(); }
    Code current() { return code(*window().mainSwatchWell->color()); }
    SwatchColumn& column() { return delegate->swatchColumn(); }
    SwatchTable& table() { return *column().swatchTable(); }
    HistoryStore& store() { return delegate->historyStore(); }

    // Replaces a field's text keystroke by keystroke, as the user would.
    void type(ValueField* field, const QString& text)
    {
        field->selectAll(); // the first key replaces the whole text
        QTest::keyClicks(field, text);
    }

    // One tick of the history timer, if it runs.
    void tick()
    {
        if (sync().historyTimerPending())
            sync().checkForSwatchChange();
    }
    // The restore pause is over and a few ticks go by: all due is recorded.
    void settle()
    {
        sync().enableHistory();
        for (int i = 0; i < 3; ++i)
            tick();
    }

    static Code code(const Color& color) { return HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or("?"); }
    static QList<Code> codes(const QList<Color>& colors)
    {
        QList<Code> list;
        for (const Color& c : colors)
            list << code(c);
        return list;
    }

    void setStored(const QList<Code>& codes)
    {
        QVariantList list;
        for (const Code& code : codes)
            list << ColorArchive::archive(*HexCodec::colorWithHexColorString(code, ColorSpace::sRGB()));
        defaults->setArray(list, "currentColors");
        defaults->synchronize();
    }

    // "currentColors" as the next start reads it.
    QList<Code> stored()
    {
        QList<Code> codes;
        for (const QVariant& data : reopenedSettings()->arrayForKey("currentColors")) {
            const std::optional<Color> color = ColorArchive::unarchive(data.toByteArray(), spaces);
            codes << (color ? code(*color) : "unreadable");
        }
        return codes;
    }

    // Today's history entries, newest first, once the writer has them on disk.
    QList<HistoryEntry> entries()
    {
        store().waitForPendingSaves();
        return store().historyForDateObjects(DayFormat::dayString(today));
    }
    // The colours recorded today, oldest first.
    QList<Code> recorded()
    {
        QList<Code> colours;
        for (const HistoryEntry& entry : entries())
            colours.prepend(code(entry.last));
        return colours;
    }

    // A point in the gap before row `gap` (the row count: after the last).
    QPoint gapPoint(int gap)
    {
        const int count = column().swatchCount();
        if (gap < count)
            return QPoint(10, table().rowViewportPosition(gap) + 2);
        return QPoint(10, table().rowViewportPosition(count - 1) + table().rowHeight(count - 1) - 2);
    }

    // Drags `data` over `target` and drops it at `point`; whether it took it.
    static bool dropOn(QWidget* target, QMimeData* data, const QPoint& point)
    {
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QDropEvent dropped(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }
    bool drop(QMimeData* data, const QPoint& point) { return dropOn(table().viewport(), data, point); }

    // Puts in parts that need the stores (the window's colour space).
    std::function<void(AppParts&)> withStores;
    QDateTime clock { today, QTime(10, 0) };
    int terminations = 0;
    bool trayAvailable = true; // what the tray probe answers now
    int nameCacheFrees = 0;

private:
    TempHome home;
    Setup setup;
    std::unique_ptr<UserDefaults> defaults;
    ColorSpaceRegistry spaces;
    NotificationCenter center;
    std::unique_ptr<AppDelegate> delegate;
};
