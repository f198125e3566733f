#include "CliProcess.h"

#include "colour/ColorSpaceRegistry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QStringList namesOf(const std::vector<ColorSpacePtr>& spaces)
{
    QStringList names;
    for (const ColorSpacePtr& s : spaces)
        names << s->name();
    return names;
}

} // namespace

// The list is the one the preferences offer: the RGB spaces, then the CMYK
// spaces, each group in the registry's order with the built-in space first.
TEST(SpacesCommand, ListsRgbThenCmykInRegistryOrder)
{
    const ColorSpaceRegistry registry;
    QStringList expected;
    for (const QString& name : namesOf(registry.rgbSpaces()))
        expected << "rgb\t" + name;
    for (const QString& name : namesOf(registry.cmykSpaces()))
        expected << "cmyk\t" + name;

    const CliResult r = runCli({"spaces"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.outLines(), expected);
    EXPECT_EQ(r.outLines().value(0), "rgb\tsRGB IEC61966-2.1");
    EXPECT_TRUE(r.outLines().contains("cmyk\tGeneric CMYK"));

    const CliResult json = runCli({"spaces", "--json"});
    EXPECT_EQ(json.exitCode, 0);
    ASSERT_TRUE(json.out.startsWith("{\"rgb\":[")) << json.out.toStdString();
    EXPECT_TRUE(json.out.endsWith("]}\n"));
    EXPECT_EQ(json.outLines().size(), 1);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o.value("rgb").toVariant().toStringList(), namesOf(registry.rgbSpaces()));
    EXPECT_EQ(o.value("cmyk").toVariant().toStringList(), namesOf(registry.cmykSpaces()));
}
