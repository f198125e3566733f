#include "SystemColorLists.h"

#include "ColorListNaming.h"
#include "GimpPalette.h"
#include "PaletteFile.h"
#include "Sandbox.h"

#include "Log.h"
#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace SystemColorLists {

namespace {

// Installed palettes often repeat a name or give none; every colour stays,
// under its code when it has no name.
ColorList listOf(const QString& name, const QList<ColorList::Entry>& entries)
{
    const auto code = [](const Color& color) {
        return u'#' + HexCodec::keyForColor(color, ColorSpace::sRGB()).toUpper();
    };
    return ColorListNaming::listWithUniqueKeys(name, entries, code, ColorSpace::sRGB());
}

} // namespace

ColorList webSafeColors()
{
    ColorList list(QStringLiteral("Web Safe Colors"));
    for (int r = 0; r <= 255; r += 51)
        for (int g = 0; g <= 255; g += 51)
            for (int b = 0; b <= 255; b += 51)
                list.setColor(QStringLiteral("#%1%2%3")
                                  .arg(r, 2, 16, QLatin1Char('0'))
                                  .arg(g, 2, 16, QLatin1Char('0'))
                                  .arg(b, 2, 16, QLatin1Char('0'))
                                  .toUpper(),
                              Color::fromIntegers(r, g, b));
    return list;
}

ColorList cssColors()
{
    QFile file(QStringLiteral(":/palettes/css-colors.gpl"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcPalettes, "the built-in CSS colours are missing");
        return ColorList(QStringLiteral("CSS Colors"));
    }
    const PaletteReadResult read = GimpPalette::readColorList(file.readAll());
    return listOf(read.name, read.colors);
}

QStringList installedPaletteFolders()
{
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share:/usr/share"); // the XDG default
    QStringList folders;
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts))
        for (const char* sub : {"/gimp/2.0/palettes", "/inkscape/palettes", "/krita/palettes"})
            folders << dir + QLatin1String(sub);
    return folders;
}

QList<ColorList> installedPalettes()
{
    QList<ColorList> lists;
    QSet<QString> names {QStringLiteral("Web Safe Colors"), QStringLiteral("CSS Colors")};
    for (const QString& folder : installedPaletteFolders()) {
        const QDir dir(folder);
        for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.gpl")}, QDir::Files | QDir::Readable,
                                                       QDir::Name)) {
            // Our own mirrors, should a data folder of the user be listed.
            if (info.fileName().startsWith(Sandbox::mirrorPrefix))
                continue;
            const PaletteReadResult read = PaletteFile::read(info.filePath());
            if (read.colors.isEmpty() || names.contains(read.name)) {
                if (!read.complete())
                    qCDebug(lcPalettes) << "skipped the palette" << info.filePath() << read.error;
                continue;
            }
            names.insert(read.name);
            lists << listOf(read.name, read.colors);
        }
    }
    return lists;
}

QList<ColorList> all()
{
    return QList<ColorList> {webSafeColors(), cssColors()} + installedPalettes();
}

} // namespace SystemColorLists
