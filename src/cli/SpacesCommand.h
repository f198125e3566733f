#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli spaces [--json]`: the RGB colour spaces, then the CMYK ones,
// in the order the preferences offer them.
namespace SpacesCommand {

// `arguments` follow the word "spaces". Answers the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace SpacesCommand
