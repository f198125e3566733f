#include "GeneralPreferencesViewController.h"

#include "colour/ColorSpaceRegistry.h"
#include "prefs/DefaultsSwitch.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

void fill(QComboBox* picker, const std::vector<ColorSpacePtr>& spaces, const QString& selected)
{
    const QSignalBlocker quiet(picker);
    picker->clear();
    for (const ColorSpacePtr& space : spaces)
        picker->addItem(space->name());
    picker->setCurrentIndex(std::max(0, picker->findText(selected)));
}

} // namespace

GeneralPreferencesViewController::GeneralPreferencesViewController(const PreferencesParts& parts, QWidget* parent)
    : PreferencesPane(parent)
    , defaults(parts.defaults)
    , spaces(parts.spaces)
{
    namespace K = DefaultsKeys;
    if (parts.shortcutRecorder) {
        shortcutRecorder = parts.shortcutRecorder(this);
    } else {
        auto* placeholder = new QPushButton(tr("Record Shortcut"), this);
        placeholder->setEnabled(false);
        placeholder->setToolTip(tr("Global shortcuts are not available in this build"));
        shortcutRecorder = placeholder;
    }
    shortcutRecorder->setAccessibleName(tr("Keyboard shortcut"));
    shortcutRecorder->setMinimumWidth(160);
    auto* recorderRow = new QHBoxLayout;
    recorderRow->addWidget(shortcutRecorder);
    recorderRow->addStretch(1);
    addCaption(tr("Shortcut"));
    addRow(recorderRow);
    addSwitch(defaults, K::toggleShortcutKey, tr("Show and hide the window with it"),
              tr("From any program, as long as Huelark runs."));
    addSpace();

    colorSpacePicker = new QComboBox(this);
    colorSpacePicker->setObjectName(K::colorSpace);
    colorSpacePicker->setAccessibleName(tr("RGB colour space"));
    cmykColorSpacePicker = new QComboBox(this);
    cmykColorSpacePicker->setObjectName(K::CMYKcolorSpace);
    cmykColorSpacePicker->setAccessibleName(tr("CMYK colour space"));
    for (QComboBox* picker : { colorSpacePicker, cmykColorSpacePicker }) {
        picker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        picker->setMinimumContentsLength(24);
        connect(picker, &QComboBox::activated, this, [this, picker] { changeColorSpace(picker); });
    }
    auto* pickers = new QFormLayout;
    pickers->setLabelAlignment(Qt::AlignLeft);
    pickers->addRow(tr("RGB"), colorSpacePicker);
    pickers->addRow(tr("CMYK"), cmykColorSpacePicker);
    addCaption(tr("Colour spaces"));
    addRow(pickers);
    addSpace();

    addCaption(tr("Start"));
    addSwitch(defaults, K::loginStart, tr("Start Huelark at login"));
    addSwitch(defaults, K::hideOnLaunch, tr("Keep the window closed then"),
              tr("Huelark waits in the tray until you call it."))
        ->enableWhen(K::loginStart);
    addSpace();

    addCaption(tr("Desktop"));
    addSwitch(defaults, K::showInMenu, tr("Show the tray icon"));
    addSwitch(defaults, K::hideDock, tr("Leave the taskbar to the tray icon"),
              tr("The window no longer shows in the taskbar."))
        ->enableWhen(K::showInMenu);
    addSwitch(defaults, K::floatAboveOtherApps, tr("Keep the window above other windows"));
    addSwitch(defaults, K::sharePalettes, tr("Share palettes with GIMP, Inkscape and Krita"),
              tr("Each palette is copied to their palette folders."));

    fillColorSpacePickers();
    // Spaces chosen elsewhere (the command line, another window) show here.
    connect(&defaults, &UserDefaults::valueChanged, this, [this](const QString& key) {
        if (key == DefaultsKeys::colorSpace || key == DefaultsKeys::CMYKcolorSpace)
            fillColorSpacePickers();
    });
}

QIcon GeneralPreferencesViewController::toolbarItemImage() const
{
    return themeIcon(QStringLiteral("preferences-system"), QStyle::SP_ComputerIcon);
}

void GeneralPreferencesViewController::fillColorSpacePickers()
{
    // Unknown or unset names show the space the window falls back to.
    fill(colorSpacePicker, spaces.rgbSpaces(), spaces.rgbSpaceNamed(defaults.stringForKey(DefaultsKeys::colorSpace))->name());
    fill(cmykColorSpacePicker, spaces.cmykSpaces(),
         spaces.cmykSpaceNamed(defaults.stringForKey(DefaultsKeys::CMYKcolorSpace))->name());
}

void GeneralPreferencesViewController::changeColorSpace(QComboBox* sender)
{
    const QString key = sender == colorSpacePicker ? DefaultsKeys::colorSpace : DefaultsKeys::CMYKcolorSpace;
    if (sender->currentIndex() < 0)
        return;
    defaults.setString(sender->currentText(), key);
    defaults.synchronize();
}
