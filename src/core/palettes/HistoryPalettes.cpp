#include "HistoryPalettes.h"

#include "ColorListNaming.h"
#include "ColorListStore.h"

#include "Log.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "history/HistoryStore.h"

namespace HistoryPalettes {

int migratePalettesFromCoreDataToClrFiles(HistoryStore& history, ColorListStore& store,
                                          const ColorSpaceRegistry& registry, const ColorSpacePtr& wellSpace,
                                          const PaletteImport::NameForColor& closestName)
{
    int written = 0;
    for (const PaletteRecord& record : history.palettesManagedObjectArray()) {
        QList<QByteArray> archives {record.color_last};
        for (const QByteArray& color : record.colors)
            archives << color;
        PaletteReadResult colors;
        for (const QByteArray& archive : archives)
            if (const std::optional<Color> color = ColorArchive::unarchive(archive, registry))
                colors.colors.append({QString(), *color});

        // A list of that name already there is the user's: both are kept.
        // And colours sharing a closest name all stay, under the key rule,
        // where the old program kept only the last of them.
        const QString wanted = record.name.isEmpty() ? QStringLiteral("palette") : record.name;
        const QString name = ColorListNaming::getOriginalName(wanted, store.takenNames());
        const QString error = store.saveColorList(PaletteImport::listFromFile(colors, name, closestName, wellSpace));
        if (!error.isEmpty()) {
            // Deleting the record now would lose the palette for good.
            qCWarning(lcPalettes, "%s", qPrintable(error));
            continue;
        }
        if (!history.deletePaletteRecord(record)) {
            // The record would come back at every start as one more copy
            // of the list: it stays the only copy until it can go.
            store.removeColorList(name);
            continue;
        }
        ++written;
    }
    return written;
}

} // namespace HistoryPalettes
