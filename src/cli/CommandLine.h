#pragma once

#include <QStringList>

namespace CommandLine {
// Runs huelark-cli with its arguments (without the program name); answers
// the exit status.
int run(const QStringList& arguments);
}
