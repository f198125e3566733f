#include "NameCommand.h"

#include "Arguments.h"
#include "NameSource.h"
#include "Usage.h"

#include "colour/ColorSpace.h"

namespace {
const QString dbOption = QStringLiteral("--db");
}

namespace NameCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Arguments args = Arguments::parse(arguments, {}, {dbOption});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("name"), Usage::Values::some, out, err))
        return *status;

    const std::shared_ptr<const NameTable> names = NameSource::load(args.values.value(dbOption), err);
    if (!names)
        return Usage::failure;

    // Names are looked up in sRGB, as the window does with its default space.
    const ColorSpacePtr wellSpace = ColorSpace::sRGB();
    int status = Usage::success;
    for (const QString& value : args.operands) {
        const std::optional<Color> color = NameSource::readValue(value, wellSpace, names.get());
        if (!color) {
            Usage::printError(err, QStringLiteral("cannot read value \"%1\"").arg(value));
            status = Usage::failure;
            continue;
        }
        out << names->closestColorNameToColor(*color) << '\n';
    }
    return status;
}

} // namespace NameCommand
