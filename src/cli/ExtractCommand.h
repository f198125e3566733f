#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli extract [--json] [--count N] [--flags BITS] FILE...`: the
// dominant colours of an image file, or of several side by side as the drop
// preview stitches them, most frequent first.
namespace ExtractCommand {

// `arguments` follow the word "extract". Answers the exit status: 1 when a
// file could not be read (the others are still used).
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace ExtractCommand
