#include "CliProcess.h"

#include <gtest/gtest.h>

TEST(Usage, WrongCallsPrintTheShortUsageAndExitWithTwo)
{
    const struct { QStringList arguments; const char* firstLine; } rows[] = {
        {{}, "huelark-cli: no command given"},
        {{"frobnicate"}, "huelark-cli: unknown command \"frobnicate\""},
        {{"--json"}, "huelark-cli: unknown option \"--json\""},
        {{"convert"}, "huelark-cli: convert needs at least one VALUE"},
        {{"convert", "--json"}, "huelark-cli: convert needs at least one VALUE"},
        {{"convert", "--json=1", "9aa2f8"}, "huelark-cli: unknown option \"--json=1\""},
        {{"convert", "-x", "9aa2f8"}, "huelark-cli: unknown option \"-x\""},
        {{"convert", "9aa2f8", "--color-space"}, "huelark-cli: option --color-space needs a NAME"},
        {{"spaces", "--objc"}, "huelark-cli: unknown option \"--objc\""},
        {{"spaces", "9aa2f8"}, "huelark-cli: spaces takes no VALUE"},
        {{"history", "today"}, "huelark-cli: history takes no VALUE"},
        {{"harmonies", "--json"}, "huelark-cli: harmonies takes one VALUE"},
        {{"harmonies", "ff0000", "00ff00"}, "huelark-cli: harmonies takes one VALUE"},
        {{"extract"}, "huelark-cli: extract needs at least one FILE"},
        {{"extract", "--flags", "128", "a.png"}, "huelark-cli: --flags takes a number from 0 to 127"},
        {{"extract", "--flags", "-1", "a.png"}, "huelark-cli: --flags takes a number from 0 to 127"},
        {{"extract", "--count", "0", "a.png"}, "huelark-cli: --count takes a whole number from 1"},
        {{"extract", "--count", "many", "a.png"}, "huelark-cli: --count takes a whole number from 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliResult r = runCli(row.arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        const QStringList lines = r.errLines();
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[0], row.firstLine);
        EXPECT_TRUE(lines[1].startsWith("Usage: huelark-cli convert [--json] [--objc] [--color-space NAME] [--cmyk-space NAME] [--db PATH] VALUE..."));
    }
}

TEST(Usage, HelpGoesToStdoutWithStatusZero)
{
    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"-h"}, QStringList{"spaces", "--json", "--help"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CliResult r = runCli(arguments);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out.startsWith("Usage: huelark-cli convert")) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("Exit status"));
    }
}
