#include "CliProcess.h"

#include <gtest/gtest.h>

namespace {

const QString redText = QStringLiteral(
    "Base Color: #FF0000\n"
    "Complementary Colors: #FF0000 #00FFFF\n"
    "Split Complementary Colors: #FF0000 #00FF80 #0080FF\n"
    "Analagous Colors: #FF0000 #FF8000 #FF0080\n"
    "Triadic Colors: #FF0000 #00FF00 #0000FF\n"
    "Tetradic Colors: #FF0000 #80FF00 #00FFFF #8000FF\n"
    "Monochromatic Colors: #FF9566 #FF764C #FF5633 #FF3118 #F40000 #D20000 #B10000 #920000 #740000 #5B0000\n");

const QString redJson = QStringLiteral(
    "{\"Base Color\":[\"#FF0000\"],\"Complementary Colors\":[\"#FF0000\",\"#00FFFF\"],"
    "\"Split Complementary Colors\":[\"#FF0000\",\"#00FF80\",\"#0080FF\"],"
    "\"Analagous Colors\":[\"#FF0000\",\"#FF8000\",\"#FF0080\"],"
    "\"Triadic Colors\":[\"#FF0000\",\"#00FF00\",\"#0000FF\"],"
    "\"Tetradic Colors\":[\"#FF0000\",\"#80FF00\",\"#00FFFF\",\"#8000FF\"],"
    "\"Monochromatic Colors\":[\"#FF9566\",\"#FF764C\",\"#FF5633\",\"#FF3118\",\"#F40000\",\"#D20000\",\"#B10000\","
    "\"#920000\",\"#740000\",\"#5B0000\"]}\n");

const QString greyText = QStringLiteral(
    "Base Color: #808080\n"
    "Complementary Colors: #808080 #808080\n"
    "Split Complementary Colors: #808080 #808080 #808080\n"
    "Analagous Colors: #808080 #808080 #808080\n"
    "Triadic Colors: #808080 #808080 #808080\n"
    "Tetradic Colors: #808080 #808080 #808080 #808080\n"
    "Monochromatic Colors: #E2E2E2 #C6C6C6 #ABABAB #919191 #777777 #5E5E5E #474747 #303030 #1B1B1B #000000\n");

} // namespace

TEST(HarmoniesCommand, AnswersInTheDocumentedForms)
{
    const struct { QStringList arguments; int exitCode; QString out; QStringList err; } rows[] = {
        {{"harmonies", "ff0000"}, 0, redText, {}},
        {{"harmonies", "ff0000", "--json"}, 0, redJson, {}},
        // Any value convert reads, names included.
        {{"harmonies", "--json", "--color-space=", "Red"}, 0, redJson, {}},
        {{"harmonies", "hsb(0,0,50)"}, 0, greyText, {}},
        {{"harmonies", "nope"}, 2, "", {"huelark-cli: cannot read value \"nope\""}},
        // An unknown space falls back to sRGB, as convert does.
        {{"harmonies", "--color-space", "No Such Space", "ff0000"}, 2, redText,
         {"huelark-cli: unknown colour space \"No Such Space\" for --color-space (see huelark-cli spaces)"}},
    };
    for (const auto& row : rows)
        expectCli(row.arguments, row.exitCode, row.out, row.err);
}
