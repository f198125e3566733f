// The history end to end in the real program: colours typed and left to
// settle become entries, the History menu (behind the window's button and
// in the tray) lists them, and choosing one brings back its colour and its
// swatches. And the one fatal path: a store that cannot open is explained
// before the program ends.
#include "SwatchProgram.h"

#include "app/TrayIcon.h"
#include "history/EntryMenu.h"
#include "history/HistoryMenu.h"
#include "settings/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QList<QAction*> entries(const QMenu* menu)
{
    QList<QAction*> found;
    for (QAction* action : menu->actions())
        if (EntryMenu::isEntry(action))
            found << action;
    return found;
}

TEST(HistoryFlow, SettledColoursComeBackFromTheHistoryMenuWithTheirSwatches)
{
    SwatchProgram p;
    p.start({ "111111", "222222" });
    p.h.sync().enableHistory(); // the pause after the restored colour is over
    const auto settle = [&](const QString& code, size_t entries) {
        p.h.type(p.h.fields().hexField, code);
        p.h.tick();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                p.store().waitForPendingSaves();
                return p.store().historyForDateObjects(DayFormat::dayString(QDate::currentDate())).size() >= qsizetype(entries);
            },
            5000))
            << qPrintable(code);
    };
    settle("ff0000", 1);
    QTest::mouseClick(p.h.window().addButton, Qt::LeftButton); // records the column with red on top
    settle("00ff00", 3);

    // The window's History button (Ctrl+H) opens the menu, newest first.
    QToolButton* button = p.h.window().historyButton;
    QMenu* menu = button->menu();
    ASSERT_TRUE(menu);
    QTimer::singleShot(0, menu, [&] {
        ASSERT_TRUE(menu->isVisible());
        const QList<QAction*> shown = entries(menu);
        ASSERT_EQ(shown.size(), 3);
        EXPECT_TRUE(shown[0]->text().endsWith(u"・#00FF00")) << qPrintable(shown[0]->text());
        EXPECT_TRUE(shown[1]->text().endsWith(u"・#FF0000"));
        EXPECT_TRUE(shown[2]->text().endsWith(u"・#FF0000"));
        // The first red entry, recorded before the swatch was added.
        menu->setActiveAction(shown[2]);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    p.h.window().activateWindow();
    QTest::keyClick(&p.h.window(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->isVisible(); }, 5000));

    EXPECT_EQ(p.current(), QStringLiteral("ff0000"));
    EXPECT_EQ(p.stored(), (QList<QString> { "111111", "222222" }));
    EXPECT_EQ(p.column().swatchCount(), 2);
    std::optional<HistoryEntry> restored = p.newestEntry();
    ASSERT_TRUE(restored);
    EXPECT_EQ(SwatchProgram::codes({ restored->last }), QList<QString> { "ff0000" }) << "the restore is recorded";
    EXPECT_EQ(p.store().historyForDateObjects(DayFormat::dayString(QDate::currentDate())).size(), 4);

    // The same menu sits in the tray's menu.
    bool inTray = false;
    for (QAction* action : p.h.app().tray().statusMenu()->actions())
        inTray |= action->menu() == menu;
    EXPECT_TRUE(inTray);
}

TEST(HistoryFlow, AStoreThatCannotOpenIsExplainedBeforeTheProgramEnds)
{
    SwatchProgram p;
    // A file where the support folder should be.
    const QString folder = Paths::applicationSupportFolder();
    QDir().mkpath(QFileInfo(folder).path());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QString message, reason;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        message = box->text();
        reason = box->informativeText();
        box->accept();
    });
    p.start({ "111111" });
    EXPECT_EQ(message, QStringLiteral("Failed to initialize the application's saved data"));
    EXPECT_EQ(reason, QStringLiteral("Expected a folder to store application data, found a file (%1).\n\n"
                                     "History store: %1/Palettes.storedata")
                          .arg(folder));
    EXPECT_EQ(p.h.terminations, 1);
    EXPECT_FALSE(p.h.window().isVisible()) << "no window for a program that is ending";
}

TEST(HistoryFlow, ADamagedStoreIsSetAsideAndTheUserToldWhere)
{
    SwatchProgram p;
    const QString folder = Paths::applicationSupportFolder();
    QDir().mkpath(folder);
    QFile damaged(folder + "/Palettes.storedata");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();

    QString message, reason;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        message = box->text();
        reason = box->informativeText();
        box->accept();
    });
    p.start({ "111111" });
    EXPECT_EQ(message, "The history store was damaged. Huelark has started a new, empty history.");
    const QStringList kept = QDir(folder).entryList({ "Palettes-damaged-*.storedata" });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(reason.contains(folder + '/' + kept[0])) << reason.toStdString();
    EXPECT_EQ(p.h.terminations, 0);
    EXPECT_TRUE(p.h.window().isVisible());
    EXPECT_TRUE(p.store().isOpen());
}

} // namespace
