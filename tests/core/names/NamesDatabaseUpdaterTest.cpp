#include "../LogLines.h"
#include "LocalHttpServer.h"
#include "NamesTestData.h"

#include "names/NameCache.h"
#include "names/NamesDatabase.h"
#include "names/NamesDatabaseUpdater.h"

#include "settings/UserDefaults.h"

#include "TempHome.h"

#include <QFile>
#include <QSignalSpy>
#include <QTimer>

namespace {

using Outcome = NamesDatabaseUpdater::Outcome;
using Mode = LocalHttpServer::Response::Mode;

const QString releasesPath = QStringLiteral("/repos/meodai/color-names/releases");
const QString csvPath = QStringLiteral("/color-name-list@v2.0/dist/colornames.csv");
const QByteArray releases = R"([{"id": 7, "name": "v2.0"}, {"id": 6, "name": "v1.0"}])";
const QByteArray newCSV = "name,hex\nNew Red,#ff0000\nNew Green,#00ff00\nNew Blue,#0000ff\n";
const QStringList oldRows{"0|Old Red|ff0000|255|0|0|0|100|50", "1|Old Blue|0000ff|0|0|255|240|100|50"};

// An updater with release 6 installed (two old names), pointed at a local
// server that offers release 7.
struct Update
{
    explicit Update(qint64 installedRelease = 6)
        : defaults(home.configHome() + QStringLiteral("/names.conf"))
        , database(defaults, home.dataHome() + QStringLiteral("/com.quillfen.Huelark"), QString())
        , cache(database.liveDatabasePath())
    {
        QDir().mkpath(database.supportFolder());
        EXPECT_EQ(buildNames("name,hex\nOld Red,#ff0000\nOld Blue,#0000ff\n", database.liveDatabasePath()).rows, 2);
        defaults.setInteger(installedRelease, QStringLiteral("namesID"));
        defaults.setString(QStringLiteral("v1.0"), QStringLiteral("namesVersion"));
        database.updateNamesCount();
        cache.setPrepareCompletionsAhead(false);
        cache.cacheNamesDatabase();

        updater = std::make_unique<NamesDatabaseUpdater>(database, defaults, &cache);
        updater->setAPIHost(server.url());
        updater->setCDNHost(server.url());
        updater->setTransferTimeout(300);
        QObject::connect(updater.get(), &NamesDatabaseUpdater::updatedLabelChanged, updater.get(),
                         [this](const QString& text) { labels << text; });
        server.setResponse(releasesPath, {200, releases, "application/json"});
        server.setResponse(csvPath, {200, newCSV, "text/csv"});
    }

    Outcome run()
    {
        QSignalSpy finished(updater.get(), &NamesDatabaseUpdater::finished);
        updater->pressButton();
        if (finished.isEmpty() && !finished.wait(30000)) {
            ADD_FAILURE() << "the update did not finish";
            return Outcome::Failed;
        }
        return finished.first().first().value<Outcome>();
    }

    // What every ending leaves: back to Idle, nothing left over.
    void expectIdleAndClean() const
    {
        EXPECT_EQ(updater->state(), NamesDatabaseUpdater::State::Idle);
        EXPECT_EQ(updater->buttonTitle(), "Update database");
        EXPECT_EQ(updater->buttonAction(), NamesDatabaseUpdater::ButtonAction::StartDownload);
        EXPECT_TRUE(updater->buttonEnabled());
        EXPECT_FALSE(updater->spinnerVisible());
        EXPECT_FALSE(QFile::exists(database.buildDatabasePath()));
        EXPECT_FALSE(QFile::exists(database.downloadedCSVPath()));
    }

    // The live names and the recorded release are those from before.
    void expectOldNamesKept() const
    {
        EXPECT_EQ(storedRows(database.liveDatabasePath()), oldRows);
        EXPECT_EQ(defaults.integerForKey(QStringLiteral("namesID")), 6);
        EXPECT_EQ(defaults.stringForKey(QStringLiteral("namesVersion")), "v1.0");
        EXPECT_EQ(updater->namesVersion(), "v1.0");
        EXPECT_EQ(updater->databaseVersion(), 6);
        EXPECT_EQ(cache.closestColorNameToColor(Color::fromIntegers(255, 0, 0)), "Old Red");
    }

