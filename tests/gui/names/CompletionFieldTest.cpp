#include "NamesApp.h"

#include "names/AutoCompletePopover.h"
#include "names/NameTable.h"
#include "settings/NotificationCenter.h"

#include <QFile>
#include <QScrollBar>
#include <QThreadPool>

#include <atomic>
#include <thread>

namespace {

QRect rowRect(QListView* list, int row) { return list->visualRect(list->model()->index(row, 0)); }

class CompletionField : public testing::Test
{
protected:
    void SetUp() override { app.focusNameField(); }

    std::array<int, 3> rgb() { return app.h.wellRGB(); }

    NamesApp app;
};

// The list shows at most ten rows, beside the field; the first match is
// previewed, a name typed in full coming first.
TEST_F(CompletionField, TypingPreviewsTheFirstMatchAndTheArrowsPreviewTheOthers)
{
    const struct { const char* typed; const char* first; int rows; } cases[] = {
        { "ark", "Ark Brown", 3 },
        { "Red", "Red", 2 },       // before "Dark Red"
        { "gre", "Green 01", 10 }, // of 25 matches: the list scrolls
    };
    for (const auto& c : cases) {
        app.typeName(c.typed);
        ASSERT_TRUE(app.popoverShown()) << c.typed;
        EXPECT_EQ(app.field()->text(), c.typed) << "the typed text stays as typed: " << c.typed;
        EXPECT_EQ(app.highlighted(), c.first) << c.typed;
        EXPECT_EQ(app.h.fields().hexField->text().toLower(), "#" + *app.names->hexCodeForName(c.first)) << c.typed;
        QListView* list = app.list();
        EXPECT_EQ(list->viewport()->height() / list->sizeHintForRow(0), c.rows) << c.typed;
        EXPECT_EQ(list->verticalScrollBar()->maximum() > 0, c.rows == 10) << c.typed;
    }

    const struct { Qt::Key key; const char* highlighted; } steps[] = {
        { Qt::Key_Down, "Green 02" },
        { Qt::Key_Up, "Green 01" },
        { Qt::Key_Up, "Green 01" }, // the first row stays
        { Qt::Key_PageDown, "Green 11" },
        { Qt::Key_PageDown, "Green 21" },
        { Qt::Key_PageDown, "Green 25" }, // and so does the last
        { Qt::Key_Down, "Green 25" },
    };
    for (const auto& step : steps) {
        QTest::keyClick(app.field(), step.key);
        EXPECT_EQ(app.highlighted(), step.highlighted);
        const QString code = *app.names->hexCodeForName(QString::fromLatin1(step.highlighted));
        EXPECT_EQ(app.h.fields().hexField->text().toLower(), "#" + code) << step.highlighted;
        EXPECT_EQ(app.field()->text(), "gre");
    }
    EXPECT_TRUE(app.list()->viewport()->rect().contains(rowRect(app.list(), 24))) << "the last row is scrolled into view";
    EXPECT_TRUE(app.field()->hasFocus());
}

// Return, Tab and a double click commit the highlighted name; Escape, text
// that matches nothing or none, and leaving the field or the window close
// the list.
TEST_F(CompletionField, CommittingAndDismissingTheList)
{
    // Return with the list open commits; with it closed it opens nothing.
    app.typeName("gre");
    QTest::keyClick(app.field(), Qt::Key_Down);
    QTest::keyClick(app.field(), Qt::Key_Return);
    EXPECT_EQ(app.field()->text(), "Green 02");
    EXPECT_FALSE(app.popoverShown());
    QTest::keyClick(app.field(), Qt::Key_Return);
    EXPECT_EQ(app.field()->text(), "Green 02");
    EXPECT_FALSE(app.popoverShown());
    EXPECT_EQ(rgb(), (std::array<int, 3> { 0, 0x38, 0x02 }));

    // Tab with the list open commits and stays; with it closed it moves on.
    app.typeName("ark");
    ASSERT_TRUE(app.popoverShown());
    QTest::keyClick(app.field(), Qt::Key_Down);
    QTest::keyClick(app.field(), Qt::Key_Tab);
    EXPECT_EQ(app.field()->text(), "Dark Red");
    EXPECT_FALSE(app.popoverShown());
    EXPECT_TRUE(app.field()->hasFocus());

    // A double-click commits the row clicked, and the focus stays.
    app.typeName("blu");
    ASSERT_TRUE(app.popoverShown());
    const QStringList matches = app.field()->matches();
    ASSERT_EQ(matches.size(), 4) << matches.join(", ").toStdString();
    QTest::mouseClick(app.list()->viewport(), Qt::LeftButton, {}, rowRect(app.list(), matches.indexOf("Bluebell")).center());
    EXPECT_EQ(app.highlighted(), "Bluebell") << "a click highlights and previews";
    EXPECT_EQ(rgb(), (std::array<int, 3> { 0xa2, 0xa2, 0xd0 }));
    EXPECT_TRUE(app.popoverShown());
    // A double-click reaches a widget as press, release, double-click.
    const QPoint skyBlue = rowRect(app.list(), matches.indexOf("Sky Blue")).center();
    QTest::mouseClick(app.list()->viewport(), Qt::LeftButton, {}, skyBlue);
    QTest::mouseDClick(app.list()->viewport(), Qt::LeftButton, {}, skyBlue);
    EXPECT_EQ(app.field()->text(), "Sky Blue");
    EXPECT_FALSE(app.popoverShown());
    EXPECT_EQ(QApplication::focusWidget(), app.field());

    QTest::keyClick(app.field(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), app.field()) << "Tab with the list closed moves on";
    EXPECT_EQ(app.field()->text(), "Sky Blue");

    app.focusNameField();
    app.typeName("gre");
    ASSERT_TRUE(app.popoverShown());
    QTest::keyClick(app.field(), Qt::Key_Escape);
    EXPECT_FALSE(app.popoverShown());
    EXPECT_EQ(app.field()->text(), "gre");
    EXPECT_TRUE(app.field()->hasFocus());
    QTest::keyClick(app.field(), Qt::Key_Down);
    EXPECT_TRUE(app.popoverShown()) << "Down opens the list again";

    QTest::keyClick(app.field(), Qt::Key_X);
    EXPECT_FALSE(app.popoverShown()) << "\"grex\" matches nothing";
    QTest::keyClick(app.field(), Qt::Key_Backspace);
    EXPECT_TRUE(app.popoverShown());
    const std::array<int, 3> before = rgb();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(app.field(), Qt::Key_Backspace);
    EXPECT_EQ(app.field()->text(), "");
    EXPECT_FALSE(app.popoverShown()) << "an empty field lists nothing";
    EXPECT_EQ(rgb(), before);

    // Leaving the field closes the list and tidies the name.
    app.focusNameField();
    app.typeName("gre");
    ASSERT_TRUE(app.popoverShown());
    app.h.fields().hexField->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(app.popoverShown());
    EXPECT_EQ(app.field()->text(), "Green 01") << "not a name: the name of the previewed colour";

    // So do a click elsewhere in the window and another window coming to the front.
    QWidget elsewhere;
    for (const bool click : { true, false }) {
        app.focusNameField();
        app.typeName("ark");
        ASSERT_TRUE(app.popoverShown());
        if (click) {
            QTest::mouseClick(app.h.window().mainSwatchWell, Qt::LeftButton, {}, QPoint(2, 2));
        } else {
            elsewhere.show();
            QApplication::setActiveWindow(&elsewhere);
        }
        EXPECT_FALSE(app.popoverShown()) << (click ? "a click elsewhere" : "another window");
    }
}

TEST_F(CompletionField, FocusShowsTheColourPanelAndSelectsTheName)
{
    int posted = 0;
    QObject context;
    app.h.notifications().addObserver(QStringLiteral("showColorPicker"), &context,
                                      [&posted](const Notification&) { ++posted; });
    // A click into the middle of the name selects all of it, to be typed
    // over, whether the click is handled before the deferred select-all or
    // after it (as when the click also brings the window back).
    const QPoint middle(30, app.field()->height() / 2);
    for (bool clickFirst : { true, false }) {
        app.h.fields().hexField->setFocus();
        posted = 0;
        if (clickFirst) {
            QTest::mousePress(app.field(), Qt::LeftButton, {}, middle);
            QCoreApplication::processEvents();
        } else {
            app.field()->setFocus(Qt::ActiveWindowFocusReason);
            QCoreApplication::processEvents();
            QTest::mousePress(app.field(), Qt::LeftButton, {}, middle);
        }
        QTest::mouseRelease(app.field(), Qt::LeftButton, {}, middle);
        QCoreApplication::processEvents();
        EXPECT_FALSE(app.field()->text().isEmpty());
        EXPECT_EQ(app.field()->selectedText(), app.field()->text()) << (clickFirst ? "click first" : "click after");
        EXPECT_EQ(posted, 1) << "the colour panel follows the focus";
    }
}

// The name's font shrinks from 16 to 8 pixels to fit.
TEST_F(CompletionField, TheFontShrinksToFit)
{
    QFont font = QApplication::font();
    font.setPixelSize(8);
    QString longest = QStringLiteral("W");
    while (QFontMetricsF(font).horizontalAdvance(longest) <= 180)
        longest += QLatin1Char('W');
    const QString fits = QStringLiteral("Fluorescent Orange Lemonade Punch Pink");
    const int size = AutoCompleteTextField::fittingFontSize(font, fits);
    font.setPixelSize(size);
    EXPECT_LE(QFontMetricsF(font).horizontalAdvance(fits), 180);
    font.setPixelSize(size + 1);
    EXPECT_GT(QFontMetricsF(font).horizontalAdvance(fits), 180) << "as large as fits";
    for (const auto& [text, pixels] : { std::pair { longest, 8 }, std::pair { QStringLiteral("Red"), 16 } }) {
        app.field()->setText(text);
        EXPECT_EQ(app.field()->font().pixelSize(), pixels);
    }
}

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

// A window closed before the names arrive keeps them freed until it opens
// again; then they load at once and name the colour in its first frame.
TEST(NamesAtStart, TheWindowIsUpBeforeTheNamesAndTheyNameTheColourWhenTheyArrive)
{
    for (bool closedFirst : { false, true }) {
        SCOPED_TRACE(closedFirst ? "window closed before the names arrive" : "window open");
        NamesApp app(QByteArray(), HarnessSetup { .eventTurnAtStart = false }); // the shipped names, first start
        ASSERT_TRUE(app.names->cache().isLoading());
        EXPECT_TRUE(app.h.window().isVisible());
        EXPECT_EQ(app.field()->text(), QString()) << "empty while the names are on their way, not \"Invalid Color\"";
        EXPECT_TRUE(app.names->completions("Periwinkle").isEmpty());
        if (closedFirst)
            app.h.window().close();

        // The worker started, done, and its table handed over if still wanted.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !app.names->cache().isLoading(); }));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        if (closedFirst) {
            EXPECT_FALSE(app.names->cache().isLoaded());
            EXPECT_EQ(app.names->closestColorNameToColor(Color::fromIntegers(255, 0, 0)), NameTable::invalidColorName);
            app.h.app().openWindow();
        }
        EXPECT_EQ(app.field()->text(), "Periwinkle Blue");
        // The first start's copy and the count of names came with them.
        EXPECT_TRUE(QFile::exists(Paths::applicationSupportFolder() + "/ColorNames.db"));
        EXPECT_GT(app.h.settings().integerForKey("namesCountValue"), 30000);
        EXPECT_TRUE(app.names->completions("Periwinkle").contains("Periwinkle Blue"));
        // A typed name now finds its colour.
        app.h.sync().setSwatchFromNameField("Red");
        EXPECT_EQ(app.h.wellRGB(), (std::array<int, 3> { 255, 0, 0 }));
    }
}

} // namespace

