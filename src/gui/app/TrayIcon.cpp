#include "TrayIcon.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(bool trayAvailable, QObject* parent)
    : QObject(parent)
    , available(trayAvailable)
    , menu(std::make_unique<QMenu>())
{
    openAction = menu->addAction(tr("Open Huelark"));
    connect(openAction, &QAction::triggered, this, &TrayIcon::openWindowRequested);
    commandsEnd = menu->addSeparator();
    preferencesAction = menu->addAction(tr("Preferences…"));
    connect(preferencesAction, &QAction::triggered, this, &TrayIcon::preferencesRequested);
    namesPreferencesAction = menu->addAction(tr("Colour Names…"));
    connect(namesPreferencesAction, &QAction::triggered, this, &TrayIcon::namesPreferencesRequested);
    aboutAction = menu->addAction(tr("About Huelark"));
    connect(aboutAction, &QAction::triggered, this, &TrayIcon::aboutRequested);
    QMenu* help = menu->addMenu(tr("Help"));
    feedbackAction = help->addAction(tr("Send Feedback…"));
    connect(feedbackAction, &QAction::triggered, this, &TrayIcon::feedbackRequested);
    supportAction = help->addAction(tr("Support"));
    connect(supportAction, &QAction::triggered, this, &TrayIcon::supportRequested);
    newsAction = help->addAction(tr("Huelark News"));
    connect(newsAction, &QAction::triggered, this, &TrayIcon::newsRequested);
    namesRepositoryAction = help->addAction(tr("Colour Names Project"));
    connect(namesRepositoryAction, &QAction::triggered, this, &TrayIcon::namesRepositoryRequested);
    menu->addSeparator();
    quitAction = menu->addAction(tr("Quit Huelark"));
    connect(quitAction, &QAction::triggered, this, &TrayIcon::quitRequested);
    connect(menu.get(), &QMenu::aboutToShow, this, &TrayIcon::menuAboutToShow);
}

TrayIcon::~TrayIcon() { delete statusItem; }

void TrayIcon::showMenuBarItem(bool show)
{
    if (show) {
        if (statusItem || !available)
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
    } else if (statusItem) {
        statusItem->hide();
        delete statusItem;
        statusItem = nullptr;
    }
}

void TrayIcon::addCommand(QAction* action) { menu->insertAction(commandsEnd, action); }
