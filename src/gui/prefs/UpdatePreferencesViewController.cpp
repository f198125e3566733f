#include "UpdatePreferencesViewController.h"

#include "prefs/DefaultsSwitch.h"
#include "settings/UserDefaults.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

UpdatePreferencesViewController::UpdatePreferencesViewController(UserDefaults& defaults, QWidget* parent)
    : PreferencesPane(parent)
{
    auto* packages = new QLabel(tr("Your distribution's package manager keeps Huelark up to date, together with "
                                   "the rest of your system. Huelark never replaces itself."),
                                this);
    packages->setWordWrap(true);
    addCaption(tr("Updates"));
    addRow(packages);
    versionLabel = new QLabel(tr("Huelark %1").arg(QStringLiteral(HUELARK_VERSION)), this);
    versionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addCaption(tr("Running"));
    addRow(versionLabel);
    addSpace();

    addCaption(tr("Automatic"));
    checksSwitch = addSwitch(defaults, automaticallyChecksForUpdates, tr("Check for updates automatically"));
    downloadsSwitch = addSwitch(defaults, automaticallyDownloadsUpdates, tr("Download and install them"));
    intervalPicker = new QComboBox(this);
    intervalPicker->setObjectName(updateCheckInterval);
    intervalPicker->setAccessibleName(tr("How often to check"));
    intervalPicker->addItem(tr("Daily"), 86400);
    intervalPicker->addItem(tr("Weekly"), 604800);
    intervalPicker->addItem(tr("Monthly"), 2629800);
    const qint64 stored = defaults.integerForKey(updateCheckInterval);
    intervalPicker->setCurrentIndex(std::max(0, intervalPicker->findData(stored > 0 ? stored : 86400)));
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(intervalPicker);
    intervalRow->addStretch(1);
    addRow(intervalRow);
    addRow(explanation(tr("Kept for builds that update themselves; not used by this one.")));
    for (QWidget* control : std::initializer_list<QWidget*> { checksSwitch, downloadsSwitch, intervalPicker })
        control->setEnabled(false);
}

QIcon UpdatePreferencesViewController::toolbarItemImage() const
{
    return themeIcon(QStringLiteral("system-software-update"), QStyle::SP_BrowserReload);
}
