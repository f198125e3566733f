#include "DefaultsSwitch.h"

#include "settings/UserDefaults.h"

DefaultsSwitch::DefaultsSwitch(UserDefaults& defaults, const QString& key, const QString& text, QWidget* parent)
    : QCheckBox(text, parent)
    , defaults(defaults)
{
    setObjectName(key);
    setChecked(defaults.boolForKey(key));
    connect(this, &QCheckBox::toggled, this, [this](bool on) {
        if (this->defaults.boolForKey(this->key()) == on)
            return;
        this->defaults.setBool(on, this->key());
        this->defaults.synchronize();
    });
    connect(&defaults, &UserDefaults::valueChanged, this, [this](const QString& changed) {
        if (changed == this->key())
            setChecked(this->defaults.boolForKey(changed));
    });
}

void DefaultsSwitch::enableWhen(const QString& otherKey)
{
    setEnabled(defaults.boolForKey(otherKey));
    connect(&defaults, &UserDefaults::valueChanged, this, [this, otherKey](const QString& changed) {
        if (changed == otherKey)
            setEnabled(defaults.boolForKey(otherKey));
    });
}
