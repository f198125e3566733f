#include "NamesApp.h"

#include <atomic>
#include <thread>

namespace {

const QString invalidColor = QStringLiteral("Invalid Color");

// The lookup the history writer holds keeps real names whatever the window
// does with the cache: an entry recorded now keeps its name for good.
TEST(NameLookup, TheFieldNamesTheColourAndTheHistoryWritersLookupOutlivesEveryFree)
{
    NamesApp app;
    AutoCompleteTextField* field = app.field();
    EXPECT_EQ(field->text(), "Periwinkle");
    const NameLookup::ClosestName writerLookup = app.names->closestColorNameOnAnyThread();

    app.h.window().close();
    const Color red = Color::fromIntegers(255, 0, 0);
    EXPECT_EQ(app.names->closestColorNameToColor(red), invalidColor);
    EXPECT_EQ(app.names->hexCodeForName("Red"), std::nullopt);
    EXPECT_TRUE(app.names->completions("re").isEmpty());
    EXPECT_EQ(writerLookup(red), "Red");

    // A colour set while the window is closed has no name to show...
    app.h.sync().setSwatchFromHEXValue("ff0000", true);
    EXPECT_EQ(field->text(), invalidColor);
    // ...until the window is back, named from its first frame on.
    app.h.app().openWindow();
    EXPECT_EQ(field->text(), "Red");

    // On the writer's thread while the cache is freed and loaded again.
    std::atomic<bool> stop = false;
    std::atomic<int> wrong = 0, asked = 0;
    std::thread writer([&] {
        while (!stop || asked < 50) {
            if (writerLookup(Color::fromIntegers(0xa2, 0xa2, 0xd0)) != QLatin1String("Bluebell"))
                ++wrong;
            ++asked;
        }
    });
    for (int i = 0; i < 40; ++i) {
        app.names->freeNamesDatabase();
        app.names->cacheNamesDatabase();
    }
    stop = true;
    writer.join();
    EXPECT_EQ(wrong, 0);

    // End of editing keeps a known name and names the colour otherwise.
    app.focusNameField();
    const struct { const char* typed; const char* shown; std::array<int, 3> rgb; } rows[] = {
        { "Bluebell", "Bluebell", { 0xa2, 0xa2, 0xd0 } },
        { "bluebell", "Bluebell", { 0xa2, 0xa2, 0xd0 } }, // letter case counts: the colour's name
        { "Dark Slate", "Dark Slate", { 0x2f, 0x4f, 0x4f } },
        { "xyz", "Dark Slate", { 0x2f, 0x4f, 0x4f } }, // completes to nothing: the colour stays
    };
    for (const auto& row : rows) {
        app.typeName(row.typed);
        QTest::keyClick(app.field(), Qt::Key_Escape);
        QTest::keyClick(app.field(), Qt::Key_Return);
        EXPECT_EQ(app.field()->text(), row.shown) << row.typed;
        EXPECT_EQ(app.h.wellRGB(), row.rgb) << row.typed;
    }
    // Names reloaded meanwhile leave a name being typed alone.
    app.typeName("Re");
    QTest::keyClick(app.field(), Qt::Key_Escape);
    app.names->freeNamesDatabase();
    app.names->cacheNamesDatabase();
    EXPECT_EQ(app.field()->text(), "Re");

    app.h.restart(); // the next program has names of its own
    EXPECT_EQ(writerLookup(red), "Red") << "the lookup outlives its maker";
}

} // namespace
