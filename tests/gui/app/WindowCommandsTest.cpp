#include "AppHarness.h"

#include "names/AutoCompleteTextField.h"

#include <QDesktopServices>
#include <QSystemTrayIcon>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

struct FakePreferences final : PreferencesWindow
{
    int opens = 0;
    bool available() const override { return true; }
    bool isVisible() const override { return opens > 0; }
    void openPreferencesWindow() override { ++opens; }
    void raise() override {}
};

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
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), "huelark@quillfen.com");
    EXPECT_EQ(QUrlQuery(mail).queryItemValue("subject", QUrl::FullyDecoded), "Huelark feedback v9.8.7");
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
    h.window().nameField()->repaint();
    const QColor selection = h.window().nameField()->palette().color(QPalette::Inactive, QPalette::Highlight);
    QApplication::setPalette(before);
    EXPECT_EQ(selection, QColor(0x46, 0x46, 0x46)) << "a dark theme's muted selection";
    QColor opaque;
    for (int i = 0; i < icon.width() * icon.height() && !opaque.isValid(); ++i) {
        if (icon.pixelColor(i % icon.width(), i / icon.width()).alpha() == 255)
            opaque = icon.pixelColor(i % icon.width(), i / icon.width());
    }
    EXPECT_EQ(opaque, QColor(0xe6, 0xe6, 0xea));
}

// The login item and the global shortcut follow their settings; the
// shortcut toggles the window with the colour panel.
TEST(WindowCommands, PartsFollowTheirSettings)
{
    AppHarness h;
    h.settings().setBool(true, "loginStart");
    auto* prefs = new FakePreferences;
    auto* shortcuts = new FakeShortcuts;
    auto* login = new FakeLogin;
    h.start([&](AppParts& p) {
        p.preferences.reset(prefs);
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
    EXPECT_EQ(prefs->opens, 1);
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
    h.trayAvailable = true;
    h.app().tray().checkTray();
    EXPECT_TRUE(h.app().tray().isShown());
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

} // namespace

#include "WindowCommandsTest.moc"
