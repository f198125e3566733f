#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli name [--db PATH] VALUE...`: the closest colour name of each
// VALUE, one per line.
namespace NameCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace NameCommand
