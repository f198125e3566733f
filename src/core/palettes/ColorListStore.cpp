#include "ColorListStore.h"

#include "ClrFormat.h"
#include "ColorListNaming.h"
#include "ListFileName.h"
#include "PaletteFile.h"
#include "Sandbox.h"
#include "SystemColorLists.h"

#include "Log.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace {
const QString extension = QStringLiteral(".clr");
}

QString ColorListStore::colorListFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/huelark/Colors");
}

ColorListStore::ColorListStore(const QString& folder, Watching watching, QObject* parent)
    : QObject(parent)
    , listFolder(folder)
{
    if (watching == Watching::yes) {
        // A folder that does not exist cannot be watched.
        QDir().mkpath(listFolder);
        watcher = new QFileSystemWatcher(this);
        connect(watcher, &QFileSystemWatcher::directoryChanged, this, &ColorListStore::scheduleReload);
        connect(watcher, &QFileSystemWatcher::fileChanged, this, &ColorListStore::scheduleReload);
    }
    reload();
}

ColorListStore::~ColorListStore() = default;

QString ColorListStore::pathForColorListWithName(const QString& name) const
{
    const std::optional<QString> file = ListFileName::fileNameForList(name);
    return file ? listFolder + u'/' + *file + extension : QString();
}

QList<ColorListStore::Available> ColorListStore::availableColorLists() const
{
    QList<Available> all;
    for (const ColorList& list : userLists)
        all << Available {list, true};
    std::stable_sort(all.begin(), all.end(), [](const Available& a, const Available& b) {
        return a.list.name().compare(b.list.name(), Qt::CaseInsensitive) < 0;
    });
    for (const ColorList& list : systemLists())
        if (!userLists.contains(list.name()))
            all << Available {list, false};
    return all;
}

std::optional<ColorList> ColorListStore::colorListNamed(const QString& name) const
{
    if (userLists.contains(name))
        return userLists.value(name);
    for (const ColorList& list : systemLists())
        if (list.name() == name)
            return list;
    return std::nullopt;
}

bool ColorListStore::isEditable(const QString& name) const
{
    return userLists.contains(name);
}

QSet<QString> ColorListStore::takenNames() const
{
    QSet<QString> names = unreadable;
    for (const QString& name : userLists.keys())
        names.insert(name);
    for (const ColorList& list : systemLists())
        names.insert(list.name());
    return names;
}

bool ColorListStore::createColorList(const QString& name)
{
    if (takenNames().contains(name) || pathForColorListWithName(name).isEmpty())
        return false;
    userLists.insert(name, ColorList(name));
    unwritten.insert(name);
    changed();
    return true;
}

bool ColorListStore::insertColor(const QString& listName, const Color& color, const QString& key, qsizetype index)
{
    auto list = userLists.find(listName);
    if (list == userLists.end())
        return false;
    list->insertColor(color, key, index);
    unwritten.insert(listName);
    changed();
    return true;
}

QString ColorListStore::writeColorList(const QString& name)
{
    if (!userLists.contains(name))
        return QStringLiteral("there is no list \"%1\" of yours").arg(name);
    return saveColorList(userLists.value(name));
}

QString ColorListStore::saveColorList(const ColorList& list)
{
    const QString path = pathForColorListWithName(list.name());
    if (path.isEmpty())
        return QStringLiteral("\"%1\" cannot be the name of a list").arg(list.name());
    if (unreadable.contains(list.name()))
        return QStringLiteral("the file of the list \"%1\" cannot be read, so it is not replaced").arg(list.name());
    if (!userLists.contains(list.name()) && takenNames().contains(list.name()))
        return QStringLiteral("\"%1\" is a system list").arg(list.name());
    QDir().mkpath(listFolder);
    // A long name is kept beside its shortened file name, before the list,
    // so the list never stands without its name.
    const QString base = QFileInfo(path).completeBaseName();
    QString error;
    if (ListFileName::isShortened(base))
        error = PaletteFile::writeAtomically(listFolder + u'/' + base + ListFileName::nameExtension,
                                             list.name().toUtf8());
    if (error.isEmpty())
        error = PaletteFile::writeAtomically(path, ClrFormat::writeColorList(list));
    if (!error.isEmpty()) {
        qCWarning(lcPalettes) << "cannot write" << path << error;
        return error;
    }
    userLists.insert(list.name(), list);
    unwritten.remove(list.name());
    changed();
    if (mirror)
        mirror->addColorListNamed(list.name());
    return {};
}

bool ColorListStore::removeColorList(const QString& name)
{
    if (!userLists.contains(name))
        return false;
    const QString path = pathForColorListWithName(name);
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
        qCWarning(lcPalettes) << "cannot delete" << path;
        return false;
    }
    const QString base = QFileInfo(path).completeBaseName();
    if (ListFileName::isShortened(base))
        QFile::remove(listFolder + u'/' + base + ListFileName::nameExtension);
    userLists.remove(name);
    unwritten.remove(name);
    changed();
    if (mirror)
        mirror->removeColorListNamed(name);
    return true;
}

