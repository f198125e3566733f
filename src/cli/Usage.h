#pragma once

#include <QTextStream>

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

} // namespace Usage
