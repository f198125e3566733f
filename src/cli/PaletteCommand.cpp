#include "PaletteCommand.h"

#include "Arguments.h"
#include "NameSource.h"
#include "NotationText.h"
#include "Usage.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "palettes/ColorListStore.h"
#include "palettes/PaletteExport.h"
#include "palettes/PaletteFile.h"
#include "palettes/PaletteImport.h"
#include "palettes/Sandbox.h"
#include "settings/UserDefaults.h"

#include <QFileInfo>

#include <memory>
#include <optional>

namespace {

constexpr int fileFailure = 1;
const QString jsonOption = QStringLiteral("--json");
const QString forceOption = QStringLiteral("--force");

// Names are looked up in sRGB, as the other commands do.
const ColorSpacePtr& wellSpace()
{
    static const ColorSpacePtr space = ColorSpace::sRGB();
    return space;
}

// The closest names, from the names database loaded on the first colour
// that needs one. Without a database a colour is keyed by its code, so the
// colours still keep apart.
PaletteImport::NameForColor closestNames(QTextStream& err)
{
    auto names = std::make_shared<std::optional<std::shared_ptr<const NameTable>>>();
    return [names, &err](const Color& color) {
        if (!*names)
            *names = NameSource::load(QString(), err);
        if (const std::shared_ptr<const NameTable>& table = **names)
            return table->closestColorNameToColor(color);
        return u'#' + HexCodec::keyForColor(color, wellSpace()).toUpper();
    };
}

QString hex(const Color& color)
{
    return u'#' + HexCodec::keyForColor(color, ColorSpace::sRGB());
}

void fileError(QTextStream& err, const QString& file, const QString& reason)
{
    Usage::printError(err, QStringLiteral("%1: %2").arg(file, reason));
}

int show(const Arguments& args, QTextStream& out, QTextStream& err)
{
    if (args.operands.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("palette show needs at least one FILE"));
    const bool json = args.flags.contains(jsonOption);
    const PaletteImport::NameForColor names = closestNames(err);
    int status = Usage::success;
    QStringList objects;
    bool first = true;
    for (const QString& file : args.operands) {
        const PaletteReadResult read = PaletteFile::read(file);
        if (!read.complete()) {
            fileError(err, file, read.error);
            status = fileFailure;
            if (read.colors.isEmpty())
                continue;
        }
        const ColorList list = PaletteImport::listFromFile(read, read.name, names, wellSpace());
        if (json) {
            QStringList colors;
            for (const ColorList::Entry& entry : list.entries())
                colors << QStringLiteral("{\"key\":%1,\"hex\":%2}")
                              .arg(NotationText::jsonString(entry.key), NotationText::jsonString(hex(entry.color)));
            objects << QStringLiteral("{\"file\":%1,\"name\":%2,\"colors\":[%3]}")
                           .arg(NotationText::jsonString(file), NotationText::jsonString(list.name()),
                                colors.join(u','));
            continue;
        }
        if (!first)
            out << '\n';
        first = false;
        out << list.name() << '\n';
        for (const ColorList::Entry& entry : list.entries())
            out << entry.key << '\t' << hex(entry.color).toUpper() << '\n';
    }
    if (json)
        out << '[' << objects.join(u',') << "]\n";
    return status;
}

int convert(const Arguments& args, QTextStream& err)
{
    if (args.operands.size() != 2)
        return Usage::printUsageError(err, QStringLiteral("palette convert needs IN and OUT"));
    const QString& in = args.operands[0];
    const QString& outPath = args.operands[1];
    if (!PaletteFile::formatForPath(outPath))
        return Usage::printUsageError(err, QStringLiteral("OUT must end in .clr, .ase, .json or .gpl"));
    const PaletteReadResult read = PaletteFile::read(in);
    if (!read.complete()) {
        // Half a palette written out would pass for the whole one.
        fileError(err, in, read.error);
        return fileFailure;
    }
    const bool force = args.flags.contains(forceOption);
    if (!force && QFileInfo::exists(outPath)) {
        fileError(err, outPath, QStringLiteral("the file exists; --force replaces it"));
        return fileFailure;
    }
    const ColorList list = PaletteImport::listFromFile(read, read.name, closestNames(err), wellSpace());
    if (const QString error = PaletteFile::write(outPath, list, force); !error.isEmpty()) {
        fileError(err, outPath, error);
        return fileFailure;
    }
    return Usage::success;
}

int list(const Arguments& args, QTextStream& out, QTextStream& err)
{
    if (!args.operands.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("palette list takes no operands"));
    const ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    const bool json = args.flags.contains(jsonOption);
    QStringList objects;
    for (const ColorListStore::Available& available : store.availableColorLists()) {
        if (json)
            objects << QStringLiteral("{\"name\":%1,\"editable\":%2,\"count\":%3}")
                           .arg(NotationText::jsonString(available.list.name()),
                                available.editable ? QStringLiteral("true") : QStringLiteral("false"))
                           .arg(available.list.size());
        else
            out << available.list.name() << '\t' << (available.editable ? "user" : "system") << '\t'
                << available.list.size() << '\n';
    }
    if (json)
        out << '[' << objects.join(u',') << "]\n";
    return Usage::success;
}

int import(const Arguments& args, QTextStream& out, QTextStream& err)
{
    if (args.operands.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("palette import needs at least one FILE"));
    const UserDefaults defaults;
    ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    const Sandbox sandbox(defaults, store.folder());
    store.setSandbox(&sandbox);
    const PaletteImport::NameForColor names = closestNames(err);
    int status = Usage::success;
    for (const QString& file : args.operands) {
        const PaletteImport::Result result = PaletteImport::importFile(store, file, names, wellSpace());
        if (!result.error.isEmpty()) {
            fileError(err, file, result.error);
            status = fileFailure;
        }
        if (!result.listName.isEmpty())
            out << result.listName << '\n';
    }
    return status;
}

int exportList(const Arguments& args, QTextStream& err)
{
    if (args.operands.size() != 2)
        return Usage::printUsageError(err, QStringLiteral("palette export needs NAME and OUT"));
    const QString& name = args.operands[0];
    const QString& outPath = args.operands[1];
    if (!PaletteFile::formatForPath(outPath))
        return Usage::printUsageError(err, QStringLiteral("OUT must end in .clr, .ase, .json or .gpl"));
    const ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    const std::optional<ColorList> list = store.colorListNamed(name);
    if (!list) {
        Usage::printError(err, QStringLiteral("there is no list \"%1\"").arg(name));
        return fileFailure;
    }
    // As the palettes window exports once its dialog has asked: an existing
    // file is replaced, atomically, so a failed export leaves it whole.
    if (const QString error = PaletteExport::exportList(*list, outPath, closestNames(err), wellSpace());
        !error.isEmpty()) {
        fileError(err, outPath, error);
        return fileFailure;
    }
    return Usage::success;
}

} // namespace

namespace PaletteCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString action = arguments.value(0);
    // Each action takes only its own options.
    QStringList flags;
    if (action == u"show" || action == u"list")
        flags << jsonOption;
    else if (action == u"convert")
        flags << forceOption;
    const Arguments args = Arguments::parse(arguments.mid(1), flags, {});
    if (const std::optional<int> status = Usage::endEarly(args, QStringLiteral("palette"), Usage::Values::any, out, err))
        return *status;
    if (action == u"show")
        return show(args, out, err);
    if (action == u"convert")
        return convert(args, err);
    if (action == u"list")
        return list(args, out, err);
    if (action == u"import")
        return import(args, out, err);
    if (action == u"export")
        return exportList(args, err);
    if (action.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("palette needs show, convert, list, import or export"));
    return Usage::printUsageError(err, QStringLiteral("unknown palette command \"%1\"").arg(action));
}

} // namespace PaletteCommand
