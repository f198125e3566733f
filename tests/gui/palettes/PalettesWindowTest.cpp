#include "../app/AppHarness.h"

#include "palettes/ColorListStore.h"
#include "palettes/PaletteCellView.h"
#include "palettes/PaletteController.h"
#include "palettes/PaletteExchange.h"
#include "palettes/PaletteFile.h"
#include "palettes/PaletteTableView.h"
#include "palettes/StoredPalettes.h"
#include "swatches/CurrentColors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The program with its palettes, no palettes installed on the system, and
// the dialogs answered by the test.
class PaletteWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_DIRS", systemData.path().toUtf8());
        app.startWith({"ff0000", "fa0000", "0000ff"});
        palettes = dynamic_cast<StoredPalettes*>(app.app().appParts().palettes.get());
        ASSERT_TRUE(palettes);
        PaletteDialogs dialogs;
        dialogs.chooseImportFiles = [this](QWidget*) { return chosen; };
        dialogs.chooseExportFile = [this](QWidget*, const QString& proposed, PaletteFile::Format) {
            proposals << proposed;
            return exportTo.isEmpty() ? QString() : exportTo.takeFirst();
        };
        dialogs.tell = [this](QWidget*, const QString& text, const QString& details) { told << text + "\n" + details; };
        palettes->setDialogs(dialogs);
    }

    PaletteController& window() { return *palettes->paletteController(); }
    ColorListStore& store() { return *app.app().appParts().colorLists; }
    QStringList rows()
    {
        QStringList names;
        for (const PaletteEntry& entry : window().model().palettes())
            names << entry.name;
        return names;
    }
    QStringList selected()
    {
        QStringList names;
        for (const PaletteEntry& entry : window().selectedPalettes())
            names << entry.name;
        return names;
    }
    void select(const QStringList& names) { window().selectNames(names); }
    // Into the list, as the active window (the window's keys are shortcuts).
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        window().palettesTable->setFocus();
        QTest::keyClick(window().palettesTable, Qt::Key(key), modifiers);
    }
    void rename(const QString& from, const QString& to)
    {
        select({from});
        key(Qt::Key_F2);
        QLineEdit* field = nullptr;
        for (QLineEdit* open : window().palettesTable->viewport()->findChildren<QLineEdit*>())
            field = open->isVisible() ? open : field; // closed ones wait to be deleted
        ASSERT_TRUE(field) << from.toStdString();
        field->selectAll();
        QTest::keyClicks(field, to);
        QTest::keyClick(field, Qt::Key_Return);
        // The field commits on the next turn of the event loop, and the row
        // takes its place in the order on the one after.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QStringList keys(const QString& list)
    {
        QStringList found;
        const ColorList named = store().colorListNamed(list).value_or(ColorList());
        for (const ColorList::Entry& entry : named.entries())
            found << entry.key;
        return found;
    }

    QTemporaryDir systemData;
    AppHarness app {AppHarness::Setup {true, false, true}};
    StoredPalettes* palettes = nullptr;
    QStringList chosen, exportTo, proposals, told;
};

} // namespace

// The whole round of a palette's life from the keyboard: saved twice from
// the main window, renamed (a taken name gets "(2)"), deleted with the
// selection moving on, brought back from the trash, and the buttons
// following the selection.
TEST_F(PaletteWindow, SaveRenameDeleteAndUndoFromTheKeyboard)
{
    QAction* save = app.app().commands().action(WindowCommand::SavePalette);
    EXPECT_TRUE(app.app().commands().action(WindowCommand::Palettes)->isEnabled());
    save->trigger();
    ASSERT_TRUE(palettes->paletteController());
    window().saveButton->click();
    EXPECT_EQ(rows(), QStringList({"CSS Colors", "palette", "palette (2)", "Web Safe Colors"}));
    EXPECT_EQ(selected(), QStringList({"palette (2)"}));
    EXPECT_EQ(keys("palette"), QStringList({"cff0000", "cfa0000", "Black & Blue"}));
    // The column is a palette now: saving it again is offered no more.
    EXPECT_TRUE(QTest::qWaitFor([save] { return !save->isEnabled(); }));

    rename("palette (2)", "Zebra");
    EXPECT_EQ(rows(), QStringList({"CSS Colors", "palette", "Web Safe Colors", "Zebra"}));
    EXPECT_EQ(selected(), QStringList({"Zebra"}));
    rename("palette", "Zebra");
    EXPECT_EQ(rows(), QStringList({"CSS Colors", "Web Safe Colors", "Zebra", "Zebra (2)"}));
    rename("Zebra (2)", "");
    EXPECT_TRUE(rows().contains("Zebra (2)")) << "an emptied name keeps the old one";

    select({"Zebra", "Web Safe Colors"});
    EXPECT_FALSE(window().deleteButton->isEnabled());
    EXPECT_FALSE(window().restoreButton->isEnabled()) << "two rows selected";
    key(Qt::Key_Delete);
    EXPECT_EQ(rows().size(), 4);

    // The last row deleted: the new last row is selected.
    select({"Zebra (2)"});
    key(Qt::Key_Delete);
    EXPECT_EQ(selected(), QStringList({"Zebra"}));
    key(Qt::Key_Delete);
    EXPECT_EQ(rows(), QStringList({"CSS Colors", "Web Safe Colors"}));
    EXPECT_EQ(selected(), QStringList({"Web Safe Colors"}));
    EXPECT_TRUE(window().hintLabel->isVisibleTo(&window())) << "the empty list says how to fill it";
    EXPECT_FALSE(QFile::exists(store().pathForColorListWithName("Zebra")));

    // Each undo brings back one deletion, file and all, from the trash.
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(selected(), QStringList({"Zebra"}));
    EXPECT_EQ(keys("Zebra"), QStringList({"cff0000", "cfa0000", "Black & Blue"}));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), QStringList({"CSS Colors", "Web Safe Colors", "Zebra", "Zebra (2)"}));
    EXPECT_FALSE(window().undoAction()->isEnabled());
    EXPECT_TRUE(QFile::exists(store().pathForColorListWithName("Zebra (2)")));
    EXPECT_TRUE(QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files").isEmpty());
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();

    // Closing drops the window; the next one selects the row left selected.
    window().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(palettes->paletteController());
    palettes->openPalettesWindow();
    EXPECT_EQ(selected(), QStringList({"Zebra (2)"}));
    // A deletion can be taken back after the window was closed, too.
    key(Qt::Key_Delete);
    window().close();
    palettes->openPalettesWindow();
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(selected(), QStringList({"Zebra (2)"}));
}

