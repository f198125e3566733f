#include "CliProcess.h"
#include "DamagedDatabase.h"

#include "names/NamesDatabase.h"

#include <QTemporaryDir>

TEST(NameCommand, NamesEachValueOnItsOwnLine)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("names.csv");
    const QString db = dir.filePath("names.db");
    ASSERT_TRUE(put(csv, "name,hex\nRed,#ff0000\nBlue,#0000ff\nAce,#c7cce7\n"));
    ASSERT_EQ(runCli({"names", "build", csv, db}).exitCode, 0);

    // A name of the database is taken before a code ("Ace" is not #aaccee).
    expectCli({"name", "--db", db, "#ff0000", "fe0000", "rgb(0,0,200)", "Blue", "Ace", "nope"}, 2,
              "Red\nRed\nBlue\nBlue\nAce\n", {"huelark-cli: cannot read value \"nope\""});

    const CliResult json = runCli({"convert", "--json", "--db", db, "Ace", "ace"});
    EXPECT_EQ(json.exitCode, 0);
    const QStringList lines = json.outLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(R"({"input":"Ace","name":"Ace","hex":"c7cce7",)")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(R"({"input":"ace","name":"Ace","hex":"aaccee",)")) << lines[1].toStdString();
}

TEST(NameCommand, UsesTheShippedDatabaseAndRefusesAMissingOrDamagedOne)
{
    expectCli({"name", "9aa2f8", "ff0000"}, 0, "Periwinkle Blue\nRed\n");

    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.db");
    expectCli({"name", "--db", missing, "ff0000"}, 2, "", {"huelark-cli: no names database at \"" + missing + "\""});
    EXPECT_FALSE(QFile::exists(missing));

    // Damaged in the middle, it would load as a shorter table and answer
    // wrong names as if they were right.
    const QString damaged = dir.filePath("damaged.db");
    ASSERT_TRUE(QFile::copy(NamesDatabase::shippedDatabasePath(), damaged));
    damageMiddlePages(damaged);
    expectCli({"name", "--db", damaged, "ff0000"}, 2, "",
              {"huelark-cli: cannot read the names database \"" + damaged + "\": database disk image is malformed"});

    const CliResult convert = runCli({"convert", "--db", missing, "ff0000"});
    EXPECT_EQ(convert.exitCode, 2);
    EXPECT_TRUE(convert.out.startsWith("name Invalid Color\nhex ff0000\n")) << convert.out.toStdString();
}
