#pragma once

#include <QTextStream>

#include <optional>

struct Arguments;

// What huelark-cli says about how to call it.
namespace Usage {

// Exit statuses: success, and every error (unreadable value, unknown colour
// space, wrong call).
constexpr int success = 0;
constexpr int failure = 2;

// The full help, for --help.
void printHelp(QTextStream& out);

// A wrong call: "huelark-cli: <problem>" and the short usage. Answers
// `failure`.
int printUsageError(QTextStream& err, const QString& problem);

// One error line, "huelark-cli: <message>".
void printError(QTextStream& err, const QString& message);

// How many VALUEs a command takes.
enum class Values { none, some, any, files };

// The exit status of a call that ends before its command runs: --help, an
// option error, or VALUEs where none (or none where some, or no FILE)
// belong. Nothing
// when the command should run.
std::optional<int> endEarly(const Arguments& args, const QString& command, Values values, QTextStream& out,
                            QTextStream& err);

} // namespace Usage