// A palette put into the swatch column, or added to it, is a change of the
// current swatches like any other: recorded in the history, current colour
// unchanged.
TEST_F(PaletteWindow, RestoreAndAddGoIntoTheSwatchColumnAndTheHistory)
{
    ColorList warm("Warm");
    warm.setColor("a", Color::fromIntegers(0, 0, 255));
    warm.setColor("b", Color::fromIntegers(0, 128, 0));
    warm.setColor("c", Color::fromIntegers(0, 128, 0));
    // Duplicates are equal values: one that only shares a hex code is new,
    // and an unreadable swatch matches nothing, not even its stand-in.
    warm.setColor("d", CurrentColors::fallbackColor());
    warm.setColor("e", Color(250.2 / 255, 0, 0, Color().space()));
    ASSERT_EQ(store().saveColorList(warm), "");
    palettes->openPalettesWindow();
    const AppHarness::Code current = app.current();
    select({"Warm"});

    // A swatch this version cannot read stays as it is stored.
    QVariantList column = app.settings().arrayForKey("currentColors");
    app.settings().setArray(column << QByteArray("from a later version"), "currentColors");
    key(Qt::Key_Return, Qt::ShiftModifier); // add: the blue is there already, the palette's repeat stays
    EXPECT_EQ(app.stored(),
              QList<AppHarness::Code>({"ff0000", "fa0000", "0000ff", "unreadable", "008000", "008000", "2d3441", "fa0000"}));
    key(Qt::Key_Return); // restore
    EXPECT_EQ(app.stored(), QList<AppHarness::Code>({"0000ff", "008000", "008000", "2d3441", "fa0000"}));
    EXPECT_EQ(app.current(), current);
    app.settle();
    EXPECT_EQ(app.entries().size(), 2);
    EXPECT_EQ(AppHarness::codes(app.entries().first().colors), app.stored());
}

// Another Huelark (or a file manager) changing the folder reloads the
// window once; the window's own changes do not reload it at all. Renaming
// writes the new list before it deletes the old one: a failed write keeps
// the palette under its old name and says why.
TEST_F(PaletteWindow, OutsideChangesReloadOnceOwnChangesNeverAndAFailedRenameKeepsThePalette)
{
    palettes->openPalettesWindow();
    QSignalSpy reloads(&window().model(), &QAbstractItemModel::modelReset);
    window().saveButton->click();
    window().saveButton->click();
    rename("palette (2)", "Other");
    key(Qt::Key_Delete);
    key(Qt::Key_Z, Qt::ControlModifier);
    select({"palette"});
    QTest::qWait(50);
    EXPECT_EQ(reloads.count(), 4) << "its own refreshes (save, save, delete, undo), and nothing after";

    ColorListStore other(store().folder(), ColorListStore::Watching::no);
    for (const char* name : {"Cool", "Cold", "Ice"}) {
        ColorList list(QString::fromUtf8(name));
        list.setColor("x", Color::fromIntegers(0, 0, 200));
        ASSERT_EQ(other.saveColorList(list), "");
    }
    EXPECT_TRUE(QTest::qWaitFor([this] { return rows().contains("Ice"); }));
    QTest::qWait(50);
    EXPECT_EQ(reloads.count(), 5);
    EXPECT_EQ(selected(), QStringList({"palette"})) << "the selection stays on its palette";

    // A folder where the new list's file would go: no file can be written there.
    QDir(store().folder()).mkdir("Blocked.clr");
    rename("palette", "Blocked");
    EXPECT_TRUE(rows().contains("palette"));
    EXPECT_EQ(PaletteFile::read(store().pathForColorListWithName("palette")).colors.size(), 3);
    EXPECT_EQ(QDir(store().folder()).entryList(QDir::Files),
              QStringList({"Cold.clr", "Cool.clr", "Ice.clr", "Other.clr", "palette.clr"}));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith("The palette \u201cpalette\u201d could not be renamed.")) << told[0].toStdString();
}

