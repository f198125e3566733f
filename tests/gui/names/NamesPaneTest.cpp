#include "NamesApp.h"

#include "DamagedDatabase.h"
#include "LocalHttpServer.h"

#include "app/WindowCommands.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlResultSet.h"
#include "names/NamesDatabaseUpdater.h"
#include "prefs/NamesPreferencesViewController.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

namespace {

using Outcome = NamesDatabaseUpdater::Outcome;

const QString releasesPath = QStringLiteral("/repos/meodai/color-names/releases");
const QString csvPath = QStringLiteral("/color-name-list@v2.0/dist/colornames.csv");
const QByteArray releases = R"([{"id": 7, "name": "v2.0"}, {"id": 6, "name": "v1.0"}])";

QByteArray csvOf(int rows)
{
    QByteArray csv = "name,hex\nLavender Test,#9aa2f8\n";
    for (int i = 0; i < rows; ++i)
        csv += "Colour " + QByteArray::number(i) + ",#" + QByteArray::number(i % 0xffffff, 16).rightJustified(6, '0') + "\n";
    return csv;
}

// The program with release 6 of a small names database installed, the
// Names preferences opened from the tray, and a local server offering
// release 7.
class NamesPane : public testing::Test
{
protected:
    void SetUp() override
    {
        app.h.settings().setInteger(6, "namesID");
        app.h.settings().setString("v1.0", "namesVersion");
        app.h.settings().setString("Last Updated: 1 Dec 2026, 09:00", "namesIDUpdatedDate");
        app.h.settings().setString(server.url(), "namesAPIHost");
        app.h.settings().setString(server.url(), "namesCDNHost");
        app.names->updater().setTransferTimeout(300);
        server.setResponse(releasesPath, { 200, releases, "application/json" });
        server.setResponse(csvPath, { 200, csvOf(3), "text/csv" });

        QAction* names = app.h.app().commands().action(WindowCommand::NamesPreferences);
        ASSERT_TRUE(names->isEnabled());
        names->trigger();
        window = app.preferences();
        ASSERT_NE(window, nullptr);
        pane = app.namesPane();
        ASSERT_EQ(window->selectedViewController(), pane) << "the Names pane on show";
        // Every change of the pane, as the user would see it.
        NamesDatabaseUpdater* updater = &app.names->updater();
        QObject::connect(updater, &NamesDatabaseUpdater::buttonChanged, pane, [this] { look(); });
        QObject::connect(updater, &NamesDatabaseUpdater::updatedLabelChanged, pane, [this] { look(); });
        QObject::connect(updater, &NamesDatabaseUpdater::spinnerVisibleChanged, pane, [this] { look(); });
    }

    void look()
    {
        seen << QStringLiteral("%1 | %2 %3 | %4")
                    .arg(pane->updatedLabel->text(), pane->downloadButton->text(),
                         pane->downloadButton->isEnabled() ? "on" : "off",
                         pane->createDBIndicator->isVisible() ? "spinning" : "still");
    }

    Outcome press()
    {
        QSignalSpy finished(&app.names->updater(), &NamesDatabaseUpdater::finished);
        QTest::mouseClick(pane->downloadButton, Qt::LeftButton);
        if (finished.isEmpty() && !finished.wait(30000)) {
            ADD_FAILURE() << "the update did not finish";
            return Outcome::Failed;
        }
        return finished.first().first().value<Outcome>();
    }

    // `expected` appear in `seen`, in this order.
    void expectSeen(const QStringList& expected)
    {
        qsizetype at = 0;
        for (const QString& line : expected) {
            at = seen.indexOf(line, at);
            ASSERT_GE(at, 0) << "not seen: " << line.toStdString() << "\nseen:\n" << seen.join("\n").toStdString();
        }
    }

    void expectIdle(const QString& status)
    {
        EXPECT_EQ(pane->updatedLabel->text(), status);
        EXPECT_EQ(pane->downloadButton->text(), "Update database");
        EXPECT_TRUE(pane->downloadButton->isEnabled());
        EXPECT_FALSE(pane->createDBIndicator->isVisible());
    }

