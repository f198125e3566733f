#include "CliProcess.h"

#include "colour/ColorSpaceRegistry.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// The list is the one the preferences offer: the RGB spaces, then the CMYK
// spaces, each group in the registry's order with the built-in space first.
TEST(SpacesCommand, ListsRgbThenCmykInRegistryOrder)
{
    const ColorSpaceRegistry registry;
    QStringList lines, rgb, cmyk;
    for (const ColorSpacePtr& s : registry.rgbSpaces())
        rgb << s->name();
    for (const ColorSpacePtr& s : registry.cmykSpaces())
        cmyk << s->name();
    for (const QString& name : rgb)
        lines << "rgb\t" + name;
    for (const QString& name : cmyk)
        lines << "cmyk\t" + name;
    expectCli({"spaces"}, 0, lines.join(u'\n') + u'\n');
    EXPECT_EQ(lines.value(0), "rgb\tsRGB IEC61966-2.1");
    EXPECT_TRUE(lines.contains("cmyk\tGeneric CMYK"));

    const CliResult json = runCli({"spaces", "--json"});
    EXPECT_EQ(json.exitCode, 0);
    ASSERT_TRUE(json.out.startsWith("{\"rgb\":[")) << json.out.toStdString();
    EXPECT_TRUE(json.out.endsWith("]}\n"));
    EXPECT_EQ(json.outLines().size(), 1);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o.value("rgb").toVariant().toStringList(), rgb);
    EXPECT_EQ(o.value("cmyk").toVariant().toStringList(), cmyk);
}
