#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>

#include <memory>
#include <mutex>

class NameTable;
class UserDefaults;

// The names database files in the support folder and the two things the
// program does with them outside an update: the first-start copy of the
// shipped database, and the row count shown in the Names preferences.
//
//   ColorNames.db   the live database every name comes from
//   temp.db         an update's database while it is built
//   colornames.csv  an update's download
class NamesDatabase : public QObject
{
    Q_OBJECT

public:
    // "ColorNames.db" beside the program's data: share/huelark/ under the
    // install prefix, or share/huelark/ at the top of the build tree (where
    // the build puts it). Empty when neither exists.
    static QString shippedDatabasePath();

    NamesDatabase(UserDefaults& defaults, QString supportFolder, QString initialDatabasePath,
                  QObject* parent = nullptr);

    const QString& supportFolder() const { return folder; }
    const QString& initialDatabasePath() const { return initialPath; }
    QString liveDatabasePath() const;
    QString buildDatabasePath() const;
    QString downloadedCSVPath() const;

    // Creates the support folder, copies the shipped database in when there
    // is no live one yet, removes what an update cut short left behind, then
    // updateNamesCount.
    void createSupportFolderAndNamesDatabase();
    // The download and the build database of an update that never finished
    // (the program was killed); only called at start, when none can be
    // running.
    void removeLeftoversOfAnInterruptedUpdate() const;

    // The names of the live database. When it cannot be read to its end or
    // holds no name, it is moved aside (dated, never deleted), the shipped
    // database is copied in its place and read instead, and the reinstall is
    // recorded on this object's thread (see recordReinstall). Any thread;
    // null only when there is no readable database at all.
    std::shared_ptr<const NameTable> loadLiveNames();
    // The files of that alone, without the count: it touches no settings, so
    // a worker thread may run it.
    void createSupportFolderAndCopyShippedDatabase() const;

    // Stores the live table's row count under "namesCountValue". When it
    // grew, the last-update text says by how much ("Last Updated: %@ (added
    // %ld new Colors)") and namesCountIncreased is emitted. Answers the count.
    int updateNamesCount();

    // Puts `built` in place of `live` in one step: `built` is flushed to disk
    // and renamed over `live`, so whatever happens, `live` holds either the
    // old database or the new one, whole. Both must be in one folder. False
    // (with the reason in `error`) when it cannot; `live` is untouched then.
    static bool replaceDBFile(const QString& built, const QString& live, QString* error = nullptr);

    // The medium date and short time, as the last-update text shows it: the
    // locale's own formats without weekday or seconds.
    static QString updatedDateText(const QDateTime& when = QDateTime::currentDateTime(),
                                   const QLocale& locale = QLocale());
    // "Shipped with Huelark <version>"
    static QString shippedText();
    // The status line of the Names preferences when nothing is going on: the
    // text of the last update or reinstall, or shippedText() when there has
    // been none.
    static QString statusText(const UserDefaults& defaults);

Q_SIGNALS:
    // The table has more names than before: the shown name may change.
    void namesCountIncreased();
    // The live database was replaced by the shipped one; `notice` says why
    // and where the old one is, and is the status line from now on.
    void liveDatabaseReinstalled(const QString& notice);

private:
    // On this object's thread: the release is no longer installed, the count
    // follows the shipped table, and the status line says what happened.
    void recordReinstall(const QString& problem, const QString& movedTo);

    UserDefaults& defaults;
    QString folder;
    QString initialPath;
    std::mutex repairing; // one check-and-reinstall at a time
};
