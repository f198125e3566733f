#pragma once

#include "prefs/PreferencesPane.h"

class QCheckBox;
class QComboBox;
class UserDefaults;

// On Linux the distribution's package manager updates Huelark with the rest
// of the system; a program that replaced itself would go behind its back.
// The pane says so and shows the running version. The three update settings
// stay in the settings file, shown but disabled, so that a build that
// updates itself (a bundle outside the package manager) finds them.
class UpdatePreferencesViewController final : public PreferencesPane
{
    Q_OBJECT

public:
    explicit UpdatePreferencesViewController(UserDefaults& defaults, QWidget* parent = nullptr);

    QString identifier() const override { return QStringLiteral("UpdatePreferences_en"); }
    QString toolbarItemLabel() const override { return tr("Updates"); }
    QIcon toolbarItemImage() const override;

    static inline const QString automaticallyChecksForUpdates = QStringLiteral("automaticallyChecksForUpdates");
    static inline const QString automaticallyDownloadsUpdates = QStringLiteral("automaticallyDownloadsUpdates");
    static inline const QString updateCheckInterval = QStringLiteral("updateCheckInterval");

    QLabel* versionLabel = nullptr;
    QCheckBox* checksSwitch = nullptr;
    QCheckBox* downloadsSwitch = nullptr;
    QComboBox* intervalPicker = nullptr;
};
