#pragma once

#include "prefs/PreferencesPane.h"

class QLabel;
class QPushButton;

// Huelark's name and version, the work it is built on with links to each,
// and the maker's site.
class AboutPreferencesViewController final : public PreferencesPane
{
    Q_OBJECT

public:
    explicit AboutPreferencesViewController(QWidget* parent = nullptr);

    QString identifier() const override;
    QString toolbarItemLabel() const override { return tr("About"); }
    QIcon toolbarItemImage() const override;

    QLabel* versionLabel = nullptr;
    QLabel* credits = nullptr;
    QPushButton* siteButton = nullptr;

protected:
    void applyColors() override;

private:
    void showCredits();
};
