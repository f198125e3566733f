#include "DisplayPreferencesViewController.h"

#include "settings/DefaultsKeys.h"

DisplayPreferencesViewController::DisplayPreferencesViewController(UserDefaults& defaults, QWidget* parent)
    : PreferencesPane(parent)
{
    namespace K = DefaultsKeys;
    addCaption(tr("Main window"));
    addSwitch(defaults, K::showName, tr("Name"), tr("The closest colour name; type one to pick its colour."));
    addSwitch(defaults, K::showHEX, tr("Hexadecimal"), tr("The code web pages and style sheets use."));
    addSwitch(defaults, K::showRGB, tr("RGB"), tr("Red, green and blue, from 0 to 255."));
    addSwitch(defaults, K::showHSL, tr("HSL"), tr("Hue, saturation and lightness."));
    addSwitch(defaults, K::showHSB, tr("HSB"), tr("Hue, saturation and brightness (also called HSV)."));
    addSwitch(defaults, K::showLab, tr("Lab"), tr("CIE L*a*b*: lightness and two opponent colour axes."));
    addSwitch(defaults, K::showCMYK, tr("CMYK"), tr("Cyan, magenta, yellow and black."));
    addSwitch(defaults, K::showCode, tr("Code"), tr("The colour as code to paste into a program."));
    addSpace();
    addCaption(tr("Colour tools"));
    addSwitch(defaults, K::showDragView, tr("Image drop area"),
              tr("Drop images on it to take their main colours."));
}

QIcon DisplayPreferencesViewController::toolbarItemImage() const
{
    return themeIcon(QStringLiteral("video-display"), QStyle::SP_DesktopIcon);
}
