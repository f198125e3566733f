#include "ConvertCommand.h"

#include "Arguments.h"
#include "NameSource.h"
#include "NotationText.h"
#include "SpaceOption.h"
#include "Usage.h"

#include "colour/ColorNotations.h"
#include "colour/ColorSpaceRegistry.h"

namespace {

const QString jsonOption = QStringLiteral("--json");
const QString objcOption = QStringLiteral("--objc");
const QString colorSpaceOption = QStringLiteral("--color-space");
const QString cmykSpaceOption = QStringLiteral("--cmyk-space");
const QString dbOption = QStringLiteral("--db");

} // namespace

namespace ConvertCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Arguments args =
        Arguments::parse(arguments, {jsonOption, objcOption}, {colorSpaceOption, cmykSpaceOption, dbOption});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("convert"), Usage::Values::some, out, err))
        return *status;

    const ColorSpaceRegistry registry;
    bool unknownSpace = false;
    const ColorSpacePtr wellSpace = SpaceOption::fromOption(args, colorSpaceOption, registry.rgbSpaces(), err, unknownSpace);
    const ColorSpacePtr cmykSpace = SpaceOption::fromOption(args, cmykSpaceOption, registry.cmykSpaces(), err, unknownSpace);

    const bool json = args.flags.contains(jsonOption);
    const bool objc = args.flags.contains(objcOption);
    // Without names the values are still converted, named "Invalid Color".
    const std::shared_ptr<const NameTable> names = NameSource::load(args.values.value(dbOption), err);
    int status = unknownSpace || !names ? Usage::failure : Usage::success;
    bool first = true;
    for (const QString& value : args.operands) {
        const std::optional<Color> color = NameSource::readValue(value, wellSpace, names.get());
        if (!color) {
            Usage::printError(err, QStringLiteral("cannot read value \"%1\"").arg(value));
            status = Usage::failure;
            continue;
        }
        const std::optional<ColorNotations> notations = ColorNotations::of(*color, wellSpace, cmykSpace.get(), objc);
        if (!notations) {
            Usage::printError(err, QStringLiteral("cannot convert value \"%1\" to %2").arg(value, wellSpace->name()));
            status = Usage::failure;
            continue;
        }
        const std::optional<Color> held = ColorSpace::convert(*color, wellSpace);
        const QString name = names && held ? names->closestColorNameToColor(*held) : NameTable::invalidColorName;
        if (json) {
            out << NotationText::jsonLine(value, name, *notations) << '\n';
        } else {
            if (!first)
                out << '\n';
            out << NotationText::plainBlock(name, *notations);
        }
        first = false;
    }
    return status;
}

} // namespace ConvertCommand
