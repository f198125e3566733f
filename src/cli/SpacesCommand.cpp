#include "SpacesCommand.h"

#include "Arguments.h"
#include "NotationText.h"
#include "Usage.h"

#include "colour/ColorSpaceRegistry.h"

namespace {

QStringList namesOf(const std::vector<ColorSpacePtr>& spaces)
{
    QStringList names;
    for (const ColorSpacePtr& space : spaces)
        names << space->name();
    return names;
}

} // namespace

namespace SpacesCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString jsonOption = QStringLiteral("--json");
    const Arguments args = Arguments::parse(arguments, {jsonOption}, {});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("spaces"), Usage::Values::none, out, err))
        return *status;

    const ColorSpaceRegistry registry;
    const QStringList rgb = namesOf(registry.rgbSpaces());
    const QStringList cmyk = namesOf(registry.cmykSpaces());
    if (args.flags.contains(jsonOption)) {
        out << NotationText::jsonSpaces(rgb, cmyk) << '\n';
        return Usage::success;
    }
    for (const QString& name : rgb)
        out << "rgb\t" << name << '\n';
    for (const QString& name : cmyk)
        out << "cmyk\t" << name << '\n';
    return Usage::success;
}

} // namespace SpacesCommand
