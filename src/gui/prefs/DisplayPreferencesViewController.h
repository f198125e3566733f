#pragma once

#include "prefs/PreferencesPane.h"

class UserDefaults;

// Which rows the main window shows, and the tool window's drop area.
class DisplayPreferencesViewController final : public PreferencesPane
{
    Q_OBJECT

public:
    explicit DisplayPreferencesViewController(UserDefaults& defaults, QWidget* parent = nullptr);

    QString identifier() const override { return QStringLiteral("DisplayPreferences_en"); }
    QString toolbarItemLabel() const override { return tr("Display"); }
    QIcon toolbarItemImage() const override;
};
