#pragma once

#include "prefs/PreferencesPane.h"

class NamesDatabaseUpdater;
class QLabel;
class QProgressBar;
class QPushButton;
class UserDefaults;

// The Names preferences: how many names the database holds, which release
// of the colour-names dataset they are, the status of the last or current
// update, the one button that starts or cancels an update, and a link to
// the dataset's project. Everything shown is the updater's; the pane only
// binds to it.
class NamesPreferencesViewController final : public PreferencesPane
{
    Q_OBJECT

public:
    NamesPreferencesViewController(NamesDatabaseUpdater& updater, UserDefaults& defaults, QWidget* parent = nullptr);

    QString identifier() const override;
    QString toolbarItemLabel() const override;
    QIcon toolbarItemImage() const override;

    // The pane is about to be shown: the status line shows the last update,
    // unless one is running.
    void viewWillAppear() override;

    QProgressBar* createDBIndicator = nullptr;
    QPushButton* downloadButton = nullptr;
    QLabel* urlView = nullptr;
    QLabel* updatedLabel = nullptr;
    QLabel* namesCount = nullptr;
    QLabel* namesVersion = nullptr;

protected:
    void applyColors() override;

private:
    void bind();
    void updateButton();
    void updateVersion();
    void updateLink();
    void openGitHubRepo();

    NamesDatabaseUpdater& updater;
    UserDefaults& defaults;
};
