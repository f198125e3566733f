#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli palette show [--json] FILE...`, `palette convert [--force] IN
// OUT`, `palette list [--json]`, `palette import FILE...` and `palette export
// NAME OUT`: palette files and the lists of the colour-list store, read and
// named as the palettes window does.
// Exit status 0, 1 when a file or list failed (the others are still done),
// 2 for a wrong call.
namespace PaletteCommand {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace PaletteCommand
