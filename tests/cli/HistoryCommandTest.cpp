#include "CliProcess.h"
#include "DamagedDatabase.h"
#include "../core/history/HistoryFixture.h"

namespace {

// The program's side: a store in the throw-away home, recording at the
// moments the test gives, with day strings in American English.
class HistoryCommandTest : public HistoryFixture
{
protected:
    void SetUp() override
    {
        closestName = [](const Color& color) {
            return color.integerComponents()[0] == 255 ? QStringLiteral("Red \"Alert\"") : QStringLiteral("Other");
        };
        HistoryFixture::SetUp();
    }

    // The command as a user runs it: a Japanese time zone and an English
    // locale, whatever the machine's.
    CliResult history(const QStringList& options = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TZ", "JST-9");
        environment.insert("LC_ALL", "en_US.UTF-8");
        return runCli(QStringList {"history"} + options, environment);
    }

    static QDateTime utc(int day, int hour, int minute)
    {
        return QDateTime(QDate(2026, 12, day), QTime(hour, minute, 5, 120), Qt::UTC);
    }
};

} // namespace

TEST_F(HistoryCommandTest, ListsEveryEntryLatestDayFirst)
{
    // Nothing recorded prints nothing, and reading creates nothing.
    const CliResult none = history();
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out + none.err, "");
    EXPECT_FALSE(QFileInfo::exists(folder()));

    setSwatches({rgb(255, 249, 190), rgb(154, 162, 248)});
    record(rgb(255, 0, 0), utc(5, 10, 0));
    setSwatches({});
    record(rgb(0, 128, 255), utc(12, 9, 0));
    setSwatches({rgb(0, 0, 0)});
    record(rgb(1, 2, 3), utc(12, 11, 30));

    // "Dec 12" sorts before "Dec 5" as a string; the dates decide.
    const QStringList plain = {
        "Dec 12, 2026\t20:30:05\tOther\t010203\t000000",
        "Dec 12, 2026\t18:00:05\tOther\t0080ff\t",
        "Dec 5, 2026\t19:00:05\tRed \"Alert\"\tff0000\tfff9be 9aa2f8",
    };
    const QStringList json = {
        R"({"day":"Dec 12, 2026","saved":"2026-12-12T20:30:05.120+09:00","name":"Other","hex":"010203","colors":["000000"]})",
        R"({"day":"Dec 12, 2026","saved":"2026-12-12T18:00:05.120+09:00","name":"Other","hex":"0080ff","colors":[]})",
        R"({"day":"Dec 5, 2026","saved":"2026-12-05T19:00:05.120+09:00","name":"Red \"Alert\"","hex":"ff0000","colors":["fff9be","9aa2f8"]})",
    };

    // While the program has the store open, and after it closed it.
    for (int closed = 0; closed < 2; ++closed) {
        SCOPED_TRACE(closed ? "store closed" : "store open");
        if (closed)
            store.reset();
        const CliResult text = history();
        EXPECT_EQ(text.exitCode, 0);
        EXPECT_EQ(text.err, "");
        EXPECT_EQ(text.out.split('\n', Qt::SkipEmptyParts), plain);
        const CliResult lines = history({"--json"});
        EXPECT_EQ(lines.exitCode, 0);
        EXPECT_EQ(lines.outLines(), json);
    }
}

TEST_F(HistoryCommandTest, AnUnreadableStoreIsAnError)
{
    const QString file = folder() + "/Palettes.storedata";
    const struct { const char* what; std::function<void()> make; const char* error; } rows[] = {
        {"not a database", [&] { ASSERT_TRUE(put(file, QByteArray(4096, 'x'))); }, "file is not a database"},
        // A read cut short is not a shorter history.
        {"damaged in the middle", [&] { writeDamagedHistoryStore(file); }, "database disk image is malformed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        row.make();
        const CliResult r = history();
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.errLines(), QStringList {"huelark-cli: cannot read the history store \"" + file + "\": "
                                             + row.error});
    }
}
