#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli harmonies [--json] [--color-space NAME] VALUE`
namespace HarmoniesCommand {

// `arguments` follow the word "harmonies". Answers the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace HarmoniesCommand
