#include "CliProcess.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

// Every form of `palette`, in order, as one user's session: the rows share
// one throw-away home (and no installed palettes), so later rows see what
// earlier ones wrote. "@" in a row stands for that home.
TEST(PaletteCommand, FormsAndExitStatuses)
{
    QTemporaryDir home;
    const QString d = home.path();
    QProcessEnvironment environment = environmentWithHome(d);
    environment.insert("XDG_DATA_DIRS", d + "/system");
    ASSERT_TRUE(QDir().mkpath(d + "/.config/inkscape")); // Inkscape "installed": its folder is mirrored into
    ASSERT_TRUE(put(d + "/warm.json", R"({"paletteName": "Warm", "colors": ["#ff0000", "#0000ff"]})"));
    ASSERT_TRUE(put(d + "/mine.gpl", "GIMP Palette\nName: Mine\n255 0 0\tRed\n0 255 0\tRed\n"));
    ASSERT_TRUE(put(d + "/empty.json", R"({"paletteName": "Empty", "colors": []})"));
    ASSERT_TRUE(put(d + "/bad.json", R"({"colors": []})"));
    ASSERT_TRUE(put(d + "/notes.txt", "mine"));

    const QString warm = "Warm\nRed\t#FF0000\nBlue\t#0000FF\n";
    const QString usage = "Usage:";
    const struct { QStringList arguments; int exit; QString out; QStringList err; } rows[] = {
        {{"show", "@/warm.json", "@/mine.gpl"}, 0, warm + "\nMine\nRed\t#FF0000\nRed_00ff00\t#00FF00\n", {}},
        {{"show", "--json", "@/warm.json"}, 0,
         R"([{"file":"@/warm.json","name":"Warm","colors":[{"key":"Red","hex":"#ff0000"},{"key":"Blue","hex":"#0000ff"}]}])" "\n", {}},
        {{"show", "@/bad.json", "@/warm.json", "@/missing.gpl", "@/notes.txt"}, 1, warm,
         {R"(huelark-cli: @/bad.json: This is not a palette: it needs a "paletteName" text and a "colors" list.)",
          "huelark-cli: @/missing.gpl: No such file or directory",
          "huelark-cli: @/notes.txt: not a palette file (.clr, .ase, .json or .gpl)"}},
        {{"show"}, 2, "", {"huelark-cli: palette show needs at least one FILE", usage}},
        {{"convert", "@/warm.json", "@/out.GPL"}, 0, "", {}},
        {{"convert", "@/mine.gpl", "@/out.GPL"}, 1, "", {"huelark-cli: @/out.GPL: the file exists; --force replaces it"}},
        {{"convert", "--force", "@/mine.gpl", "@/out.GPL"}, 0, "", {}},
        {{"show", "@/out.GPL"}, 0, "Mine\nRed\t#FF0000\nRed_00ff00\t#00FF00\n", {}},
        {{"convert", "@/warm.json", "@/out.txt"}, 2, "", {"huelark-cli: OUT must end in .clr, .ase, .json or .gpl", usage}},
        {{"convert", "@/warm.json"}, 2, "", {"huelark-cli: palette convert needs IN and OUT", usage}},
        {{"list"}, 0, "Web Safe Colors\tsystem\t216\nCSS Colors\tsystem\t148\n", {}},
        {{"import", "@/warm.json", "@/warm.json", "@/empty.json"}, 1, "Warm\nWarm (2)\n",
         {"huelark-cli: @/empty.json: the palette has no colours"}},
        {{"list", "--json"}, 0,
         R"j([{"name":"Warm","editable":true,"count":2},{"name":"Warm (2)","editable":true,"count":2},)j"
         R"j({"name":"Web Safe Colors","editable":false,"count":216},{"name":"CSS Colors","editable":false,"count":148}])j" "\n", {}},
        {{"export", "Warm (2)", "@/warm.ase"}, 0, "", {}},
        {{"export", "Warm (2)", "@/warm.ase"}, 0, "", {}}, // replaces what it wrote
        {{"export", "Nope", "@/nope.gpl"}, 1, "", {"huelark-cli: there is no list \"Nope\""}},
        {{"show", "@/warm.ase"}, 0, "warm\nRed\t#FF0000\nBlue\t#0000FF\n", {}},
        {{"list", "extra"}, 2, "", {"huelark-cli: palette list takes no operands", usage}},
        {{}, 2, "", {"huelark-cli: palette needs show, convert, list, import or export", usage}},
        {{"frob"}, 2, "", {"huelark-cli: unknown palette command \"frob\"", usage}},
    };
    for (const auto& row : rows) {
        QStringList arguments {"palette"};
        for (const QString& a : row.arguments)
            arguments << QString(a).replace('@', d);
        SCOPED_TRACE("huelark-cli " + arguments.join(' ').toStdString());
        const CliResult r = runCli(arguments, environment);
        EXPECT_EQ(r.exitCode, row.exit);
        EXPECT_EQ(r.out, QString(row.out).replace('@', d));
        QStringList err = r.errLines();
        if (row.err.value(1) == usage && err.size() > 1)
            err = {err[0], err[1].left(usage.size())};
        QStringList expected;
        for (const QString& line : row.err)
            expected << QString(line).replace('@', d);
        EXPECT_EQ(err, expected);
    }

    // Imports are mirrored into the installed program's palette folder.
    const QDir mirror(d + "/.config/inkscape/palettes");
    EXPECT_EQ(mirror.entryList(QDir::Files, QDir::Name), QStringList({"huelark-Warm (2).gpl", "huelark-Warm.gpl"}));
}

// A writer killed half-way (here by the kernel, at a file-size limit) leaves
// the file it was replacing whole.
TEST(PaletteCommand, AWriterKilledHalfWayLeavesTheOldFile)
{
    QTemporaryDir home;
    const QString d = home.path();
    QByteArray big = "GIMP Palette\nName: Big\n";
    for (int i = 0; i < 3000; ++i)
        big += QByteArray::number(i % 256) + ' ' + QByteArray::number(i / 256) + " 7\tColour " + QByteArray::number(i) + '\n';
    ASSERT_TRUE(put(d + "/small.gpl", "GIMP Palette\nName: Small\n1 2 3\tA\n"));
    ASSERT_TRUE(put(d + "/big.gpl", big));
    const QString out = d + "/out.clr";
    ASSERT_EQ(runCli({"palette", "convert", d + "/small.gpl", out}, environmentWithHome(d)).exitCode, 0);
    const QByteArray before = contents(out);
    ASSERT_LT(before.size(), 16384);

    QProcess writer;
    writer.setProcessEnvironment(environmentWithHome(d));
    writer.setChildProcessModifier([] {
        const rlimit limit {16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_DFL); // the kernel ends the writer at the limit
    });
    writer.start(qEnvironmentVariable("HUELARK_CLI"), {"palette", "convert", "--force", d + "/big.gpl", out});
    ASSERT_TRUE(writer.waitForFinished(60000));
    EXPECT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer was not killed";
    EXPECT_EQ(contents(out), before);
}
