#include "AppHarness.h"

#include "app/WindowFrameAutosave.h"
#include "names/AutoCompleteTextField.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

namespace {

struct FakeShortcuts final : ShortcutBinder
{
    QString bound;
    std::function<void()> action;
    void bindShortcut(const QString& key, std::function<void()> a) override
    {
        bound = key;
        action = std::move(a);
    }
    void unbindShortcut(const QString&) override
    {
        bound.clear();
        action = nullptr;
    }
};

struct FakeLogin final : LoginItem
{
    int updates = 0;
    void updateLogin() override { ++updates; }
};

// Catches what the program hands to the desktop to open.
class LinkCatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* schemes[] = { "mailto", "https", "http" };
    LinkCatcher()
    {
        for (const char* scheme : schemes)
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~LinkCatcher() override
    {
        for (const char* scheme : schemes)
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

// The program as it comes, without the optional parts, whose commands are
// off. One toggle of the tray item per click, a double click included; the
// window flags follow their settings at once without hiding the window. A
// mid-grey theme with light text is a dark one.
TEST(WindowCommands, LinksTheTrayItemWindowFlagsAndTheThemeWithoutOptionalParts)
{
    AppHarness h;
    h.start();
    EXPECT_FALSE(h.app().commands().action(WindowCommand::Preferences)->isEnabled());
    EXPECT_FALSE(h.window().openPrefsButton->isEnabled());
    EXPECT_FALSE(h.app().commands().action(WindowCommand::NamesPreferences)->isEnabled()) << "fake names come without preferences";

    LinkCatcher links;
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    for (const WindowCommand link : { WindowCommand::Feedback, WindowCommand::Support, WindowCommand::News })
        h.app().commands().action(link)->trigger();
    QCoreApplication::setApplicationVersion(version);
    ASSERT_EQ(links.opened.size(), 3);
    const QUrl mail = links.opened[0];
    EXPECT_TRUE(mail.toEncoded().contains("Huelark%20feedback%20v9.8.7")) << mail.toEncoded().toStdString();

    // The names project's page comes from a setting: only a web address is offered.
    h.settings().setString("javascript:alert(1)", "namesGitHubRepo");
    Q_EMIT h.app().tray().statusMenu()->aboutToShow();
    EXPECT_FALSE(h.app().commands().action(WindowCommand::NamesRepository)->isEnabled());

    auto* item = h.app().tray().findChild<QSystemTrayIcon*>();
    ASSERT_TRUE(item);
    Q_EMIT item->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(h.window().isVisible());
    Q_EMIT item->activated(QSystemTrayIcon::Trigger);
    Q_EMIT item->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(h.window().isVisible());
    Q_EMIT item->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(h.window().isVisible()) << "the menu alone changes nothing";
    h.window().showMinimized();
    Q_EMIT item->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(h.window().isMinimized()) << "a minimized window is out of sight: a click brings it back";
    EXPECT_TRUE(h.window().isVisible());

    const struct { const char* key; Qt::WindowType flag; } rows[] = {
        { "hideDock", Qt::Tool }, // out of the taskbar
        { "floatAboveOtherApps", Qt::WindowStaysOnTopHint },
    };
    for (const auto& row : rows) {
        for (const bool on : { true, false }) {
            h.settings().setBool(on, row.key);
            EXPECT_EQ(h.window().windowFlags().testFlag(row.flag), on) << row.key;
            EXPECT_TRUE(h.window().isVisible()) << row.key;
        }
    }

    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xea));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    const QImage icon = h.window().generatorButton->icon().pixmap(QSize(18, 18)).toImage();
    QApplication::setPalette(before);
    QColor opaque;
    for (int i = 0; i < icon.width() * icon.height() && !opaque.isValid(); ++i) {
        if (icon.pixelColor(i % icon.width(), i / icon.width()).alpha() == 255)
            opaque = icon.pixelColor(i % icon.width(), i / icon.width());
    }
    EXPECT_EQ(opaque, QColor(0xe6, 0xe6, 0xea)) << "the footer's icons follow the theme";
}

// The login item and the global shortcut follow their settings; the
// shortcut toggles the window with the colour panel.
TEST(WindowCommands, PartsFollowTheirSettings)
{
    AppHarness h;
    h.settings().setBool(true, "loginStart");
    auto* shortcuts = new FakeShortcuts;
    auto* login = new FakeLogin;
    h.start([&](AppParts& p) {
        p.buildPreferences(h.settings(), h.registry(), h.notifications());
        p.shortcuts.reset(shortcuts);
        p.login.reset(login);
    });
    EXPECT_EQ(login->updates, 1) << "loginStart on at start";
    h.settings().setBool(false, "loginStart");
    EXPECT_EQ(login->updates, 2);

    EXPECT_TRUE(shortcuts->bound.isEmpty()) << "off by default";
    h.settings().setBool(true, "toggleShortcutKey");
    ASSERT_EQ(shortcuts->bound, "shortcutKey");
    shortcuts->action();
    EXPECT_FALSE(h.window().isVisible());
    EXPECT_FALSE(h.app().colorPanel().isVisible()) << "closing the window closes the panel";
    EXPECT_EQ(h.terminations, 0);
    shortcuts->action();
    EXPECT_TRUE(h.window().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.app().colorPanel().isVisible(); })) << "the panel opens with the window";
    h.settings().setBool(false, "toggleShortcutKey");
    EXPECT_TRUE(shortcuts->bound.isEmpty());

    QTest::mouseClick(h.window().openPrefsButton, Qt::LeftButton);
    EXPECT_TRUE(h.app().appParts().preferences->isVisible());
}

