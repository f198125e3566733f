#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli names build CSV DB`: the names database from the dataset's
// CSV, with the same builder an update uses (the build makes the shipped
// database this way).
// `huelark-cli names update [--api URL] [--cdn URL]`: the Names preferences'
// update without a window, each status line on stderr.
namespace NamesCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace NamesCommand
