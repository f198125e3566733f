#include "NamesDatabase.h"

#include "Log.h"

#include "NameTable.h"

#include "sqlite/SqlDatabase.h"
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
#include <functional>
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

// A date or time format split into its fields ("dddd", "MMM", "ss": runs of
// one pattern letter) and the literal text between them.
struct FormatPart
{
    QString text;
    bool field = false;
};

QList<FormatPart> formatParts(const QString& format)
{
    QList<FormatPart> parts;
    auto literal = [&parts](const QString& text) {
        if (!parts.isEmpty() && !parts.last().field)
            parts.last().text += text;
        else
            parts.append({text, false});
    };
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            // Quoted text, with '' for a quote, stays as written.
            const qsizetype end = format.indexOf(u'\'', i + 1);
            const qsizetype stop = end < 0 ? format.size() : end + 1;
            literal(format.mid(i, stop - i));
            i = stop;
        } else if (c.isLetter() && c.unicode() < 0x80) {
            qsizetype end = i;
            while (end < format.size() && format[end] == c)
                ++end;
            parts.append({format.mid(i, end - i), true});
            i = end;
        } else {
            literal(QString(c));
            ++i;
        }
    }
    return parts;
}

// `format` without the fields `drop` picks, and without the separator that
// only stood beside them (", " after a leading weekday, ":" before seconds).
// A separator holding letters (a unit such as the "日" of a day) stays.
QString withoutFields(const QString& format, const std::function<bool(const QString&)>& drop)
{
    QList<FormatPart> parts = formatParts(format);
    auto isSeparator = [](const FormatPart& part) {
        if (part.field)
            return false;
        for (QChar c : part.text)
            if (c.isLetter() || c == u'\'')
                return false;
        return true;
    };
    for (qsizetype i = 0; i < parts.size();) {
        if (!parts[i].field || !drop(parts[i].text)) {
            ++i;
            continue;
        }
        parts.removeAt(i);
        if (i > 0 && isSeparator(parts[i - 1]) && (i == parts.size() || i >= 2)) {
            parts.removeAt(i - 1);
            --i;
        } else if (i < parts.size() && isSeparator(parts[i])) {
            parts.removeAt(i);
        }
    }
    QString result;
    for (const FormatPart& part : parts)
        result += part.text;
    return result.trimmed();
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
    removeLeftoversOfAnInterruptedUpdate();
    updateNamesCount();
}

void NamesDatabase::removeLeftoversOfAnInterruptedUpdate() const
{
    const QString build = buildDatabasePath();
    for (const QString& file : {downloadedCSVPath(), build, build + QStringLiteral("-journal"),
                                build + QStringLiteral("-wal"), build + QStringLiteral("-shm")}) {
        if (QFile::remove(file))
            qCInfo(lcNames, "removed %s, left by an update that did not finish", qUtf8Printable(file));
    }
}

std::shared_ptr<const NameTable> NamesDatabase::loadLiveNames()
{
    std::unique_lock<std::mutex> lock(repairing);
    const QString live = liveDatabasePath();
    QString error;
    const std::shared_ptr<const NameTable> names = NameTable::load(live, &error);
    if (names && names->recordCount() > 0)
        return names;
    if (initialPath.isEmpty() || !QFileInfo::exists(initialPath)) {
        qCWarning(lcNames, "cannot use the names database %s (%s), and there is no shipped one to put back",
                  qUtf8Printable(live), names ? "no names" : qUtf8Printable(error));
        return names;
    }

    // Moved, never deleted: it may be the only copy of names the user
    // cares about, and it shows what went wrong.
    QString movedTo;
    if (QFileInfo::exists(live)) {
        QString moveError;
        const std::optional<QString> moved =
            SqlDatabase::moveDatabaseFilesAside(live, QDateTime::currentDateTime(), &moveError);
        if (!moved) {
            qCWarning(lcNames, "cannot move the damaged names database aside: %s", qUtf8Printable(moveError));
            return names;
        }
        movedTo = *moved;
    }
    createSupportFolderAndCopyShippedDatabase();
    std::shared_ptr<const NameTable> shipped = NameTable::load(live);
    // A file that was simply missing is put back without a word, as at the
    // first start.
    if (!movedTo.isEmpty()) {
        const QString problem = names ? QStringLiteral("held no names")
                                      : QStringLiteral("could not be read (%1)").arg(error);
        // Unlocked: what hears of it on this thread may load names again.
        lock.unlock();
        QMetaObject::invokeMethod(this, [this, problem, movedTo] { recordReinstall(problem, movedTo); });
    }
    return shipped ? shipped : names;
}

void NamesDatabase::recordReinstall(const QString& problem, const QString& movedTo)
{
    defaults.removeObjectForKey(DefaultsKeys::namesID);
    defaults.removeObjectForKey(DefaultsKeys::namesVersion);
    // Empty first, so that the count does not take the reinstall for an
    // update that added names.
    defaults.removeObjectForKey(DefaultsKeys::namesIDUpdatedDate);
    updateNamesCount();
    const QString notice = QStringLiteral("The names database %1, so the names %2 were put back. "
                                          "The old file is kept as %3.")
                               .arg(problem, shippedText().replace(0, 1, u's'), QDir::toNativeSeparators(movedTo));
    defaults.setString(notice, DefaultsKeys::namesIDUpdatedDate);
    defaults.synchronize();
    qCWarning(lcNames, "%s", qUtf8Printable(notice));
    Q_EMIT liveDatabaseReinstalled(notice);
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
        // No update has run (the first start's copy): there is no date to
        // tell, and the names are those shipped.
        if (!date.isEmpty())
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

QString NamesDatabase::updatedDateText(const QDateTime& when, const QLocale& locale)
{
    // Qt has no medium date style: it is the long one without the weekday
    // ("ddd", "dddd") and with abbreviated month names. The short time has
    // no seconds in the locales Qt knows; they are taken out all the same.
    QString dateFormat = withoutFields(locale.dateFormat(QLocale::LongFormat),
                                       [](const QString& field) { return field.startsWith(u'd') && field.size() >= 3; });
    dateFormat.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    const QString timeFormat = withoutFields(locale.timeFormat(QLocale::ShortFormat), [](const QString& field) {
        return field.startsWith(u's') || field.startsWith(u'z');
    });
    return locale.toString(when.date(), dateFormat) + QStringLiteral(", ") + locale.toString(when.time(), timeFormat);
}

QString NamesDatabase::shippedText()
{
    return QStringLiteral("Shipped with Huelark " HUELARK_VERSION);
}

QString NamesDatabase::statusText(const UserDefaults& defaults)
{
    const QString stored = defaults.stringForKey(DefaultsKeys::namesIDUpdatedDate);
    return stored.isEmpty() ? shippedText() : stored;
}
