#include "Arguments.h"

Arguments Arguments::parse(const QStringList& arguments, const QStringList& flagNames, const QStringList& valueNames)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            parsed.operands << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h") {
            parsed.help = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (flagNames.contains(name) && equals < 0) {
            parsed.flags.insert(name);
        } else if (valueNames.contains(name)) {
            if (equals >= 0) {
                parsed.values.insert(name, argument.mid(equals + 1));
            } else if (i + 1 < arguments.size()) {
                parsed.values.insert(name, arguments[++i]);
            } else if (parsed.error.isEmpty()) {
                parsed.error = QStringLiteral("option %1 needs a NAME").arg(name);
            }
        } else if (parsed.error.isEmpty()) {
            parsed.error = QStringLiteral("unknown option \"%1\"").arg(argument);
        }
    }
    return parsed;
}
