#include "PaletteExchange.h"

#include "palettes/StoredPalettes.h"

#include "colour/WellColorSpace.h"
#include "palettes/ColorListStore.h"
#include "palettes/PaletteExport.h"

#include "Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

namespace {

QString tr(const char* text) { return QCoreApplication::translate("PaletteExchange", text); }

QString failure(const QString& path, const QString& reason)
{
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), reason);
}

} // namespace

PaletteExchange::PaletteExchange(ColorListStore& colorLists, const WellColorSpace& wellColorSpace, NameLookup& lookup)
    : store(colorLists)
    , well(wellColorSpace)
    , names(lookup)
{
}

PaletteExchange::~PaletteExchange() = default;

QString PaletteExchange::extension(PaletteFile::Format format)
{
    switch (format) {
    case PaletteFile::Format::clr:
        return QStringLiteral(".clr");
    case PaletteFile::Format::ase:
        return QStringLiteral(".ase");
    case PaletteFile::Format::json:
        return QStringLiteral(".json");
    case PaletteFile::Format::gpl:
        return QStringLiteral(".gpl");
    }
    return {};
}

QString PaletteExchange::fileNameFor(const QString& paletteName, PaletteFile::Format format)
{
    // Only what no file name can hold is replaced; the rest reads as typed.
    QString name = paletteName;
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'-';
    if (name.startsWith(u'.'))
        name.prepend(u'_');
    if (name.isEmpty())
        name = QStringLiteral("palette");
    return name.left(200) + extension(format);
}

PaletteImport::NameForColor PaletteExchange::closestNames() const
{
    return StoredPalettes::closestNames(names);
}

QString PaletteExchange::exportPalette(const PaletteEntry& palette, QString path, PaletteFile::Format format) const
{
    if (PaletteFile::formatForPath(path) != format) {
        path += extension(format);
        if (QFileInfo::exists(path))
            return failure(path, tr("a file of that name exists already, and nobody was asked about replacing it"));
    }
    const std::optional<ColorList> list = store.colorListNamed(palette.name);
    if (!list)
        return failure(path, tr("the palette \"%1\" is gone").arg(palette.name));
    if (const QString error = PaletteExport::exportList(*list, path, closestNames(), well.current());
        !error.isEmpty()) {
        qCWarning(lcPalettes) << "cannot export" << palette.name << "to" << path << error;
        return failure(path, error);
    }
    return {};
}

PaletteExchange::ImportReport PaletteExchange::importPaths(const QStringList& paths) const
{
    ImportReport report;
    const QList<PaletteImport::FileResult> results =
        PaletteImport::importPaths(store, paths, closestNames(), well.current());
    report.paletteFiles = int(results.size());
    for (const PaletteImport::FileResult& file : results) {
        if (!file.result.listName.isEmpty())
            report.imported << file.result.listName;
        if (file.result.error.isEmpty())
            continue;
        // A damaged file gives what could be read and says so.
        report.failures << (file.result.listName.isEmpty()
                                ? failure(file.path, file.result.error)
                                : failure(file.path, tr("%1 (what could be read is the palette \"%2\")")
                                                         .arg(file.result.error, file.result.listName)));
    }
    return report;
}

QMimeData* PaletteExchange::dragData(const QList<PaletteEntry>& palettes, bool gimp)
{
    if (!dragFolder || !dragFolder->isValid())
        dragFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/huelark-drag-XXXXXX"));
    if (!dragFolder->isValid())
        return nullptr;
    const PaletteFile::Format format = gimp ? PaletteFile::Format::gpl : PaletteFile::Format::clr;
    QList<QUrl> urls;
    QSet<QString> taken;
    for (const PaletteEntry& palette : palettes) {
        const std::optional<ColorList> list = store.colorListNamed(palette.name);
        // Two names can make one file name ("a/b" and "a-b").
        QString name = fileNameFor(palette.name, format);
        for (int n = 2; taken.contains(name); ++n)
            name = fileNameFor(QStringLiteral("%1 %2").arg(palette.name).arg(n), format);
        taken.insert(name);
        const QString path = dragFolder->filePath(name);
        if (list && PaletteExport::exportList(*list, path, closestNames(), well.current()).isEmpty())
            urls << QUrl::fromLocalFile(path);
    }
    if (urls.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}
