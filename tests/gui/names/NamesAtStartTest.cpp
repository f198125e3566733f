#include "NamesApp.h"

#include "names/NameTable.h"

#include <QFile>
#include <QThreadPool>

namespace {

// The program as main() starts it at its first start, its names loading on
// a worker thread. No turn of the event loop has come yet when the
// constructor returns, so the names are still on their way.
struct BackgroundNamesApp
{
    BackgroundNamesApp()
    {
        AppDelegate::initialize(defaults);
        auto lookup = std::make_unique<DatabaseNameLookup>(defaults, Paths::applicationSupportFolder(),
                                                           NamesDatabase::shippedDatabasePath());
        lookup->loadInBackgroundAtStart();
        names = lookup.get();
        AppParts parts;
        parts.buildStores(defaults, spaces, *lookup);
        parts.names = std::move(lookup);
        AppDelegate::Options options;
        options.trayAvailable = [] { return true; };
        options.terminate = [] {};
        app = std::make_unique<AppDelegate>(defaults, spaces, center, std::move(parts), std::move(options));
        app->launch();
    }
    ~BackgroundNamesApp()
    {
        app.reset();
        QThreadPool::globalInstance()->waitForDone();
    }
    QString shownName() { return app->window().fields.nameField->text(); }
    std::array<int, 3> wellRGB() { return app->window().mainSwatchWell->color()->integerComponents(); }
    // The worker started, done, and its table handed over if still wanted.
    void settle()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !names->cache().isLoading(); }));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    TempHome home;
    UserDefaults defaults;
    ColorSpaceRegistry spaces;
    NotificationCenter center;
    DatabaseNameLookup* names = nullptr;
    std::unique_ptr<AppDelegate> app;
};

// A window closed before the names arrive keeps them freed until it opens
// again; then they load at once and name the colour in its first frame.
TEST(NamesAtStart, TheWindowIsUpBeforeTheNamesAndTheyNameTheColourWhenTheyArrive)
{
    for (bool closedFirst : { false, true }) {
        SCOPED_TRACE(closedFirst ? "window closed before the names arrive" : "window open");
        BackgroundNamesApp app;
        ASSERT_TRUE(app.names->cache().isLoading());
        EXPECT_TRUE(app.app->window().isVisible());
        EXPECT_EQ(app.shownName(), QString()) << "empty while the names are on their way, not \"Invalid Color\"";
        EXPECT_TRUE(app.names->completions("Periwinkle").isEmpty());
        if (closedFirst)
            app.app->window().close();

        app.settle();
        if (closedFirst) {
            EXPECT_FALSE(app.names->cache().isLoaded());
            EXPECT_EQ(app.names->closestColorNameToColor(Color::fromIntegers(255, 0, 0)), NameTable::invalidColorName);
            app.app->openWindow();
        }
        EXPECT_EQ(app.shownName(), "Periwinkle Blue");
        // The first start's copy and the count of names came with them.
        EXPECT_TRUE(QFile::exists(Paths::applicationSupportFolder() + "/ColorNames.db"));
        EXPECT_GT(app.defaults.integerForKey("namesCountValue"), 30000);
        EXPECT_TRUE(app.names->completions("Periwinkle").contains("Periwinkle Blue"));
        // A typed name now finds its colour.
        app.app->fieldSync().setSwatchFromNameField("Red");
        EXPECT_EQ(app.wellRGB(), (std::array<int, 3> { 255, 0, 0 }));
    }
}

} // namespace
