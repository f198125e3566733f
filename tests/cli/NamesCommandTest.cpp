#include "CliProcess.h"
#include "DamagedDatabase.h"

#include "LocalHttpServer.h"
#include "../core/names/NamesTestData.h"

#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "names/NamesDatabaseBuilder.h"
#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlResultSet.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString releasesPath = QStringLiteral("/repos/meodai/color-names/releases");
const QString csvPath = QStringLiteral("/color-name-list@v2.0/dist/colornames.csv");

// Rows of `colors`, -1 when the file is no readable names database.
int rowCount(const QString& path)
{
    const auto db = SqlDatabase::databaseWithPath(path);
    if (!QFile::exists(path) || !db->open())
        return -1;
    const auto check = db->executeQuery(QStringLiteral("PRAGMA integrity_check"));
    if (!check || !check->next() || check->stringForColumnIndex(0) != QStringLiteral("ok"))
        return -1;
    check->close();
    const auto rs = db->executeQuery(QStringLiteral("SELECT count(*) FROM colors"));
    return rs && rs->next() ? rs->intForColumnIndex(0) : -1;
}

// A home of its own with a live names database of `rows` names, and a local
// server offering release v2.0; huelark-cli runs while the server answers.
struct UpdateHome
{
    explicit UpdateHome(int rows)
    {
        QDir().mkpath(support());
        const QString csv = dir.filePath("old.csv");
        EXPECT_TRUE(put(csv, largeCSV(rows)));
        EXPECT_EQ(runCli({"names", "build", csv, live()}).exitCode, 0);
        server.setResponse(releasesPath, {200, R"([{"id": 7, "name": "v2.0"}])", "application/json"});
    }
    QString support() const { return dir.path() + "/.local/share/com.quillfen.Huelark"; }
    QString live() const { return support() + "/ColorNames.db"; }
    QStringList update() const { return {"names", "update", "--api", server.url(), "--cdn", server.url()}; }
    CliResult run() { return runCli(update(), environmentWithHome(dir.path())); }

    QTemporaryDir dir;
    LocalHttpServer server;
};

} // namespace

TEST(NamesCommand, BuildWritesTheDatabaseWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("names.csv");
    const QString db = dir.filePath("names.db");
    ASSERT_TRUE(put(csv, largeCSV(3)));
    expectCli({"names", "build", csv, db}, 0, "3 names in " + db + "\n");
    EXPECT_EQ(rowCount(db), 3);

    const struct { const char* what; QStringList arguments; const char* error; } rows[] = {
        {"no rows", {"names", "build", dir.filePath("empty.csv"), db}, "huelark-cli: no colour names in \""},
        {"missing CSV", {"names", "build", dir.filePath("missing.csv"), db}, "huelark-cli: cannot read \""},
        {"one operand", {"names", "build", csv}, "huelark-cli: names build needs CSV and DB"},
        {"unknown action", {"names", "rebuild"}, "huelark-cli: unknown names command \"rebuild\""},
    };
    ASSERT_TRUE(put(dir.filePath("empty.csv"), "name,hex\n"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const CliResult r = runCli(row.arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith(row.error)) << r.err.toStdString();
        EXPECT_EQ(rowCount(db), 3);
        EXPECT_FALSE(QFile::exists(db + ".building"));
    }
}

// The window compares the integers of its own colour space with the stored
// ones, so an update without the window must store those of that space too.
TEST(NamesCommand, UpdateReadsTheCodesIntoTheWindowsColourSpace)
{
    const ColorSpacePtr adobe = ColorSpaceRegistry().spaceNamed("Compatible with Adobe RGB (1998)");
    if (!adobe)
        GTEST_SKIP() << "needs colord-data";

    UpdateHome home(2);
    UserDefaults settings(home.dir.path() + "/.config/com.quillfen.Huelark/Huelark.conf");
    settings.setString(adobe->name(), "colorSpace");
    settings.synchronize();
    home.server.setResponse(csvPath, {200, "name,hex\nRed,#ff0000\n", "text/csv"});
    const CliResult r = home.run();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const std::array<int, 3> expected = HexCodec::colorWithHexColorString("ff0000", adobe)->integerComponents();
    ASSERT_NE(expected, (std::array<int, 3>{255, 0, 0}));
    const auto db = SqlDatabase::databaseWithPath(home.live());
    ASSERT_TRUE(db->open());
    const auto rs = db->executeQuery("SELECT r, g, b FROM colors WHERE name = 'Red'");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ((std::array<int, 3>{rs->intForColumnIndex(0), rs->intForColumnIndex(1), rs->intForColumnIndex(2)}),
              expected);
}

// An update killed in the middle, as by a crash or a power cut, must leave
// the names the user had: the new database is only ever put in place whole.
TEST(NamesCommand, AnUpdateKilledWhileBuildingLeavesTheLiveDatabaseIntactAndTheNextInstalls)
{
    UpdateHome home(3);
    home.server.setResponse(csvPath, {200, largeCSV(400000), "text/csv"});
    const QString building = home.support() + "/temp.db";
    QProcess process;
    process.setProcessEnvironment(environmentWithHome(home.dir.path()));
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(qEnvironmentVariable("HUELARK_CLI"), home.update());

    // Kill it as soon as its database is being built.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &process, [&] {
        if (QFile::exists(building))
            process.kill();
    });
    poll.start(1);
    ASSERT_TRUE(finished.wait(60000));
    poll.stop();
    ASSERT_EQ(process.exitStatus(), QProcess::CrashExit) << "the update ended before it was killed";

    EXPECT_EQ(rowCount(home.live()), 3);

    // The next update starts afresh and installs, then finds the release
    // current; a failed check changes nothing.
    home.server.setResponse(csvPath, {200, largeCSV(5), "text/csv"});
    const CliResult installed = home.run();
    EXPECT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    const QStringList lines = installed.errLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "Checking Color Names version...");
    EXPECT_EQ(lines.last(), "5 unique color names");
    EXPECT_EQ(rowCount(home.live()), 5);
    EXPECT_FALSE(QFile::exists(building));

    const CliResult current = home.run();
    EXPECT_EQ(current.exitCode, 0);
    EXPECT_EQ(current.errLines(), (QStringList{"Checking Color Names version...", "Installed database is current..."}));

    home.server.setResponse(releasesPath, {403, R"({"message": "API rate limit exceeded"})", "application/json"});
    const CliResult failed = home.run();
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_EQ(failed.errLines().mid(1), (QStringList{"Version check failed...", "HTTP 403 Forbidden"}));
    EXPECT_EQ(rowCount(home.live()), 5);
}

