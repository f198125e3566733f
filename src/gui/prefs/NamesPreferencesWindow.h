#pragma once

#include <QDialog>

class NamesDatabaseUpdater;
class NamesPreferencesViewController;
class UserDefaults;

// The Names preferences in a small window of their own. An update goes on
// when the window is closed; opening it again shows where it stands.
class NamesPreferencesWindow : public QDialog
{
    Q_OBJECT

public:
    NamesPreferencesWindow(NamesDatabaseUpdater& updater, UserDefaults& defaults, QWidget* parent = nullptr);

    NamesPreferencesViewController* pane() const { return namesPane; }

    // Shows the window, or brings it to the front when it is open.
    void showAndRaise();

private:
    NamesPreferencesViewController* namesPane = nullptr;
};
