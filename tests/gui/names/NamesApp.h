#pragma once

#include "../app/AppHarness.h"
#include "QtPrinters.h"

#include "names/AutoCompletePopover.h"
#include "names/AutoCompleteTextField.h"
#include "names/DatabaseNameLookup.h"
#include "names/NamesDatabaseBuilder.h"
#include "prefs/LazyPreferencesWindow.h"
#include "prefs/NamesPreferencesViewController.h"
#include "prefs/PreferencesWindowController.h"
#include "settings/Paths.h"

#include <QApplication>
#include <QDir>
#include <QListView>
#include <QThreadPool>

#include <gtest/gtest.h>


// Names for the completion field: 25 that contain "gre" and sort in number
// order, three that contain "ark", names with and without accents, and the
// window's default colour.
inline QByteArray completionCSV()
{
    QByteArray csv = "name,hex\nRed,#ff0000\nDark Red,#8b0000\nBlue,#0000ff\nBlü Moon,#334455\n"
                     "Bluebell,#a2a2d0\nSky Blue,#87ceeb\nDark Slate,#2f4f4f\nArk Brown,#5a3a1a\n"
                     "Periwinkle,#9aa2f8\n";
    for (int i = 1; i <= 25; ++i)
        csv += QStringLiteral("Green %1,#00%2%3\n")
                   .arg(i, 2, 10, QLatin1Char('0'))
                   .arg(40 + 8 * i, 2, 16, QLatin1Char('0'))
                   .arg(i, 2, 16, QLatin1Char('0'))
                   .toUtf8();
    return csv;
}

// The whole program, with its names from a database of its own in the
// temporary home: built from `csv`, or the shipped one when `csv` is empty.
// Started as main() starts it (no turn of the event loop), the names load
// on a worker thread.
class NamesApp
{
public:
    explicit NamesApp(const QByteArray& csv = completionCSV(), HarnessSetup setup = HarnessSetup())
        : h(setup)
    {
        h.start([this, &csv, setup](AppParts& parts) {
            const QString folder = Paths::applicationSupportFolder();
            QString shipped = NamesDatabase::shippedDatabasePath();
            if (!csv.isEmpty()) {
                // Built as an update would build it.
                QDir().mkpath(folder);
                EXPECT_GT(NamesDatabaseBuilder::generateDatabaseFromCSV(NamesDatabaseBuilder::linesFromCSV(csv),
                                                                        folder + QStringLiteral("/ColorNames.db"),
                                                                        ColorSpace::sRGB())
                              .rows,
                          0);
                shipped.clear();
            }
            auto lookup = std::make_unique<DatabaseNameLookup>(h.settings(), folder, shipped);
            if (setup.eventTurnAtStart)
                lookup->cache().setPrepareCompletionsAhead(false);
            else
                lookup->loadInBackgroundAtStart();
            names = lookup.get();
            parts.names = std::move(lookup);
            parts.buildPreferences(h.settings(), h.registry(), h.notifications());
        });
    }

    // A worker still loading must not outlive the home it reads.
    ~NamesApp() { QThreadPool::globalInstance()->waitForDone(); }

    AutoCompleteTextField* field() { return h.window().nameField(); }
    // The preferences window once it has been opened, and its Names pane.
    PreferencesWindowController* preferences()
    {
        auto* lazy = dynamic_cast<LazyPreferencesWindow*>(h.app().appParts().preferences.get());
        return lazy ? lazy->preferencesWindowController() : nullptr;
    }
    NamesPreferencesViewController* namesPane()
    {
        PreferencesWindowController* window = preferences();
        return window ? qobject_cast<NamesPreferencesViewController*>(
                            window->viewControllerForIdentifier(QStringLiteral("NamesPreferences_en")))
                      : nullptr;
    }
    QListView* list() { return field()->autoCompleteTableView; }
    bool popoverShown() { return field()->autoCompletePopover->isVisible(); }
    QString highlighted()
    {
        const QModelIndex current = list()->currentIndex();
        return current.isValid() ? current.data().toString() : QString();
    }

    // The window in front with the name field focused, as after a click.
    void focusNameField()
    {
        h.app().openWindow();
        QApplication::setActiveWindow(&h.window());
        field()->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }

    // Types `text` after clearing the field.
    void typeName(const QString& text)
    {
        field()->selectAll();
        QTest::keyClicks(field(), text);
    }

    AppHarness h;
    DatabaseNameLookup* names = nullptr;
};
