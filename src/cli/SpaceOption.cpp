#include "SpaceOption.h"

#include "Usage.h"

namespace SpaceOption {

ColorSpacePtr fromOption(const Arguments& args, const QString& option, const std::vector<ColorSpacePtr>& spaces,
                         QTextStream& err, bool& failed)
{
    const QString name = args.values.value(option);
    if (name.isEmpty())
        return spaces.front();
    for (const ColorSpacePtr& space : spaces)
        if (space->name() == name)
            return space;
    Usage::printError(err, QStringLiteral("unknown colour space \"%1\" for %2 (see huelark-cli spaces)").arg(name, option));
    failed = true;
    return spaces.front();
}

} // namespace SpaceOption