// A tray that starts after Huelark, or goes away, takes the taskbar entry
// with it; the window is never lost between the two.
TEST(WindowCommands, TheTrayItemAndTheTaskbarEntryFollowATrayThatComesAndGoes)
{
    AppHarness h(HarnessSetup { .trayAvailable = false, .launchedAtLogin = true });
    h.settings().setBool(true, "hideDock");
    h.start();
    EXPECT_FALSE(h.app().tray().isShown());
    EXPECT_TRUE(h.window().isMinimized()) << "a hidden start without a tray waits in the taskbar";
    EXPECT_FALSE(h.window().windowFlags().testFlag(Qt::Tool));
    h.app().applicationShouldHandleReopen(); // starting Huelark again brings it up
    EXPECT_FALSE(h.window().isMinimized());
    h.trayAvailable = true; // the tray's watch finds it
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.app().tray().isShown(); }, 10000));
    EXPECT_TRUE(h.window().windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(h.window().isVisible());
    h.app().quit(); // hides behind the tray item
    ASSERT_FALSE(h.window().isVisible());
    h.trayAvailable = false;
    h.app().tray().checkTray();
    EXPECT_FALSE(h.app().tray().isShown());
    EXPECT_FALSE(h.window().windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(h.window().isMinimized()) << "hidden behind a tray that went away, it waits in the taskbar";
    EXPECT_EQ(h.terminations, 0);

    // The user turns the tray item off: the taskbar entry comes back.
    h.trayAvailable = true;
    h.app().tray().checkTray();
    ASSERT_TRUE(h.window().windowFlags().testFlag(Qt::Tool));
    h.settings().setBool(false, "showInMenu");
    EXPECT_FALSE(h.app().tray().isShown());
    EXPECT_FALSE(h.settings().boolForKey("hideDock"));
    EXPECT_FALSE(h.window().windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(h.window().isVisible());
}

std::array<int, 3> storedColour(const UserDefaults& defaults)
{
    const ColorSpaceRegistry spaces;
    const std::optional<Color> color = ColorArchive::unarchive(defaults.dataForKey("color_last"), spaces);
    return color ? color->integerComponents() : std::array<int, 3> { -1, -1, -1 };
}

// Every way out keeps the colour and the frame; the program ends unless a
// tray item is left to come back through.
TEST(LifeCycle, ShutDownPaths)
{
    enum How { close, quit, trayQuit };
    const struct { How how; bool hideDock; bool tray; bool ends; } rows[] = {
        { quit, false, true, true },
        { quit, true, true, false }, // hidden behind the tray item
        { quit, true, false, true }, // no tray item to hide behind
        { trayQuit, true, true, true }, // the tray's quit always ends
        { close, false, true, false }, // closing leaves the tray item
        { close, false, false, true }, // closing without a tray item ends too
    };
    for (const auto& row : rows) {
        AppHarness h(HarnessSetup { .trayAvailable = row.tray });
        h.settings().setBool(row.hideDock, "hideDock");
        h.start();
        h.type(h.fields().hexField, "abcdef");
        if (row.how == trayQuit)
            h.app().commands().action(WindowCommand::QuitFromTray)->trigger();
        else if (row.how == quit)
            h.app().quit();
        else
            h.window().close();
        const std::string what = "how " + std::to_string(row.how) + " hideDock " + std::to_string(row.hideDock)
            + " tray " + std::to_string(row.tray);
        EXPECT_EQ(h.terminations, row.ends ? 1 : 0) << what;
        const auto stored = h.reopenedSettings();
        EXPECT_EQ(storedColour(*stored), (std::array<int, 3> { 0xab, 0xcd, 0xef })) << what;
        EXPECT_FALSE(stored->dataForKey("Window Frame Huelark").isEmpty()) << what;
        if (!row.ends) {
            EXPECT_FALSE(h.window().isVisible()) << what;
            EXPECT_TRUE(h.app().tray().isShown()) << what;
            EXPECT_EQ(h.nameCacheFrees, 1) << what;
            h.app().toggleWindow();
            EXPECT_TRUE(h.window().isVisible()) << what;
        }
    }
}

// A start restores the stored colour (the default when it is unreadable) and
// records nothing; a hidden start must not move the frame it never showed.
TEST(LifeCycle, StartsRestoreTheColourAndTheFrameAndRecordNothing)
{
    AppHarness h;
    h.start();
    h.settle();
    EXPECT_TRUE(h.recorded().isEmpty());
    const QRect frame(120, 90, 613, 447);
    h.window().setGeometry(frame);
    QCoreApplication::processEvents();
    const auto stored = [&] { return h.reopenedSettings()->dataForKey("Window Frame Huelark"); };
    h.app().frameAutosave().flush(); // the window has been still for a moment
    ASSERT_FALSE(stored().isEmpty()) << "saved once the window is still";
    h.type(h.fields().hexField, "c0ffee");
    h.app().quitFromSysMenu();
    const QByteArray saved = stored();

    h.settings().setBool(true, "hideOnLaunch");
    h.settings().synchronize();
    const QList<AppHarness::Code> before = h.recorded();
    h.restart(HarnessSetup { .launchedAtLogin = true });
    EXPECT_FALSE(h.window().isVisible()) << "hidden at a start at login";
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 0xc0, 0xff, 0xee }));
    h.settle();
    EXPECT_EQ(h.recorded(), before) << "a restored colour is not a new history entry";
    h.app().quitFromSysMenu();
    EXPECT_EQ(stored(), saved) << "a window that was never shown keeps the frame it had";

    h.settings().setData("not a colour", "color_last");
    h.settings().synchronize();
    h.restart(HarnessSetup {});
    EXPECT_EQ(h.window().geometry(), frame);
    EXPECT_EQ(h.wellRGB(), (std::array<int, 3> { 154, 162, 248 }));
}

