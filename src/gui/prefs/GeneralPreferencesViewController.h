#pragma once

#include "prefs/PreferencesPane.h"
#include "prefs/PreferencesParts.h"

class QComboBox;

// The global shortcut, the colour spaces, start at login and how the
// program shows itself on the desktop.
class GeneralPreferencesViewController final : public PreferencesPane
{
    Q_OBJECT

public:
    explicit GeneralPreferencesViewController(const PreferencesParts& parts, QWidget* parent = nullptr);

    QString identifier() const override { return QStringLiteral("GeneralPreferences_en"); }
    QString toolbarItemLabel() const override { return tr("General"); }
    QIcon toolbarItemImage() const override;

    // Stores the chosen space of the picker that sent it.
    void changeColorSpace(QComboBox* sender);

    QWidget* shortcutRecorder = nullptr;
    QComboBox* colorSpacePicker = nullptr;
    QComboBox* cmykColorSpacePicker = nullptr;

private:
    void fillColorSpacePickers();

    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
};
