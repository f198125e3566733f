#include "CliProcess.h"
#include "FileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A one-row image of the given opaque pixels, or a column with `column`.
QString writeImage(const QTemporaryDir& folder, const char* name, const QList<QRgb>& pixels, bool column = false)
{
    const int n = int(pixels.size());
    QImage image(column ? 1 : n, column ? n : 1, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i)
        image.setPixel(column ? 0 : i, column ? i : 0, pixels[i]);
    const QString path = folder.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path));
    return path;
}

} // namespace

TEST(ExtractCommand, PrintsTheDominantColoursMostFrequentFirst)
{
    QTemporaryDir folder;
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const QString mixed = writeImage(folder, "mixed.png", {red, blue, red, red, blue, red, blue, red});
    // Two reds of one cell average to 10.5, rounded half away to 11.
    const QString dark = writeImage(folder, "dark.png", {qRgb(10, 0, 0), qRgb(11, 0, 0)});
    // Side by side they make a 3 × 3 image: 2 red, 3 blue and 4 uncovered,
    // transparent, black pixels.
    const QString wide = writeImage(folder, "wide.png", {red, red});
    const QString tall = writeImage(folder, "tall.png", {blue, blue, blue}, true);
    const QString notAnImage = folder.filePath("notes.png");
    ASSERT_TRUE(put(notAnImage, "not an image"));
    // Cut short, it makes the PNG reader complain on its own as well.
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i)
        noise.setPixel(i % 64, i / 64, qRgb(i * 7 % 256, i * 13 % 256, i * 31 % 256));
    const QString cut = folder.filePath("cut.png");
    ASSERT_TRUE(noise.save(cut));
    QFile(cut).resize(QFileInfo(cut).size() / 2);

    const struct
    {
        QStringList arguments;
        int status;
        QString out;
        QStringList err;
    } rows[] = {
        {{mixed}, 0, "#FF0000\n#0000FF\n", {}},
        {{"--json", mixed}, 0, "{\"pixels\":8,\"colors\":[{\"hex\":\"#FF0000\",\"count\":5},{\"hex\":\"#0000FF\",\"count\":3}]}\n", {}},
        {{dark}, 0, "#0B0000\n", {}},
        {{wide, tall}, 0, "#000000\n#0000FF\n#FF0000\n", {}},
        {{"--json", wide, tall}, 0,
         "{\"pixels\":9,\"colors\":[{\"hex\":\"#000000\",\"count\":4},{\"hex\":\"#0000FF\",\"count\":3},"
         "{\"hex\":\"#FF0000\",\"count\":2}]}\n", {}},
        {{"--count", "2", wide, tall}, 0, "#000000\n#0000FF\n", {}},
        {{"--flags", "64", wide, tall}, 0, "#0000FF\n#FF0000\n", {}},
        {{"--flags=1", "--json", wide, tall}, 0,
         "{\"pixels\":5,\"colors\":[{\"hex\":\"#0000FF\",\"count\":3},{\"hex\":\"#FF0000\",\"count\":2}]}\n", {}},
        {{"--flags", "2", wide, tall}, 0, "#000000\n", {}},
        {{wide, notAnImage, folder.filePath("gone.png")}, 1, "#FF0000\n",
         {"huelark-cli: " + notAnImage + ": Unsupported image format",
          "huelark-cli: " + folder.filePath("gone.png") + ": No such file or directory"}},
        {{"--json", notAnImage}, 1, "{\"pixels\":0,\"colors\":[]}\n",
         {"huelark-cli: " + notAnImage + ": Unsupported image format"}},
        {{cut}, 1, "", {"huelark-cli: " + cut + ": Unable to read image data"}},
    };
    for (const auto& row : rows)
        expectCli(QStringList{"extract"} + row.arguments, row.status, row.out, row.err);
}

TEST(ExtractCommand, WrongCallsExitWithTwo)
{
    const struct
    {
        QStringList arguments;
        const char* firstLine;
    } rows[] = {
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
        EXPECT_EQ(r.errLines().value(0), row.firstLine);
    }
}
