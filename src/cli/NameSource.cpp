#include "NameSource.h"

#include "Usage.h"
#include "ValueReader.h"

#include "names/NamesDatabase.h"

#include "colour/HexCodec.h"
#include "settings/Paths.h"

#include <QFileInfo>

namespace NameSource {

QString databasePath(const QString& option)
{
    if (!option.isEmpty())
        return option;
    const QString live = Paths::applicationSupportFolder() + QStringLiteral("/ColorNames.db");
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
    if (!QFileInfo(path).isFile()) {
        Usage::printError(err, QStringLiteral("no names database at \"%1\"").arg(path));
        return nullptr;
    }
    std::shared_ptr<const NameTable> names = NameTable::load(path);
    if (names->recordCount() == 0) {
        Usage::printError(err, QStringLiteral("no colour names in \"%1\"").arg(path));
        return nullptr;
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