TEST(NameCommand, NamesEachValueOnItsOwnLineAndRefusesAMissingOrDamagedDatabase)
{
    expectCli({"name", "9aa2f8", "ff0000"}, 0, "Periwinkle Blue\nRed\n");

    QTemporaryDir dir;
    const QString csv = dir.filePath("names.csv");
    const QString db = dir.filePath("names.db");
    ASSERT_TRUE(put(csv, "name,hex\nRed,#ff0000\nBlue,#0000ff\nAce,#c7cce7\n"));
    ASSERT_EQ(runCli({"names", "build", csv, db}).exitCode, 0);

    // A name of the database is taken before a code ("Ace" is not #aaccee).
    expectCli({"name", "--db", db, "#ff0000", "fe0000", "rgb(0,0,200)", "Blue", "Ace", "nope"}, 2,
              "Red\nRed\nBlue\nBlue\nAce\n", {"huelark-cli: cannot read value \"nope\""});

    const CliResult json = runCli({"convert", "--json", "--db", db, "Ace", "ace"});
    EXPECT_EQ(json.exitCode, 0);
    const QStringList lines = json.outLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(R"({"input":"Ace","name":"Ace","hex":"c7cce7",)")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(R"({"input":"ace","name":"Ace","hex":"aaccee",)")) << lines[1].toStdString();

    const QString missing = dir.filePath("missing.db");
    expectCli({"name", "--db", missing, "ff0000"}, 2, "", {"huelark-cli: no names database at \"" + missing + "\""});
    EXPECT_FALSE(QFile::exists(missing));

    // Damaged in the middle, it would load as a shorter table and answer
    // wrong names as if they were right.
    const QString damaged = dir.filePath("damaged.db");
    ASSERT_TRUE(QFile::copy(NamesDatabase::shippedDatabasePath(), damaged));
    damageMiddlePages(damaged);
    expectCli({"name", "--db", damaged, "ff0000"}, 2, "",
              {"huelark-cli: cannot read the names database \"" + damaged + "\": database disk image is malformed"});

    const CliResult convert = runCli({"convert", "--db", missing, "ff0000"});
    EXPECT_EQ(convert.exitCode, 2);
    EXPECT_TRUE(convert.out.startsWith("name Invalid Color\nhex ff0000\n")) << convert.out.toStdString();
}
