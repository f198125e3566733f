#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/SessionEnd.h"
#include "colour/ColorSpaceRegistry.h"
#include "history/HistoryStore.h"
#include "names/DatabaseNameLookup.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSystemTrayIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Huelark"));
    QApplication::setApplicationVersion(QStringLiteral(HUELARK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.quillfen.Huelark"));
    // The program lives on in the tray while its window is closed.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Huelark keeps one colour and shows it in every notation."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption atLogin(QStringLiteral("at-login"),
                                     QStringLiteral("Started at login: keep the window closed when \"hideOnLaunch\" is on."));
    parser.addOption(atLogin);
    // For a shortcut set in the desktop's settings, where the program may
    // not grab keys itself.
    const QCommandLineOption toggle(QStringLiteral("toggle"), QStringLiteral("Show or hide the running Huelark's window."));
    const QCommandLineOption show(QStringLiteral("show"), QStringLiteral("Show the running Huelark's window."));
    const QCommandLineOption hide(QStringLiteral("hide"), QStringLiteral("Hide the running Huelark's window."));
    parser.addOptions({ toggle, show, hide });
    parser.process(app);

    auto command = parser.isSet(atLogin) ? SingleInstance::Command::Nothing : SingleInstance::Command::OpenWindow;
    if (parser.isSet(toggle))
        command = SingleInstance::Command::Toggle;
    else if (parser.isSet(show))
        command = SingleInstance::Command::Show;
    else if (parser.isSet(hide))
        command = SingleInstance::Command::Hide;
    SingleInstance instance;
    if (instance.claim(command) == SingleInstance::Claim::AlreadyRunning)
        return 0;
    // Nothing runs that could be hidden; any other command starts the program shown.
    if (command == SingleInstance::Command::Hide)
        return 0;

    UserDefaults defaults;
    AppDelegate::initialize(defaults);
    const ColorSpaceRegistry spaces;

    AppDelegate::Options options;
    options.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    options.launchedAtLogin = parser.isSet(atLogin);
    AppParts parts;
    auto names = std::make_unique<DatabaseNameLookup>(defaults);
    // Reading the names takes about as long as building the window: they
    // load once it is shown, and name the colour when they arrive.
    names->loadInBackgroundAtStart();
    parts.buildStores(defaults, spaces, *names);
    parts.names = std::move(names);
    parts.buildPalettes(defaults, spaces);
    parts.buildTools(defaults, spaces, NotificationCenter::defaultCenter());
    parts.buildPreferences(defaults, spaces, NotificationCenter::defaultCenter());
    parts.buildLogin(defaults, QCoreApplication::applicationDirPath());
    parts.buildShortcuts(defaults);
    AppDelegate delegate(defaults, spaces, NotificationCenter::defaultCenter(), std::move(parts), std::move(options));
    QObject::connect(&instance, &SingleInstance::openWindowRequested, &delegate, &AppDelegate::applicationShouldHandleReopen);
    QObject::connect(&instance, &SingleInstance::toggleRequested, &delegate, &AppDelegate::toggleWindow);
    QObject::connect(&instance, &SingleInstance::showRequested, &delegate, &AppDelegate::openWindow);
    QObject::connect(&instance, &SingleInstance::hideRequested, &delegate, [&delegate] {
        // As the shortcut hides it: closing saves what closing saves.
        if (delegate.window().isVisible())
            delegate.toggleWindow();
    });
    // A logout or `kill` ends the program as its quit command does.
    SessionEnd session;
    QObject::connect(&session, &SessionEnd::quitRequested, &delegate, &AppDelegate::quitFromSysMenu);
    QObject::connect(&session, &SessionEnd::saveRequested, &delegate, &AppDelegate::saveState);
    delegate.launch();
    return app.exec();
}