QString ColorListStore::renameColorList(const QString& oldName, const QString& newName)
{
    if (!userLists.contains(oldName))
        return QStringLiteral("there is no list \"%1\" of yours").arg(oldName);
    if (oldName == newName)
        return {};
    if (takenNames().contains(newName))
        return QStringLiteral("there is already a list \"%1\"").arg(newName);
    ColorList renamed = userLists.value(oldName);
    renamed.setName(newName);
    // The new file first: a failure on the way leaves the list under its
    // old name rather than under none.
    if (const QString error = saveColorList(renamed); !error.isEmpty())
        return error;
    removeColorList(oldName);
    return {};
}

std::optional<ColorListStore::TrashedList> ColorListStore::trashColorList(const QString& name)
{
    if (!userLists.contains(name))
        return std::nullopt;
    TrashedList trashed {userLists.value(name), {}};
    const QString path = pathForColorListWithName(name);
    const QString base = QFileInfo(path).completeBaseName();
    QStringList files {path};
    if (ListFileName::isShortened(base))
        files << listFolder + u'/' + base + ListFileName::nameExtension;
    for (const QString& file : std::as_const(files)) {
        if (!QFileInfo::exists(file))
            continue;
        // Where there is no trash to move it to, the list stays: a deletion
        // nobody asked to confirm must be one that can be taken back.
        QFile moved(file);
        if (!moved.moveToTrash()) {
            qCWarning(lcPalettes) << "cannot move" << file << "to the trash:" << moved.errorString();
            if (file == path)
                return std::nullopt;
            continue;
        }
        trashed.files.append({file, moved.fileName()});
    }
    userLists.remove(name);
    unwritten.remove(name);
    changed();
    if (mirror)
        mirror->removeColorListNamed(name);
    return trashed;
}

std::optional<QString> ColorListStore::restoreColorList(const TrashedList& trashed, QString* error)
{
    ColorList list = trashed.list;
    list.setName(ColorListNaming::getOriginalName(list.name(), takenNames()));
    bool movedBack = list.name() == trashed.list.name() && !trashed.files.isEmpty();
    for (const auto& [original, inTrash] : trashed.files)
        movedBack = movedBack && !QFileInfo::exists(original) && QFile::rename(inTrash, original);
    if (movedBack) {
        userLists.insert(list.name(), list);
        changed();
        if (mirror)
            mirror->addColorListNamed(list.name());
    } else if (const QString failed = saveColorList(list); !failed.isEmpty()) {
        if (error)
            *error = failed;
        return std::nullopt;
    }
    // The trash keeps a note of where each file came from; a file that has
    // left it must not leave its note behind.
    for (const auto& [original, inTrash] : trashed.files) {
        const QFileInfo trashFile(inTrash);
        QFile::remove(inTrash);
        QFile::remove(trashFile.dir().absoluteFilePath(QStringLiteral("../info/%1.trashinfo").arg(trashFile.fileName())));
    }
    return list.name();
}

void ColorListStore::reload()
{
    reloadPending = false;
    QMap<QString, ColorList> lists;
    QSet<QString> unreadableNow;
    const QDir dir(listFolder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString fileName = info.fileName();
        if (!fileName.endsWith(extension))
            continue;
        const std::optional<QString> name = ListFileName::listNameInFolder(listFolder, fileName.chopped(extension.size()));
        if (!name)
            continue; // not a file of ours
        const PaletteReadResult read = PaletteFile::read(info.filePath());
        if (!read.complete()) {
            // Showing the part that could be read would invite writing it
            // back over the rest.
            qCWarning(lcPalettes) << "cannot read the list" << info.filePath() << read.error;
            unreadableNow.insert(*name);
            continue;
        }
        ColorList list(*name);
        for (const ColorList::Entry& entry : read.colors)
            list.setColor(entry.key, entry.color);
        lists.insert(*name, list);
    }
    // Lists changed here but not yet written are newer than their files.
    for (const QString& name : std::as_const(unwritten))
        lists.insert(name, userLists.value(name));
    const bool differs = lists != userLists || unreadableNow != unreadable;
    userLists = lists;
    unreadable = unreadableNow;
    watchFiles();
    if (differs || announce) {
        announce = false;
        Q_EMIT colorListsChanged();
    }
}

void ColorListStore::changed()
{
    announce = true;
    scheduleReload();
}

void ColorListStore::scheduleReload()
{
    // One reload for a burst: every change until it runs adds nothing.
    if (reloadPending)
        return;
    reloadPending = true;
    QTimer::singleShot(0, this, &ColorListStore::reload);
}

void ColorListStore::watchFiles()
{
    if (!watcher)
        return;
    // The folder tells of files added, removed and renamed; the files of
    // changes made in place (an editor saving over a list).
    if (!watcher->files().isEmpty())
        watcher->removePaths(watcher->files());
    if (!watcher->directories().contains(listFolder)) {
        QDir().mkpath(listFolder);
        watcher->addPath(listFolder);
    }
    QStringList files;
    for (const QString& name : userLists.keys())
        if (!unwritten.contains(name))
            files << pathForColorListWithName(name);
    if (!files.isEmpty())
        watcher->addPaths(files);
}

const QList<ColorList>& ColorListStore::systemLists() const
{
    if (!system)
        system = SystemColorLists::all();
    return *system;
}
