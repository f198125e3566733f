#pragma once

#include <QWidget>

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
class NamesPreferencesViewController : public QWidget
{
    Q_OBJECT

public:
    NamesPreferencesViewController(NamesDatabaseUpdater& updater, UserDefaults& defaults, QWidget* parent = nullptr);

    // The pane's name among the preferences, and its label.
    static QString identifier();
    static QString toolbarItemLabel();

    // The pane is about to be shown: the status line shows the last update,
    // unless one is running.
    void viewWillAppear();

    QProgressBar* createDBIndicator = nullptr;
    QPushButton* downloadButton = nullptr;
    QLabel* urlView = nullptr;
    QLabel* updatedLabel = nullptr;
    QLabel* namesCount = nullptr;
    QLabel* namesVersion = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void bind();
    void applyColors();
    void updateButton();
    void updateVersion();
    void updateLink();
    void openGitHubRepo();

    NamesDatabaseUpdater& updater;
    UserDefaults& defaults;
    bool applyingColors = false;
};
