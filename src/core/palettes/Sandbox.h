#pragma once

#include <QString>
#include <QStringList>

class UserDefaults;

// The mirror of the user's lists where other programs see them. There is no
// sandbox on Linux, so access is always granted; what remains is the copy:
// each list is written as a GIMP palette, "huelark-<file name>.gpl", into
// every shared palette folder (the setting "sharedColorFolders"; GIMP's,
// Inkscape's and Krita's by default). The setting "sharePalettes" turns the
// mirror off.
//
// Those folders belong to other programs and to the user: the mirror only
// ever writes and deletes files whose names carry its prefix.
class Sandbox
{
public:
    static const QString mirrorPrefix; // "huelark-"

    // Reads the settings through `defaults` at each call; lists are read from
    // `colorListFolder`, the store's folder.
    Sandbox(const UserDefaults& defaults, const QString& colorListFolder);

    // The shared folders registered by default: the palette folders of
    // GIMP 2.10 and 3.0, Inkscape and Krita, each only when that program's
    // own folder exists. Written with "~", as the setting keeps them.
    static QStringList defaultSharedColorFolders(const UserDefaults& defaults);
    static void registerDefaults(UserDefaults& defaults);

    // A leading "~" replaced by "userFolder", or by $HOME while that is unset.
    static QString checkForUserDirectory(const QString& path, const UserDefaults& defaults);
    QString checkForUserDirectory(const QString& path) const;

    // The shared folders, expanded; none while sharing is off.
    QStringList sharedFolders() const;
    // "huelark-<file name of the list>.gpl"; empty for a name without a file.
    static QString mirrorFileName(const QString& name);

    // Writes the mirror of the list's private file into every shared folder,
    // atomically, over the old mirror. False for an empty name, a list
    // without a file, sharing off, or a folder that could not be written.
    bool addColorListNamed(const QString& name) const;
    // Deletes the list's mirrors; true when one was deleted and none failed.
    bool removeColorListNamed(const QString& name) const;
    // Whether every shared folder holds a mirror of the list.
    bool colorListExists(const QString& name) const;
    // Mirrors every private list that lacks a mirror.
    void syncColorLists() const;

private:
    const UserDefaults& defaults;
    QString listFolder;
};