    TempHome home;
    LocalHttpServer server;
    UserDefaults defaults;
    NamesDatabase database;
    NameCache cache;
    std::unique_ptr<NamesDatabaseUpdater> updater;
    QStringList labels;
};

} // namespace

TEST(NamesDatabaseUpdater, ANewerReleaseIsDownloadedBuiltAndInstalled)
{
    Update u;
    QSignalSpy installed(u.updater.get(), &NamesDatabaseUpdater::databaseInstalled);
    EXPECT_EQ(u.updater->namesCount(), "2 unique color names");

    EXPECT_EQ(u.run(), Outcome::Installed);
    EXPECT_EQ(u.server.requests(), (QStringList{releasesPath, csvPath}));
    EXPECT_EQ(u.labels.mid(0, 3), (QStringList{"Checking Color Names version...", "Getting download information...",
                                               "Finished Downloading... 0.1KB"}));
    EXPECT_TRUE(u.labels.contains("Generating database..."));
    const QString updated = u.defaults.stringForKey(QStringLiteral("namesIDUpdatedDate"));
    EXPECT_TRUE(updated.startsWith("Last Updated: ") && updated.endsWith(" (added 1 new Colors)")) << updated.toStdString();
    EXPECT_EQ(u.updater->updatedLabel(), updated);

    EXPECT_EQ(storedRows(u.database.liveDatabasePath()).size(), 3);
    EXPECT_EQ(u.defaults.integerForKey(QStringLiteral("namesID")), 7);
    EXPECT_EQ(u.defaults.stringForKey(QStringLiteral("namesVersion")), "v2.0");
    EXPECT_EQ(u.updater->namesCount(), "3 unique color names");
    EXPECT_EQ(u.cache.closestColorNameToColor(Color::fromIntegers(255, 0, 0)), "New Red");
    EXPECT_EQ(installed.count(), 1);
    u.expectIdleAndClean();
}

TEST(NamesDatabaseUpdater, TheInstalledReleaseIsCurrentUnlessTheTableIsEmpty)
{
    Update u(7);
    EXPECT_EQ(u.run(), Outcome::Current);
    EXPECT_EQ(u.updater->updatedLabel(), "Installed database is current...");
    EXPECT_EQ(u.server.requests(), QStringList{releasesPath});
    u.expectIdleAndClean();

    // An empty table takes the newest release again, whatever its id. The
    // CDN answers a release's name with a redirect to the file of that version.
    ASSERT_EQ(buildNames("name,hex\n", u.database.liveDatabasePath()).rows, 0);
    u.database.updateNamesCount();
    const QString moved = QStringLiteral("/color-name-list@2.0.0/dist/colornames.csv");
    u.server.setResponse(csvPath, {302, moved.toLatin1(), "text/plain", Mode::Redirect});
    u.server.setResponse(moved, {200, newCSV, "text/csv"});
    EXPECT_EQ(u.run(), Outcome::Installed);
    EXPECT_EQ(u.server.requests().last(), moved);
    EXPECT_EQ(storedRows(u.database.liveDatabasePath()).size(), 3);
}

