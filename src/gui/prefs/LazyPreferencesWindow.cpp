#include "LazyPreferencesWindow.h"

#include "prefs/AboutPreferencesViewController.h"
#include "prefs/ConverterPreferencesViewController.h"
#include "prefs/DisplayPreferencesViewController.h"
#include "prefs/GeneralPreferencesViewController.h"
#include "prefs/NamesPreferencesViewController.h"
#include "prefs/PreferencesWindowController.h"
#include "prefs/UpdatePreferencesViewController.h"

LazyPreferencesWindow::LazyPreferencesWindow(PreferencesParts preferencesParts)
    : parts(std::move(preferencesParts))
{
}

LazyPreferencesWindow::~LazyPreferencesWindow() = default;

bool LazyPreferencesWindow::isVisible() const
{
    return controller && controller->isVisible();
}

void LazyPreferencesWindow::openPreferencesWindow()
{
    if (!controller) {
        QList<PreferencesPane*> panes { new GeneralPreferencesViewController(parts),
                                        new DisplayPreferencesViewController(parts.defaults) };
        if (NamesDatabaseUpdater* updater = parts.namesUpdater ? parts.namesUpdater() : nullptr)
            panes << new NamesPreferencesViewController(*updater, parts.defaults);
        panes << new ConverterPreferencesViewController(parts.defaults)
              << new UpdatePreferencesViewController(parts.defaults) << new AboutPreferencesViewController;
        controller = std::make_unique<PreferencesWindowController>(parts.defaults, parts.center, panes);
    }
    controller->showAndRaise();
}

void LazyPreferencesWindow::raise()
{
    if (isVisible())
        controller->showAndRaise();
}
