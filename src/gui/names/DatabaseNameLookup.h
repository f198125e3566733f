#pragma once

#include "names/NameLookup.h"

#include "names/NameCache.h"
#include "names/NamesDatabase.h"
#include "settings/Paths.h"

#include <memory>

class NamesDatabaseUpdater;
class UserDefaults;

// The names of the program: the live names database in the support folder,
// its in-memory cache and its update, which the Names preferences show.
//
// Lookups on the main thread answer "Invalid Color" while the cache is freed
// (the main window is closed). The history writer's lookup does not: a
// colour recorded then still gets its name, read from the database itself.
//
// The program starts its names with loadInBackgroundAtStart, so that its
// window need not wait for them.
class DatabaseNameLookup final : public NameLookup
{
    Q_OBJECT

public:
    explicit DatabaseNameLookup(UserDefaults& defaults, QString supportFolder = Paths::applicationSupportFolder(),
                                QString shippedDatabasePath = NamesDatabase::shippedDatabasePath(),
                                QObject* parent = nullptr);
    ~DatabaseNameLookup() override;

    // Starts the first start's copy of the shipped database and the first
    // load on a worker thread, once the event loop runs. Until the names
    // arrive a colour's name is empty; the count of names in the settings
    // follows them. Later loads (the window back after a close) stay
    // synchronous, so that a colour chosen while it was closed is named in
    // the window's first frame.
    void loadInBackgroundAtStart();

    // After loadInBackgroundAtStart the worker makes the files and the
    // count follows the load: nothing to do here.
    void createSupportFolderAndNamesDatabase() override;
    // A load on its way is left to arrive by itself.
    void cacheNamesDatabase() override;
    void freeNamesDatabase() override;
    QString closestColorNameToColor(const Color& color) override;
    std::optional<QString> hexCodeForName(const QString& name) override;
    // The cache's completions, with a name typed out in full (in any letter
    // case) moved to the front.
    QStringList completions(const QString& text) override;
    ClosestName closestColorNameOnAnyThread() const override;
    void setWellColorSpace(const ColorSpacePtr& space) override;
    bool hasNamesPreferences() const override { return true; }
    NamesDatabaseUpdater* namesPreferencesUpdater() override { return &updater(); }

    NameCache& cache() { return nameCache; }
    NamesDatabase& database() { return namesDatabase; }
    // Made on first use: most runs never update.
    NamesDatabaseUpdater& updater();

private:
    struct SharedNames;

    UserDefaults& defaults;
    NamesDatabase namesDatabase;
    NameCache nameCache;
    ColorSpacePtr wellSpace;
    std::shared_ptr<SharedNames> shared;
    std::unique_ptr<NamesDatabaseUpdater> namesUpdater;
    bool countAfterLoad = false;
};