    NamesApp app;
    LocalHttpServer server;
    PreferencesWindowController* window = nullptr;
    NamesPreferencesViewController* pane = nullptr;
    QStringList seen;
};

TEST_F(NamesPane, OpensIdleAndAnUpdateShowsEachStepAndItsOutcome)
{
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(pane->namesCount->text(), "34 unique color names");
    EXPECT_EQ(pane->namesVersion->text(), "v1.0");
    expectIdle("Last Updated: 1 Dec 2026, 09:00");

    EXPECT_EQ(press(), Outcome::Installed);
    expectSeen({
        "Checking Color Names version... | Update database off | spinning",
        "Getting download information... | Cancel download... on | still",
        "Generating database... | Cancel database creation... on | spinning",
    });
    EXPECT_EQ(pane->namesCount->text(), "4 unique color names");
    EXPECT_EQ(pane->namesVersion->text(), "v2.0");
    expectIdle(app.h.settings().stringForKey("namesIDUpdatedDate"));
    EXPECT_FALSE(pane->updatedLabel->text().contains("added")) << "fewer names than before";
    // The window names its colour from the new names at once.
    EXPECT_EQ(app.field()->text(), "Lavender Test");

    // The other outcomes' texts are the updater's (core tests); the pane
    // shows them as it shows this one, and as the cancel below shows.
}

TEST_F(NamesPane, CancellingABuildKeepsTheNames)
{
    // A long build, cancelled from its own button.
    app.names->updater().setTransferTimeout(20000);
    server.setResponse(csvPath, { 200, csvOf(400000), "text/csv" });
    QString reopened;
    QObject::connect(&app.names->updater(), &NamesDatabaseUpdater::buttonChanged, pane, [this, &reopened] {
        if (pane->downloadButton->text() != "Cancel database creation...")
            return;
        QTimer::singleShot(0, pane, [this, &reopened] {
            // Closing the window does not stop the build, nor does opening
            // it again hide what is going on.
            window->close();
            app.h.app().commands().action(WindowCommand::NamesPreferences)->trigger();
            reopened = pane->updatedLabel->text();
            QTest::mouseClick(pane->downloadButton, Qt::LeftButton);
        });
    });
    EXPECT_EQ(press(), Outcome::Cancelled);
    expectSeen({ "Generating database... | Cancel database creation... on | spinning" });
    EXPECT_EQ(reopened, "Generating database...");
    expectIdle("Download cancelled...");
    EXPECT_EQ(pane->namesCount->text(), "34 unique color names");
    EXPECT_EQ(app.names->hexCodeForName("Bluebell"), "a2a2d0");
}

// The window compares the integers of its own colour space with the stored
// ones, so an update stores those of that space.
TEST_F(NamesPane, AnUpdateReadsTheCodesIntoTheWindowsColourSpace)
{
    const QString adobe = QStringLiteral("Compatible with Adobe RGB (1998)");
    const ColorSpacePtr space = ColorSpaceRegistry().spaceNamed(adobe);
    if (!space)
        GTEST_SKIP() << "needs colord-data";
    app.h.settings().setString(adobe, "colorSpace");
    EXPECT_EQ(press(), Outcome::Installed);

    const std::array<int, 3> expected = HexCodec::colorWithHexColorString("9aa2f8", space)->integerComponents();
    ASSERT_NE(expected, (std::array<int, 3> { 0x9a, 0xa2, 0xf8 }));
    const auto db = SqlDatabase::databaseWithPath(app.names->database().liveDatabasePath());
    ASSERT_TRUE(db->open());
    const auto rs = db->executeQuery("SELECT r, g, b FROM colors WHERE name = 'Lavender Test'");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ((std::array<int, 3> { rs->intForColumnIndex(0), rs->intForColumnIndex(1), rs->intForColumnIndex(2) }),
              expected);
}

} // namespace

// Damaged names would name every colour "Invalid Color", and history would
// keep that for good: the shipped names come back, and the pane says so.
TEST(NamesPaneAfterDamage, TheShippedNamesArePutBackAndThePaneSaysWhereTheOldOnesAre)
{
    NamesApp app{QByteArray()}; // the shipped names, copied in at the first start
    app.h.app().commands().action(WindowCommand::NamesPreferences)->trigger();
    NamesPreferencesViewController* pane = app.namesPane();
    ASSERT_TRUE(pane);
    EXPECT_TRUE(pane->updatedLabel->text().startsWith("Shipped with Huelark ")) << pane->updatedLabel->text().toStdString();

    damageMiddlePages(app.names->database().liveDatabasePath());
    // As when the window comes back after a close.
    app.names->freeNamesDatabase();
    app.names->cacheNamesDatabase();
    EXPECT_EQ(app.names->closestColorNameToColor(Color::fromIntegers(255, 0, 0)), "Red");
    const QString status = pane->updatedLabel->text();
    EXPECT_TRUE(status.startsWith("The names database could not be read (database disk image is malformed), so the "
                                  "names shipped with Huelark "))
        << status.toStdString();
    EXPECT_TRUE(status.contains("/ColorNames-damaged-")) << status.toStdString();
    EXPECT_EQ(pane->namesVersion->text(), "as shipped with Huelark");
}
