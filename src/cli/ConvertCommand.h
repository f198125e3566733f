#pragma once

#include <QStringList>
#include <QTextStream>

// `huelark-cli convert [--json] [--objc] [--color-space NAME] [--cmyk-space NAME] [--db PATH] VALUE...`
namespace ConvertCommand {

// `arguments` follow the word "convert". Answers the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace ConvertCommand
