#include "FuzzSupport.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpaceRegistry.h"
#include "settings/DefaultsKeys.h"
#include "settings/FirstStartValues.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// The settings file is the user's to edit, and older or newer releases may
// have stored any key with a value of another type. The input is the file;
// every key is read with every typed reader, and the stored colours as the
// program reads them at start.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In memory where there is a tmpfs: every write is synced to disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/huelark-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/huelark-fuzz-XXXXXX"));
    static const ColorSpaceRegistry registry(QStringList {});
    // A new name each time: QSettings keeps parsed files by name, and a file
    // rewritten within the same second could be taken for the one before.
    static quint64 run = 0;
    const QString path = dir.path() + QStringLiteral("/Huelark-%1.conf").arg(++run);
    struct Remove
    {
        QString path;
        ~Remove() { QFile::remove(path); }
    } remove {path};
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    UserDefaults defaults(path);
    defaults.loadRegisteredDefaults();
    const QString keys[] = {
        DefaultsKeys::showUnits, DefaultsKeys::colorSpace, DefaultsKeys::CMYKcolorSpace, DefaultsKeys::color_last,
        DefaultsKeys::currentColors, DefaultsKeys::shortcutKey, DefaultsKeys::userFolder,
        DefaultsKeys::namesIDUpdatedDate, DefaultsKeys::namesCountValue, DefaultsKeys::dropColors,
        DefaultsKeys::dropSliderStart, DefaultsKeys::palettesTableSelectedRow, QStringLiteral("color_1"),
    };
    for (const QString& key : keys) {
        defaults.objectForKey(key);
        defaults.boolForKey(key);
        defaults.integerForKey(key);
        defaults.doubleForKey(key);
        defaults.stringForKey(key);
        defaults.dataForKey(key);
        defaults.arrayForKey(key);
        defaults.dateForKey(key);
        defaults.hasUserValue(key);
    }
    ColorArchive::getColorFromData(defaults.dataForKey(DefaultsKeys::color_last), ColorArchive::defaultColor(), registry,
                                   ColorSpace::sRGB());
    for (const QVariant& swatch : defaults.arrayForKey(DefaultsKeys::currentColors))
        ColorArchive::unarchive(swatch.toByteArray(), registry);
    registry.rgbSpaceNamed(defaults.stringForKey(DefaultsKeys::colorSpace));
    registry.cmykSpaceNamed(defaults.stringForKey(DefaultsKeys::CMYKcolorSpace));
    // What a first start writes over a file with values of the wrong type.
    FirstStartValues::setDefaultColors(defaults, ColorSpace::sRGB());
    FirstStartValues::setDefaultColorSpaces(defaults, registry);
    return 0;
}