// Several files at once, one of each format: each a new palette, the
// damaged one reported (and what could be read of it kept), a text file
// skipped. Then out again: one save dialog per selected palette.
TEST_F(PaletteWindow, ImportsSeveralFilesAndReportsTheBadOnesThenExportsEach)
{
    QTemporaryDir files;
    ColorList list("Pair");
    list.setColor("Red", Color::fromIntegers(255, 0, 0));
    list.setColor("Blue", Color::fromIntegers(0, 0, 255));
    for (const char* name : {"one.clr", "two.ase", "three.json", "four.gpl"})
        ASSERT_EQ(PaletteFile::write(files.filePath(name), list, false), "") << name;
    ASSERT_TRUE(put(files.filePath("damaged.gpl"), "GIMP Palette\nName: Torn\n255 0 0 Red\n300 0 0 Broken\n"));
    ASSERT_TRUE(put(files.filePath("notes.txt"), "not a palette"));

    QDir(files.path()).mkdir("folder");
    ASSERT_EQ(PaletteFile::write(files.filePath("folder/inner.gpl"), list, false), "");

    palettes->openPalettesWindow();
    chosen = {files.filePath("one.clr"), files.filePath("two.ase"), files.filePath("three.json"),
              files.filePath("four.gpl"), files.filePath("damaged.gpl"), files.filePath("notes.txt"),
              files.filePath("folder")};
    window().importButton->click();
    EXPECT_EQ(selected(), QStringList({"one", "Pair", "Pair (2)", "Pair (3)", "Torn", "two"}));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("damaged.gpl: ")) << told[0].toStdString();
    EXPECT_FALSE(told[0].contains("notes.txt"));
    EXPECT_EQ(keys("two"), QStringList({"Red", "Blue"}));

    // Dropped on the list, a file is imported the same way.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(files.filePath("one.clr"))});
    AppHarness::dropOn(window().palettesTable->viewport(), &dropped, QPoint(5, 5));
    EXPECT_EQ(selected(), QStringList({"one (2)"}));

    select({"Pair", "Pair (2)", "one"});
    exportTo = {files.filePath("a.json"), "", files.filePath("c")};
    window().exportPalettes(PaletteFile::Format::json);
    EXPECT_EQ(proposals, QStringList({"one.json", "Pair.json", "Pair (2).json"}));
    EXPECT_EQ(PaletteFile::read(files.filePath("a.json")).name, "one") << "the formats' tests hold the rest";
    EXPECT_TRUE(QFile::exists(files.filePath("c.json"))) << "the format's extension is added";
    EXPECT_EQ(told.size(), 1);

    // Dragged out, the rows are files of their own: .clr, or .gpl with Shift.
    PaletteExchange exchange(store(), app.app().wellColorSpace(), *app.app().appParts().names);
    for (const bool gimp : {false, true}) {
        std::unique_ptr<QMimeData> data(exchange.dragData(window().selectedPalettes(), gimp));
        ASSERT_TRUE(data) << gimp;
        QStringList names;
        for (const QUrl& url : data->urls())
            names << url.fileName();
        EXPECT_EQ(names, gimp ? QStringList({"one.gpl", "Pair.gpl", "Pair (2).gpl"})
                              : QStringList({"one.clr", "Pair.clr", "Pair (2).clr"}));
        EXPECT_EQ(PaletteFile::read(data->urls().first().toLocalFile()).colors.size(), 2) << gimp;
    }
}

// A strip shows at most 100 colours, spread evenly, the first and the last
// always among them.
TEST(PaletteCellView, ColorsPrunedKeepTheEnds)
{
    for (const int count : {1, 100, 101, 250, 1000}) {
        QList<Color> colors;
        for (int i = 0; i < count; ++i)
            colors << Color::fromIntegers(i % 256, i / 256, 0);
        const QList<Color> pruned = PaletteCellView::colorsPruned(colors);
        EXPECT_EQ(pruned.size(), std::min(count, 100)) << count;
        EXPECT_EQ(pruned.first(), colors.first()) << count;
        EXPECT_EQ(pruned.last(), colors.last()) << count;
        if (count == 250) {
            EXPECT_EQ(pruned[50], colors[126]) << "round(249 / 99 * 50)";
        }
    }
}
