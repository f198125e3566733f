#include "NamesDatabase.h"

#include "Log.h"

#include "sqlite/SqlDatabaseQueue.h"
#include "sqlite/SqlResultSet.h"

#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString lastUpdatedPrefix = QStringLiteral("Last Updated: ");

bool syncPath(const QString& path, int flags, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

QString NamesDatabase::shippedDatabasePath()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    // The install tree has the data where the build configured it, seen from
    // the programs' folder (bin/ -> ../share/huelark); the build tree has the
    // programs one or two folders below its top (src/cli, tests, bench) and
    // the data in its share/huelark.
    for (const char* relative : {"/" HUELARK_DATA_FROM_BIN "/ColorNames.db", "/../share/huelark/ColorNames.db",
                                 "/../../share/huelark/ColorNames.db"}) {
        const QString candidate = QDir::cleanPath(programFolder + QLatin1String(relative));
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

NamesDatabase::NamesDatabase(UserDefaults& defaults, QString supportFolder, QString initialDatabasePath,
                             QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , folder(std::move(supportFolder))
    , initialPath(std::move(initialDatabasePath))
{
}

QString NamesDatabase::liveDatabasePath() const
{
    return folder + QStringLiteral("/ColorNames.db");
}

QString NamesDatabase::buildDatabasePath() const
{
    return folder + QStringLiteral("/temp.db");
}

QString NamesDatabase::downloadedCSVPath() const
{
    return folder + QStringLiteral("/colornames.csv");
}

void NamesDatabase::createSupportFolderAndNamesDatabase()
{
    createSupportFolderAndCopyShippedDatabase();
    updateNamesCount();
}

void NamesDatabase::createSupportFolderAndCopyShippedDatabase() const
{
    QDir().mkpath(folder);
    if (!QFileInfo::exists(liveDatabasePath()) && !initialPath.isEmpty()) {
        // Through a temporary file: a copy cut short must not leave a
        // truncated database that would count as present from then on.
        QFile initial(initialPath);
        QSaveFile live(liveDatabasePath());
        if (initial.open(QIODevice::ReadOnly) && live.open(QIODevice::WriteOnly)) {
            live.write(initial.readAll());
            live.commit();
        }
    }
}

int NamesDatabase::updateNamesCount()
{
    int count = 0;
    const std::unique_ptr<SqlDatabaseQueue> queue =
        SqlDatabaseQueue::databaseQueueWithPath(liveDatabasePath(), SQLITE_OPEN_READONLY);
    if (queue) {
        queue->inDatabase([&count](SqlDatabase* db) {
            if (!db)
                return;
            if (const std::unique_ptr<SqlResultSet> rs = db->executeQuery(QStringLiteral("SELECT Count(*) FROM colors")))
                while (rs->next())
                    count = rs->intForColumnIndex(0);
        });
    }

    const qint64 previous = defaults.integerForKey(DefaultsKeys::namesCountValue);
    defaults.setInteger(count, DefaultsKeys::namesCountValue);
    if (count - previous >= 1) {
        QString date = defaults.stringForKey(DefaultsKeys::namesIDUpdatedDate);
        const qsizetype parenthesis = date.indexOf(u'(');
        if (parenthesis >= 0)
            date = date.left(parenthesis);
        date = date.trimmed();
        // Text written by an earlier count already carries the prefix.
        if (date.startsWith(lastUpdatedPrefix))
            date = date.mid(lastUpdatedPrefix.size());
        if (date.isEmpty())
            date = updatedDateText();
        defaults.setString(QStringLiteral("Last Updated: %1 (added %2 new Colors)").arg(date).arg(count - previous),
                           DefaultsKeys::namesIDUpdatedDate);
        Q_EMIT namesCountIncreased();
    }
    defaults.synchronize();
    return count;
}

bool NamesDatabase::replaceDBFile(const QString& built, const QString& live, QString* error)
{
    if (!syncPath(built, O_RDONLY, error))
        return false;
    if (::rename(QFile::encodeName(built).constData(), QFile::encodeName(live).constData()) != 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(live, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Make the rename itself survive a power cut; the swap has happened
    // either way, so a failure here is only logged.
    QString folderError;
    if (!syncPath(QFileInfo(live).absolutePath(), O_RDONLY | O_DIRECTORY, &folderError))
        qCWarning(lcNames, "cannot flush folder %s", qUtf8Printable(folderError));
    return true;
}

QString NamesDatabase::updatedDateText()
{
    const QLocale locale;
    // Qt has no medium date style; the long one without the weekday and
    // with abbreviated month names is what it would be.
    QString dateFormat = locale.dateFormat(QLocale::LongFormat);
    dateFormat.remove(QStringLiteral("dddd, ")).replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), dateFormat) + QStringLiteral(", ") + locale.toString(now.time(), QLocale::ShortFormat);
}
