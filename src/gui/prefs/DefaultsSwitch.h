#pragma once

#include <QCheckBox>

class UserDefaults;

// A switch bound to a boolean setting: it writes the setting when the user
// flips it, and follows it when anything else changes it (the login helper
// turns "loginStart" back off when the desktop refuses the entry). Its
// object name is the key.
class DefaultsSwitch : public QCheckBox
{
    Q_OBJECT

public:
    DefaultsSwitch(UserDefaults& defaults, const QString& key, const QString& text, QWidget* parent = nullptr);

    QString key() const { return objectName(); }

    // The switch is usable only while `otherKey` is on (hiding the taskbar
    // entry needs the tray icon to reach the window).
    void enableWhen(const QString& otherKey);

private:
    UserDefaults& defaults;
};
