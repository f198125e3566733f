#pragma once

#include <QStringList>
#include <QTextStream>

namespace CommandLine {
// Runs huelark-cli with its arguments (without the program name), writing to
// the process's stdout and stderr; answers the exit status.
int run(const QStringList& arguments);

// The same with the two streams given.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);
}
