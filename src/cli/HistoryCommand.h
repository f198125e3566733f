#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli history [--json]`: every entry of the colour history, latest
// day first and newest first within a day. Reads the program's store through
// a read-only connection, so it is safe while the program runs and records.
namespace HistoryCommand {

// `arguments` follow the word "history". Answers the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace HistoryCommand