TEST(LifeCycle, AClosedColourPanelStaysClosedUntilTheUserMovesToAField)
{
    AppHarness h;
    h.start();
    ColorPanel& panel = h.app().colorPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.isVisible(); })) << "the panel opens with the window";
    QApplication::setActiveWindow(&h.window());
    EXPECT_EQ(QApplication::focusWidget(), h.fields().hexField) << "a stray key must not land in the name field";
    panel.dialog()->close();
    // The window becomes active again, after a visit to another window.
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QApplication::setActiveWindow(&h.window());
    ASSERT_EQ(QApplication::focusWidget(), h.fields().hexField);
    EXPECT_FALSE(panel.isVisible());
    QTest::keyClick(h.fields().hexField, Qt::Key_Tab);
    EXPECT_TRUE(panel.isVisible()) << "the keyboard moved to another field";
    EXPECT_EQ(panel.activeWell(), h.window().mainSwatchWell);
    panel.dialog()->setCurrentColor(QColor(0, 128, 255));
    EXPECT_EQ(h.fields().hexField->text(), "#0080FF");
    h.type(h.fields().rField, "16");
    EXPECT_EQ(panel.dialog()->currentColor(), QColor(16, 128, 255)) << "and follows changes made in the window";
    panel.dialog()->close();
    QTest::mouseClick(QApplication::focusWidget(), Qt::LeftButton);
    EXPECT_TRUE(panel.isVisible()) << "a click into the field that has the focus";
}

TEST(LifeCycle, ThePanelGoesBesideTheWindowOnceTheWindowIsPlaced)
{
    TempHome home;
    ColorPanel panel;
    QWidget window;
    window.resize(200, 150);
    window.show(); // not on the screen until the window manager has placed it
    panel.orderFront(&window);
    window.move(20, 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.isVisible(); }));
    EXPECT_FALSE(panel.dialog()->frameGeometry().intersects(window.frameGeometry()));
    EXPECT_EQ(panel.dialog()->y(), window.frameGeometry().top());
}

} // namespace

#include "WindowCommandsTest.moc"

