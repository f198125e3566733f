#include "NameSource.h"

#include "Usage.h"
#include "ValueReader.h"

#include "names/NamesDatabase.h"

#include "colour/HexCodec.h"
#include "settings/Paths.h"

#include <QFileInfo>

namespace NameSource {

namespace {

QString liveDatabasePath()
{
    return Paths::applicationSupportFolder() + QStringLiteral("/ColorNames.db");
}

// The names of `path`, or null with one error line on `err`.
std::shared_ptr<const NameTable> loadFrom(const QString& path, QTextStream& err)
{
    if (!QFileInfo(path).isFile()) {
        Usage::printError(err, QStringLiteral("no names database at \"%1\"").arg(path));
        return nullptr;
    }
    QString error;
    std::shared_ptr<const NameTable> names = NameTable::load(path, &error);
    if (!names) {
        Usage::printError(err, QStringLiteral("cannot read the names database \"%1\": %2").arg(path, error));
        return nullptr;
    }
    if (names->recordCount() == 0) {
        Usage::printError(err, QStringLiteral("no colour names in \"%1\"").arg(path));
        return nullptr;
    }
    return names;
}

} // namespace

QString databasePath(const QString& option)
{
    if (!option.isEmpty())
        return option;
    const QString live = liveDatabasePath();
    if (QFileInfo(live).isFile())
        return live;
    return NamesDatabase::shippedDatabasePath();
}

std::shared_ptr<const NameTable> load(const QString& option, QTextStream& err)
{
    const QString path = databasePath(option);
    if (path.isEmpty()) {
        Usage::printError(err, QStringLiteral("no names database found (give one with --db)"));
        return nullptr;
    }
    std::shared_ptr<const NameTable> names = loadFrom(path, err);
    const QString shipped = NamesDatabase::shippedDatabasePath();
    // The program's own database is damaged: its names are those shipped,
    // which the program puts back the next time it starts.
    if (!names && option.isEmpty() && path == liveDatabasePath() && !shipped.isEmpty()) {
        Usage::printError(err, QStringLiteral("using the names shipped with Huelark instead"));
        names = loadFrom(shipped, err);
    }
    return names;
}

std::optional<Color> readValue(const QString& text, const ColorSpacePtr& wellSpace, const NameTable* names)
{
    if (names)
        if (const std::optional<QString> code = names->hexCodeForName(text))
            return HexCodec::colorWithHexColorString(*code, wellSpace);
    return ValueReader::read(text, wellSpace);
}

} // namespace NameSource