TEST(NamesDatabaseUpdater, FailuresLeaveTheInstalledNamesAndReturnToIdle)
{
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QString refusing = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();

    const QByteArray big(5000, 'x');
    // An empty apiHost is the local server.
    const struct { const char* what; LocalHttpServer::Response releases, csv; QString apiHost; const char* label; } rows[] = {
        {"error object", {403, R"({"message": "API rate limit exceeded"})", "application/json"}, {}, {},
         "Version check failed...\nHTTP 403 Forbidden"},
        {"not JSON", {200, "<html>Service Unavailable</html>", "text/html"}, {}, {},
         "Version check failed...\nthe answer is not a list of releases"},
        {"no release", {200, "[]", "application/json"}, {}, {}, "Version check failed...\nno release to download"},
        {"release without a name", {200, R"([{"id": 9}])", "application/json"}, {}, {},
         "Version check failed...\nno release to download"},
        {"stalled listing", {200, releases, "application/json", Mode::Stall}, {}, {},
         "Version check failed...\ntimed out"},
        {"refused connection", {}, {}, refusing, "Version check failed...\nConnection refused"},
        {"CSV not found", {200, releases, "application/json"}, {404, "Not found", "text/plain"}, {},
         "Download failed...\nHTTP 404 Not Found"},
        {"stalled CSV", {200, releases, "application/json"}, {200, newCSV, "text/csv", Mode::StallAfter, 10}, {},
         "Download failed...\ntimed out"},
        {"CSV past the size cap", {200, releases, "application/json"}, {200, big, "text/csv"}, {},
         "Download failed...\nlarger than 4 KB"},
        {"CSV past the size cap, size not given", {200, releases, "application/json"},
         {200, big, "text/csv", Mode::WithoutSize}, {}, "Download failed...\nlarger than 4 KB"},
        {"error page as CSV", {200, releases, "application/json"}, {200, "<html><body>Oops</body></html>", "text/html"},
         {}, "Parsing file failed..."},
        {"CSV without rows", {200, releases, "application/json"}, {200, "name,hex\n", "text/csv"}, {},
         "Parsing file failed..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Update u;
        u.server.setResponse(releasesPath, row.releases);
        u.server.setResponse(csvPath, row.csv);
        if (!row.apiHost.isEmpty())
            u.updater->setAPIHost(row.apiHost);
        u.updater->setMaximumDownloadSize(4000);
        LogLines qtWarnings("default");
        EXPECT_EQ(u.run(), Outcome::Failed);
        EXPECT_EQ(u.updater->updatedLabel(), QString::fromLatin1(row.label));
        EXPECT_EQ(qtWarnings.take().filter("QIODevice"), QStringList()) << "an aborted reply is not read";
        u.expectOldNamesKept();
        u.expectIdleAndClean();
    }
}

// Progress counts the bytes, against the announced size when there is one.
TEST(NamesDatabaseUpdater, ProgressCountsTheBytesOfTheAnnouncedSizeIfAny)
{
    const QByteArray csv = largeCSV(4000);
    Update unsized;
    unsized.server.setResponse(csvPath, {200, csv, "text/csv", Mode::WithoutSize});
    EXPECT_EQ(unsized.run(), Outcome::Installed);
    const QStringList progress = unsized.labels.filter(QStringLiteral("Downloading... "));
    EXPECT_FALSE(progress.isEmpty());
    for (const QString& label : progress)
        EXPECT_FALSE(label.contains(" of ")) << label.toStdString();
    EXPECT_EQ(storedRows(unsized.database.liveDatabasePath()).size(), 4000);

    // Half of it, then nothing until the transfer times out.
    Update sized;
    sized.server.setResponse(csvPath, {200, csv, "text/csv", Mode::StallAfter, 20000});
    EXPECT_EQ(sized.run(), Outcome::Failed);
    const QString half = QStringLiteral("Downloading... 20.0KB of %1KB").arg(QString::asprintf("%.1f", csv.size() / 1000.0));
    EXPECT_TRUE(sized.labels.contains(half)) << sized.labels.join(" / ").toStdString();
    EXPECT_EQ(sized.updater->updatedLabel(), "Download failed...\ntimed out");
}

TEST(NamesDatabaseUpdater, CancellingKeepsTheInstalledNames)
{
    using State = NamesDatabaseUpdater::State;
    const struct { State state; LocalHttpServer::Response csv; const char* button; } rows[] = {
        // The server stalls; the cancel ends it.
        {State::Downloading, {200, largeCSV(4000), "text/csv", Mode::StallAfter, 20000}, "Cancel download..."},
        {State::Building, {200, largeCSV(300000), "text/csv"}, "Cancel database creation..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        Update u;
        u.updater->setTransferTimeout(30000);
        u.server.setResponse(csvPath, row.csv);
        QObject::connect(u.updater.get(), &NamesDatabaseUpdater::stateChanged, u.updater.get(), [&](State state) {
            if (state == row.state)
                QTimer::singleShot(0, u.updater.get(), [&] {
                    EXPECT_EQ(u.updater->buttonTitle(), row.button);
                    u.updater->pressButton();
                });
        });
        EXPECT_EQ(u.run(), Outcome::Cancelled);
        EXPECT_EQ(u.updater->updatedLabel(), "Download cancelled...");
        u.expectOldNamesKept();
        u.expectIdleAndClean();
    }
}
