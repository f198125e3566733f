#include "TrayIcon.h"

#include "app/WindowCommands.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

TrayIcon::TrayIcon(const WindowCommands& commands, std::function<bool()> trayProbe, QObject* parent)
    : QObject(parent)
    , probe(std::move(trayProbe))
    , available(probe && probe())
    , menu(std::make_unique<QMenu>())
{
    using C = WindowCommand;
    menu->addAction(commands.action(C::OpenWindow));
    commandsEnd = menu->addSeparator();
    menu->addActions({ commands.action(C::Preferences), commands.action(C::NamesPreferences),
                       commands.action(C::About) });
    QMenu* help = menu->addMenu(tr("Help"));
    help->addActions({ commands.action(C::Feedback), commands.action(C::Support), commands.action(C::News),
                       commands.action(C::NamesRepository) });
    menu->addSeparator();
    menu->addAction(commands.action(C::QuitFromTray));
    connect(menu.get(), &QMenu::aboutToShow, this, &TrayIcon::menuAboutToShow);

    // Slow on purpose: asking costs a round trip to the display, and a tray
    // that turns up a few seconds late is still found.
    watch = new QTimer(this);
    watch->setInterval(3000);
    connect(watch, &QTimer::timeout, this, &TrayIcon::checkTray);
    watch->start();
}

TrayIcon::~TrayIcon() { delete statusItem; }

void TrayIcon::checkTray()
{
    const bool now = probe && probe();
    if (now == available)
        return;
    available = now;
    if (available && wanted)
        createItem();
    if (!available) {
        // The tray went away with our item in it; Qt's item would not come
        // back by itself when a new tray starts.
        delete statusItem;
        statusItem = nullptr;
    }
    Q_EMIT trayAvailabilityChanged(available);
}

void TrayIcon::showMenuBarItem(bool show)
{
    wanted = show;
    if (show && available) {
        createItem();
    } else if (!show && statusItem) {
        statusItem->hide();
        delete statusItem;
        statusItem = nullptr;
    }
}

void TrayIcon::createItem()
{
    if (statusItem)
        return;
    statusItem = new QSystemTrayIcon(QIcon(QStringLiteral(":/menu")), this);
    statusItem->setToolTip(QStringLiteral("Huelark"));
    statusItem->setContextMenu(menu.get());
    connect(statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A double click arrives as a click and then a double click: one
        // toggle for both, or the window would open and close again.
        if (reason == QSystemTrayIcon::Trigger)
            Q_EMIT activated();
    });
    statusItem->show();
}

void TrayIcon::addCommand(QAction* action) { menu->insertAction(commandsEnd, action); }

void TrayIcon::showMessage(const QString& text)
{
    if (statusItem)
        statusItem->showMessage(QStringLiteral("Huelark"), text);
}
