#include "TempHome.h"

#include "settings/UserDefaults.h"
#include "shortcut/ShortcutView.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const QString key = QStringLiteral("shortcutKey");

std::optional<Shortcut> stored(const UserDefaults& defaults) { return Shortcut::unarchive(defaults.objectForKey(key)); }

// The key rules, through a real recorder in a window with commands of its own.
TEST(ShortcutView, RecordsKeepsClearsAndLetsKeysPassAsTheRulesSay)
{
    TempHome home;
    UserDefaults defaults;
    QWidget window;
    auto* view = new ShortcutView(&window);
    view->setAssociatedUserDefaultsKey(defaults, key);
    auto* next = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(view);
    layout->addWidget(next);
    auto* closeCommand = new QAction(QStringLiteral("Close"), &window);
    closeCommand->setShortcut(Qt::CTRL | Qt::Key_W);
    auto* newCommand = new QAction(QStringLiteral("&New Palette"), &window);
    newCommand->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_N);
    window.addActions({ closeCommand, newCommand });
    int closes = 0;
    QObject::connect(closeCommand, &QAction::triggered, &window, [&] { ++closes; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    EXPECT_EQ(view->title(), "Record Shortcut");
    QTest::mouseClick(view, Qt::LeftButton);
    ASSERT_TRUE(view->recording());
    EXPECT_EQ(view->title(), "Type Shortcut");

    QTest::keyPress(view, Qt::Key_Alt, Qt::ControlModifier);
    EXPECT_EQ(view->title(), "Ctrl+Alt+") << "held modifiers are the placeholder";
    QTest::keyClick(view, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_TRUE(view->recording()) << "Shift+A is refused and recording goes on";
    EXPECT_FALSE(view->shortcutValue());

    QString alertText;
    QTimer::singleShot(0, &window, [&] {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(alert);
        alertText = alert->text() + u'|' + alert->informativeText();
        alert->accept();
    });
    QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(alertText, "The key combination Ctrl+Shift+N cannot be used|This shortcut cannot be used because it is "
                         "already used by the menu item ‘New Palette’.");
    EXPECT_TRUE(view->recording());
    EXPECT_EQ(view->title(), "Type Shortcut");
    // A window manager gives the focus back after the alert; the offscreen
    // platform has none.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(view->recording());

    QTest::keyClick(view, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    const Shortcut ctrlAltK(Qt::Key_K, Shortcut::command | Shortcut::option);
    EXPECT_FALSE(view->recording());
    EXPECT_EQ(view->shortcutValue(), ctrlAltK);
    EXPECT_EQ(stored(defaults), ctrlAltK);
    EXPECT_EQ(view->title(), "Ctrl+Alt+K");
    EXPECT_NE(view->toolTipAt(view->hintRect().center()), view->toolTipAt(QPoint(5, 5))) << "the cross tells what it does";

    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(view->title(), "Type New Shortcut");
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->recording());
    EXPECT_EQ(stored(defaults), ctrlAltK) << "Escape keeps the old shortcut";

    view->setRecording(true);
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus()) << "Tab moves the focus on";
    QTest::keyClick(view, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(view->recording());
    EXPECT_EQ(closes, 1) << "Ctrl+W still closes";
    EXPECT_EQ(view->shortcutValue(), ctrlAltK);

    view->setRecording(true);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_FALSE(view->recording());
    EXPECT_FALSE(view->shortcutValue());
    EXPECT_FALSE(defaults.hasUserValue(key)) << "Delete removes the stored shortcut";

    // A stored change shows; one recorder records at a time; a window that
    // loses the focus stops recording.
    defaults.setObject(Shortcut(Qt::Key_F5, 0).archive(), key);
    EXPECT_EQ(view->title(), "F5");
    ShortcutView other(&window);
    view->setRecording(true);
    other.setRecording(true);
    EXPECT_FALSE(view->recording());
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_FALSE(other.recording());
    other.show();
    other.setRecording(true);
    other.hide();
    EXPECT_FALSE(other.recording()) << "a recorder hidden by another pane stops";
}

} // namespace
