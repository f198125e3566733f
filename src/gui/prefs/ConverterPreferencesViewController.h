#pragma once

#include "prefs/PreferencesPane.h"

class UserDefaults;

// How the notations are written: hexadecimal case and "#", units, and the
// syntax of the code row.
class ConverterPreferencesViewController final : public PreferencesPane
{
    Q_OBJECT

public:
    explicit ConverterPreferencesViewController(UserDefaults& defaults, QWidget* parent = nullptr);

    QString identifier() const override { return QStringLiteral("ConverterPreferences_en"); }
    QString toolbarItemLabel() const override { return tr("Converter"); }
    QIcon toolbarItemImage() const override;
};
