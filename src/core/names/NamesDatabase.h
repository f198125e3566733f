#pragma once

#include <QObject>
#include <QString>

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
    // is no live one yet, then updateNamesCount.
    void createSupportFolderAndNamesDatabase();
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

    // The medium date and short time of now, as the last-update text shows it.
    static QString updatedDateText();

Q_SIGNALS:
    // The table has more names than before: the shown name may change.
    void namesCountIncreased();

private:
    UserDefaults& defaults;
    QString folder;
    QString initialPath;
};
