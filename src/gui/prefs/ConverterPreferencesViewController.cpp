#include "ConverterPreferencesViewController.h"

#include "settings/DefaultsKeys.h"

ConverterPreferencesViewController::ConverterPreferencesViewController(UserDefaults& defaults, QWidget* parent)
    : PreferencesPane(parent)
{
    namespace K = DefaultsKeys;
    addCaption(tr("Hexadecimal"));
    addSwitch(defaults, K::lowerCaseHEX, tr("Lower case"),
              tr("#9aa2f8 instead of #9AA2F8, in the window and the History menu."));
    addSwitch(defaults, K::showHexUnit, tr("Show #"), tr("Before every code; a typed code needs none."));
    addSpace();
    addCaption(tr("Numbers"));
    addSwitch(defaults, K::showUnits, tr("Show units"), tr("° after hues and % after HSL, HSB and CMYK values."));
    addSpace();
    addCaption(tr("Code"));
    addSwitch(defaults, K::useObjCSyntax, tr("Message syntax"),
              tr("[NSColor colorWithRed:…] instead of NSColor(red:…)."));
}

QIcon ConverterPreferencesViewController::toolbarItemImage() const
{
    return themeIcon(QStringLiteral("accessories-calculator"), QStyle::SP_ArrowRight);
}
