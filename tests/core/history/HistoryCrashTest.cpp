#include "QtPrinters.h"
#include "TempHome.h"

#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "history/HistoryStore.h"
#include "settings/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdio>

// Crash safety: a child process records entries as fast as the writer
// commits them and prints each one the store reports saved; the parent kills
// it with SIGKILL in the middle of the burst, then checks that the file is
// intact and that every entry reported saved is in it.

namespace {

const char* const folderVariable = "HUELARK_HISTORY_BURST_FOLDER";
const char* const childTest = "HistoryCrashChild.DISABLED_RecordsUntilKilled";

// A store on `folder` as the program makes one. Entries made across midnight
// would land on two days: the clock is fixed.
std::unique_ptr<HistoryStore> storeIn(const QString& folder, UserDefaults& defaults, const ColorSpaceRegistry& spaces)
{
    HistoryStore::Options options;
    options.folder = folder;
    options.closestColorName = [](const Color& color) {
        return HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or(QString());
    };
    options.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(14, 3, 5)); };
    return std::make_unique<HistoryStore>(defaults, spaces, options);
}

QStringList column(sqlite3* db, const char* sql)
{
    QStringList values;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return {QStringLiteral("cannot prepare: ") + QString::fromUtf8(sqlite3_errmsg(db))};
    while (sqlite3_step(statement) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return values;
}

} // namespace

// The child half, run only by the test below (in a process of its own).
TEST(HistoryCrashChild, DISABLED_RecordsUntilKilled)
{
    const QString folder = qEnvironmentVariable(folderVariable);
    ASSERT_FALSE(folder.isEmpty());
    std::printf("home %s\n", qgetenv("HOME").constData());
    std::fflush(stdout);

    UserDefaults defaults(folder + "/Huelark.conf");
    const ColorSpaceRegistry spaces(QStringList {});
    const std::unique_ptr<HistoryStore> store = storeIn(folder, defaults, spaces);
    ASSERT_FALSE(store->open());

    // Keep a few entries queued so that the writer is always busy: the kill
    // lands in a transaction or a commit, not in a pause between them.
    int next = 0;
    auto recordOne = [&] {
        ++next;
        store->saveHistoryItem(Color::fromIntegersSingle(next & 0xff, (next >> 8) & 0xff, (next >> 16) & 0xff));
    };
    QEventLoop loop;
    QObject::connect(store.get(), &HistoryStore::historyItemSaved, &loop, [&](const QString&, const HistoryEntry& entry) {
        std::printf("saved %s\n", qPrintable(entry.name));
        std::fflush(stdout);
        if (next < 100000)
            recordOne();
        else
            loop.quit();
    });
    for (int i = 0; i < 8; ++i)
        recordOne();
    // Never reached in the parent's test unless it stops reading for a minute.
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(HistoryCrash, EntriesReportedSavedSurviveAKill)
{
    TempHome home;
    const QString folder = home.dataHome() + "/com.quillfen.Huelark";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(folderVariable, folder);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + childTest, "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(child.waitForStarted());

    QSet<QString> reported;
    QString childHome;
    auto readLines = [&] {
        while (child.canReadLine()) {
            const QString line = QString::fromUtf8(child.readLine()).trimmed();
            if (line.startsWith("saved "))
                reported.insert(line.mid(6));
            else if (line.startsWith("home "))
                childHome = line.mid(5);
        }
    };
    while (reported.size() < 60 && child.state() == QProcess::Running) {
        child.waitForReadyRead(1000);
        readLines();
    }
    ASSERT_EQ(child.state(), QProcess::Running) << "the child ended before it was killed";
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    readLines();
    // The child had no chance to remove its own throw-away home.
    if (!childHome.isEmpty() && childHome.startsWith(QDir::tempPath() + '/'))
        QDir(childHome).removeRecursively();
    ASSERT_GE(reported.size(), 60);

    // The file as the killed process left it (the WAL not yet checkpointed):
    // sound, and every row in its place.
    const QString file = folder + "/Palettes.storedata";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    EXPECT_EQ(column(db, "PRAGMA integrity_check"), QStringList {"ok"});
    EXPECT_EQ(column(db, "PRAGMA foreign_key_check"), QStringList {});
    EXPECT_EQ(column(db, "SELECT count(*) FROM History WHERE date_id NOT IN (SELECT id FROM \"Date\")"),
              QStringList {"0"});
    EXPECT_EQ(column(db, "SELECT count(*) FROM \"Date\" GROUP BY date HAVING count(*) > 1"), QStringList {});
    sqlite3_close(db);

    // Reopened by the program, every entry reported saved is there, and
    // recording goes on.
    UserDefaults defaults(home.configHome() + "/Huelark.conf");
    const ColorSpaceRegistry spaces(QStringList {});
    const std::unique_ptr<HistoryStore> store = storeIn(folder, defaults, spaces);
    ASSERT_FALSE(store->open());
    QSet<QString> stored;
    for (const QList<HistoryEntry>& day : store->getHistory())
        for (const HistoryEntry& entry : day)
            stored.insert(entry.name);
    for (const QString& name : reported)
        EXPECT_TRUE(stored.contains(name)) << "reported saved but lost: " << name.toStdString();
    EXPECT_GE(stored.size(), reported.size());

    store->saveHistoryItem(Color::fromIntegersSingle(1, 2, 3));
    store->waitForPendingSaves();
    int total = 0;
    for (const QList<HistoryEntry>& day : store->getHistory())
        total += int(day.size());
    EXPECT_EQ(total, stored.size() + 1);
}
