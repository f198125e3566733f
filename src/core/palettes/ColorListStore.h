#pragma once

#include "ColorList.h"

#include <QFileSystemWatcher>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>
#include <utility>

class Sandbox;

// The user's colour lists, one file per list in the private colour folder,
// and the fixed system lists beside them. Lists are read once and kept; the
// folder is watched, so a change made by another Huelark process or by hand
// is picked up and announced like our own.
//
// Only files this store could have written are lists: "<ListFileName>.clr"
// that read completely. Anything else in the folder is left alone, and the
// name of an unreadable list file stays taken, so that a new list can never
// replace it.
//
// Main thread only.
class ColorListStore : public QObject
{
    Q_OBJECT

public:
    struct Available
    {
        ColorList list;
        bool editable = false; // a user list; system lists are fixed
    };

    // A user list moved to the desktop's trash, with what it takes to bring
    // it back: where each of its files went, and the list itself for when
    // the trash has been emptied since.
    struct TrashedList
    {
        ColorList list;
        QList<std::pair<QString, QString>> files; // (where it was, where it is in the trash)
    };

    enum class Watching { no, yes };

    // $XDG_DATA_HOME/huelark/Colors
    static QString colorListFolder();

    explicit ColorListStore(const QString& folder = colorListFolder(), Watching watching = Watching::yes,
                            QObject* parent = nullptr);
    ~ColorListStore() override;

    QString folder() const { return listFolder; }
    // The file of the user list `name`; empty for a name that cannot be a
    // file name (ListFileName).
    QString pathForColorListWithName(const QString& name) const;

    // User lists by name (letter case ignored), then the system lists.
    QList<Available> availableColorLists() const;
    std::optional<ColorList> colorListNamed(const QString& name) const;
    bool isEditable(const QString& name) const;
    // What a new list must not be called: every list's name, and the names
    // of list files that cannot be read.
    QSet<QString> takenNames() const;

    // A new empty user list, held until it is written. False when the name
    // is taken or cannot be a file name.
    bool createColorList(const QString& name);
    // Into a user list, held until it is written; see ColorList::insertColor.
    bool insertColor(const QString& listName, const Color& color, const QString& key, qsizetype index);
    // Writes the user list's file and mirrors it. Empty on success,
    // otherwise the reason; the old file is then whole.
    QString writeColorList(const QString& name);
    // Makes `list` the user list of its name (a new one, or replacing the
    // one of that name) and writes it, as writeColorList.
    QString saveColorList(const ColorList& list);
    // Deletes the user list's file and its mirror.
    bool removeColorList(const QString& name);
    // Writes the list under `newName`, then removes the old one; the mirror
    // follows. Empty on success, otherwise the reason.
    QString renameColorList(const QString& oldName, const QString& newName);
    // Moves the user list's files to the desktop's trash and removes its
    // mirror. Nothing, and the list kept, when it is not the user's or its
    // file cannot be moved to a trash.
    std::optional<TrashedList> trashColorList(const QString& name);
    // Brings a trashed list back: its own files when the trash still has
    // them, otherwise written anew; under a new name ("Warm (2)") when its
    // name has been taken since. The name it came back under, or nothing
    // with the reason in `error`.
    std::optional<QString> restoreColorList(const TrashedList& trashed, QString* error = nullptr);

    // The mirror every write and removal goes through; none by default.
    void setSandbox(const Sandbox* sandbox) { mirror = sandbox; }

    // Reads the folder again now; what the watcher does after a change.
    void reload();

Q_SIGNALS:
    // Once after each burst of changes, ours or another process's.
    void colorListsChanged();

private:
    void changed();
    void scheduleReload();
    void watchFiles();
    const QList<ColorList>& systemLists() const;

    QString listFolder;
    QMap<QString, ColorList> userLists;
    QSet<QString> unwritten;  // created or changed here, not yet written
    QSet<QString> unreadable; // list files whose names stay taken
    mutable std::optional<QList<ColorList>> system;
    QFileSystemWatcher* watcher = nullptr;
    const Sandbox* mirror = nullptr;
    bool reloadPending = false;
    bool announce = false;
};
