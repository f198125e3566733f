#include "HarmoniesCommand.h"

#include "Arguments.h"
#include "NameSource.h"
#include "NotationText.h"
#include "SpaceOption.h"
#include "Usage.h"

#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "tools/ColorHarmonies.h"

namespace {

const QString jsonOption = QStringLiteral("--json");
const QString colorSpaceOption = QStringLiteral("--color-space");

// "#RRGGBB" of the colour's components in the space it is shown in.
QString hexOf(const Color& color, const ColorSpacePtr& wellSpace)
{
    return QStringLiteral("#") + HexCodec::keyForColor(color, wellSpace).toUpper();
}

} // namespace

namespace HarmoniesCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Arguments args = Arguments::parse(arguments, {jsonOption}, {colorSpaceOption});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("harmonies"), Usage::Values::any, out, err))
        return *status;
    if (args.operands.size() != 1)
        return Usage::printUsageError(err, QStringLiteral("harmonies takes one VALUE"));

    const ColorSpaceRegistry registry;
    bool unknownSpace = false;
    const ColorSpacePtr wellSpace = SpaceOption::fromOption(args, colorSpaceOption, registry.rgbSpaces(), err, unknownSpace);

    // Names are read as convert reads them, but a missing names database
    // only means that no name is a VALUE here: codes and notations still are.
    QString nameProblems;
    QTextStream quiet(&nameProblems);
    const std::shared_ptr<const NameTable> names = NameSource::load(QString(), quiet);
    const QString& value = args.operands.first();
    const std::optional<Color> color = NameSource::readValue(value, wellSpace, names.get());
    if (!color) {
        Usage::printError(err, QStringLiteral("cannot read value \"%1\"").arg(value));
        return Usage::failure;
    }

    const QList<ColorHarmonies::Row> rows = ColorHarmonies::rows(*color, wellSpace);
    if (args.flags.contains(jsonOption)) {
        // Written by hand: QJsonDocument would sort the keys.
        QStringList members;
        for (const ColorHarmonies::Row& row : rows) {
            QStringList codes;
            for (const Color& c : row.colors)
                codes << NotationText::jsonString(hexOf(c, wellSpace));
            members << NotationText::jsonString(row.identifier) + QStringLiteral(":[") + codes.join(u',') + u']';
        }
        out << '{' << members.join(u',') << "}\n";
    } else {
        for (const ColorHarmonies::Row& row : rows) {
            out << row.identifier << ':';
            for (const Color& c : row.colors)
                out << ' ' << hexOf(c, wellSpace);
            out << '\n';
        }
    }
    return unknownSpace ? Usage::failure : Usage::success;
}

} // namespace HarmoniesCommand
