#include "CommandLine.h"

#include "ConvertCommand.h"
#include "ExtractCommand.h"
#include "HarmoniesCommand.h"
#include "HistoryCommand.h"
#include "NameCommand.h"
#include "NamesCommand.h"
#include "PaletteCommand.h"
#include "SpacesCommand.h"
#include "Usage.h"

#include <QTextStream>

#include <cstdio>

namespace CommandLine {

int run(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = run(arguments, out, err);
    out.flush();
    err.flush();
    return status;
}

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty())
        return Usage::printUsageError(err, QStringLiteral("no command given"));
    const QString& command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == u"convert")
        return ConvertCommand::run(rest, out, err);
    if (command == u"spaces")
        return SpacesCommand::run(rest, out, err);
    if (command == u"name")
        return NameCommand::run(rest, out, err);
    if (command == u"names")
        return NamesCommand::run(rest, out, err);
    if (command == u"palette")
        return PaletteCommand::run(rest, out, err);
    if (command == u"extract")
        return ExtractCommand::run(rest, out, err);
    if (command == u"harmonies")
        return HarmoniesCommand::run(rest, out, err);
    if (command == u"history")
        return HistoryCommand::run(rest, out, err);
    if (command == u"--help" || command == u"-h" || command == u"help") {
        Usage::printHelp(out);
        return Usage::success;
    }
    if (command.startsWith(u'-'))
        return Usage::printUsageError(err, QStringLiteral("unknown option \"%1\"").arg(command));
    return Usage::printUsageError(err, QStringLiteral("unknown command \"%1\"").arg(command));
}

} // namespace CommandLine
