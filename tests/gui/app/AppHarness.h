#pragma once

#include "TempHome.h"

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/SwatchWell.h"
#include "colour/Color.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/FieldSync.h"
#include "colour/ValueField.h"
#include "history/HistoryStore.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"

#include <QTest>

#include <functional>
#include <memory>
#include <vector>

// Records what the history timer hands over.
struct RecordingHistory final : HistoryRecorder
{
    std::vector<Color>* entries;
    explicit RecordingHistory(std::vector<Color>* entries) : entries(entries) {}
    void saveHistoryItem(const Color& color) override { entries->push_back(color); }
};

// A names database of two names whose nearest name is always "Nearest",
// counting how often its cache is freed.
struct FakeNames final : NameLookup
{
    int* frees;
    bool cached = false;
    explicit FakeNames(int* frees) : frees(frees) {}
    void createSupportFolderAndNamesDatabase() override {}
    void cacheNamesDatabase() override { cached = true; }
    void freeNamesDatabase() override
    {
        cached = false;
        ++*frees;
    }
    QString closestColorNameToColor(const Color&) override { return QStringLiteral("Nearest"); }
    std::optional<QString> hexCodeForName(const QString& name) override
    {
        if (name == QLatin1String("Signal Red"))
            return QStringLiteral("e01020");
        if (name == QLatin1String("Nearest"))
            return QStringLiteral("9aa2f8");
        return std::nullopt;
    }
};

struct HarnessSetup
{
    bool trayAvailable = true;
    bool launchedAtLogin = false;
    // Long enough never to pass in a test: tests tick the history timer
    // themselves (tick(), enableHistory()).
    std::chrono::milliseconds historyInterval { std::chrono::hours(1) };
};

// A whole program in a temporary home: settings, window, tray and the
// life cycle, with history and termination observable.
class AppHarness
{
public:
    using Setup = HarnessSetup;

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
        parts.history = std::make_unique<RecordingHistory>(&history);
        auto names = std::make_unique<FakeNames>(&nameCacheFrees);
        fakeNames = names.get();
        parts.names = std::move(names);
        if (customize)
            customize(parts);
        parts.buildStores(*defaults, spaces, *parts.names);
        AppDelegate::Options options;
        trayAvailable = setup.trayAvailable;
        options.trayAvailable = [this] { return trayAvailable; };
        options.launchedAtLogin = setup.launchedAtLogin;
        options.historyInterval = setup.historyInterval;
        options.terminate = [this] { ++terminations; };
        delegate = std::make_unique<AppDelegate>(*defaults, spaces, center, std::move(parts), std::move(options));
        delegate->launch();
        QCoreApplication::processEvents();
        return *delegate;
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
    MainWindow& window() { return delegate->window(); }
    const NotationFields& fields() { return delegate->window().fields; }
    FieldSync& sync() { return delegate->fieldSync(); }
    std::array<int, 3> wellRGB() { return delegate->window().mainSwatchWell->color()->integerComponents(); }

    // Replaces a field's text keystroke by keystroke, as the user would.
    void type(ValueField* field, const QString& text)
    {
        field->selectAll(); // the first key replaces the whole text
        QTest::keyClicks(field, text);
    }
    void endEditing(ValueField* field) { QTest::keyClick(field, Qt::Key_Return); }

    // One tick of the history timer, if it runs.
    void tick()
    {
        if (sync().historyTimerPending())
            sync().checkForSwatchChange();
    }
    // The pause after a restored colour is over, and a few ticks go by:
    // whatever was going to be recorded is.
    void settle()
    {
        sync().enableHistory();
        for (int i = 0; i < 3; ++i)
            tick();
    }

    std::vector<Color> history;
    int terminations = 0;
    bool trayAvailable = true; // what the tray probe answers now
    int nameCacheFrees = 0;
    FakeNames* fakeNames = nullptr;

private:
    TempHome home;
    Setup setup;
    std::unique_ptr<UserDefaults> defaults;
    ColorSpaceRegistry spaces;
    NotificationCenter center;
    std::unique_ptr<AppDelegate> delegate;
};
