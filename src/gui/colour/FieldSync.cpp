#include "FieldSync.h"

#include "app/SwatchWell.h"
#include "colour/Cmyk.h"
#include "colour/CodeStrings.h"
#include "colour/ColorSpace.h"
#include "colour/ColorNotations.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "colour/Hsb.h"
#include "colour/Hsl.h"
#include "colour/Lab.h"
#include "colour/LeadingInteger.h"
#include "colour/ValueField.h"
#include "colour/WellColorSpace.h"
#include "history/HistoryRecorder.h"
#include "names/NameLookup.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QRegularExpression>
#include <QTimer>

namespace {

const QString degreeSign = QStringLiteral("\u00B0");
const QString percentSign = QStringLiteral("%");

QString withUnit(int value, const QString& unit, bool showUnits)
{
    return showUnits ? QString::number(value) + unit : QString::number(value);
}

int fieldValue(const ValueField* field) { return leadingInteger(field->text()); }

} // namespace

FieldSync::FieldSync(const NotationFields& fields, SwatchWell& well, WellColorSpace& wellSpace,
                     UserDefaults& defaults, const ColorSpaceRegistry& spaces, NameLookup& names,
                     HistoryRecorder& history, QObject* parent)
    : QObject(parent)
    , fields(fields)
    , well(well)
    , wellSpaceService(wellSpace)
    , defaults(defaults)
    , spaces(spaces)
    , names(names)
    , history(history)
    , shownColor(well.color())
{
    connect(&wellSpace, &WellColorSpace::changed, this, [this](const ColorSpacePtr& space) {
        this->names.setWellColorSpace(space);
        setValuesFromSwatch();
    });
}

const ColorSpacePtr& FieldSync::wellColorSpace() const
{
    return wellSpaceService.current();
}

FieldSync::~FieldSync() = default;

// ---- the full refresh

void FieldSync::setValuesFromSwatch()
{
    shownColor = well.color();
    if (!colorChangeTimer && canUpdateHistory) {
        colorChangeTimer = new QTimer(this);
        colorChangeTimer->setInterval(historyInterval);
        connect(colorChangeTimer, &QTimer::timeout, this, &FieldSync::checkForSwatchChange);
        colorChangeTimer->start();
    }
    Q_EMIT swatchColorChanged();
    if (!updateFromSwatch)
        return;
    writeFieldsFromWell();
}

void FieldSync::writeFieldsFromWell()
{
    if (const std::optional<Color> color = ColorSpace::convert(*well.color(), wellColorSpace())) {
        fields.nameField->setTextIfChanged(names.closestColorNameToColor(*color));
        if (const std::optional<ColorNotations> n = notationsOf(*color))
            writeNotations(*n, canUpdateHex ? Typed::None : Typed::Hex);
    }
    canUpdateHex = true;
}

// ---- typing

void FieldSync::controlTextDidChange(ValueField* field)
{
    const NotationFields& f = fields;
    if (field == f.hexField) {
        setSwatchFromHEXValue(field->text(), true);
    } else if (field == f.rField || field == f.gField || field == f.bField) {
        setSwatchFromRGBArray({ fieldValue(f.rField), fieldValue(f.gField), fieldValue(f.bField) }, RGB);
    } else if (field == f.hHSLField || field == f.sHSLField || field == f.lHSLField) {
        const auto rgb = rgbFromHSL(fieldValue(f.hHSLField), fieldValue(f.sHSLField), fieldValue(f.lHSLField));
        setSwatchFromRGBArray({ rgb[0], rgb[1], rgb[2] }, HSL);
    } else if (field == f.hHSBField || field == f.sHSBField || field == f.bHSBField) {
        setSwatchFromRGBArray(rgbFromHSB(fieldValue(f.hHSBField), fieldValue(f.sHSBField), fieldValue(f.bHSBField)), HSB);
    } else if (field == f.lLabField || field == f.aLabField || field == f.bLabField) {
        setSwatchFromRGBArray(rgbFromLab(fieldValue(f.lLabField), fieldValue(f.aLabField), fieldValue(f.bLabField)), LAB);
    } else if (field == f.cField || field == f.mField || field == f.yField || field == f.kField) {
        setSwatchFromRGBArray(
            rgbFromCMYK(fieldValue(f.cField), fieldValue(f.mField), fieldValue(f.yField), fieldValue(f.kField)), CMYK);
    }
}

void FieldSync::setSwatchFromRGBArray(const std::array<int, 3>& rgb, Type type)
{
    const auto [r, g, b] = rgb;
    switch (type) {
    case RGB: populateFieldsFromRGB(r, g, b); break;
    case HSL: populateFieldsFromHSL(r, g, b); break;
    case HSB: populateFieldsFromHSB(r, g, b); break;
    case LAB: populateFieldsFromLAB(r, g, b); break;
    case CMYK: populateFieldsFromCMYK(r, g, b); break;
    }
    // The fields show the components in the window's space, so that is how
    // they are read back.
    const Color color = Color::fromIntegers(r, g, b, wellColorSpace());
    fields.nameField->setTextIfChanged(names.closestColorNameToColor(color));
    setWellColor(color);
}

void FieldSync::setSwatchFromHEXValue(const QString& text, bool updateNameField)
{
    const std::optional<QString> code =
        HexCodec::normalizedHEXcodeFromHEXvalue(text, defaults.boolForKey(DefaultsKeys::showHexUnit));
    if (!code || !HexCodec::isValidHEX(*code)) {
        canUpdateHex = true;
        return;
    }
    // The hex field shows the components in the window's space; a name's
    // code is an sRGB code from the names dataset.
    const std::optional<Color> color = updateNameField
        ? std::optional(HexCodec::colorInSpace(*code, wellColorSpace()))
        : HexCodec::colorWithHexColorString(*code, wellColorSpace());
    if (!color)
        return;
    populateFieldsFromHexWithColor(*color);
    setWellColor(*color);
    if (updateNameField)
        fields.nameField->setTextIfChanged(names.closestColorNameToColor(*color));
}

void FieldSync::setSwatchFromNameField(const QString& name)
{
    const QString chosen = name.isEmpty() ? fields.nameField->text() : name;
    const std::optional<QString> code = names.hexCodeForName(chosen);
    if (!code)
        return;
    setSwatchFromHEXValue(*code, false);
    setHexFieldValue(defaults.boolForKey(DefaultsKeys::showHexUnit) ? QLatin1Char('#') + *code : *code);
}

void FieldSync::updateNameField()
{
    ValueField* field = fields.nameField;
    if (!updateFromSwatch || (field->hasFocus() && field->isModified()))
        return;
    if (const std::optional<Color> color = ColorSpace::convert(*well.color(), wellColorSpace()))
        field->setTextIfChanged(names.closestColorNameToColor(*color));
}

void FieldSync::setWellColor(const Color& color)
{
    // The well's change still reaches setValuesFromSwatch (for the history
    // timer) but must not rewrite the field the user is typing in.
    updateFromSwatch = false;
    well.setColor(color);
    updateFromSwatch = true;
}

// ---- rewriting the other notations

std::optional<ColorNotations> FieldSync::notationsOf(const Color& color) const
{
    return ColorNotations::of(color, wellColorSpace(), cmykSpace(), defaults.boolForKey(DefaultsKeys::useObjCSyntax));
}

void FieldSync::populateFields(int r, int g, int b, Typed typed)
{
    if (const std::optional<ColorNotations> n = notationsOf(Color::fromIntegers(r, g, b, wellColorSpace())))
        writeNotations(*n, typed);
}

// The notation being typed in is left as the user has it; every other one
// is rewritten.
void FieldSync::writeNotations(const ColorNotations& n, Typed typed)
{
    const bool units = defaults.boolForKey(DefaultsKeys::showUnits);
    const auto withUnits = [units](ValueField* field, int value, const QString& unit) {
        field->setTextIfChanged(withUnit(value, unit, units));
    };
    fields.rField->setTextIfChanged(QString::number(n.rgb[0]));
    fields.gField->setTextIfChanged(QString::number(n.rgb[1]));
    fields.bField->setTextIfChanged(QString::number(n.rgb[2]));
    if (typed != Typed::Hex)
        setHexFieldValue(defaults.boolForKey(DefaultsKeys::showHexUnit) ? QLatin1Char('#') + n.hex : n.hex);
    if (typed != Typed::HSL) {
        withUnits(fields.hHSLField, n.hsl[0], degreeSign);
        withUnits(fields.sHSLField, n.hsl[1], percentSign);
        withUnits(fields.lHSLField, n.hsl[2], percentSign);
    }
    if (typed != Typed::HSB) {
        withUnits(fields.hHSBField, n.hsb[0], degreeSign);
        withUnits(fields.sHSBField, n.hsb[1], percentSign);
        withUnits(fields.bHSBField, n.hsb[2], percentSign);
    }
    if (typed != Typed::CMYK) {
        withUnits(fields.cField, n.cmyk[0], percentSign);
        withUnits(fields.mField, n.cmyk[1], percentSign);
        withUnits(fields.yField, n.cmyk[2], percentSign);
        withUnits(fields.kField, n.cmyk[3], percentSign);
    }
    if (typed != Typed::LAB) {
        fields.lLabField->setTextIfChanged(QString::number(n.lab[0]));
        fields.aLabField->setTextIfChanged(QString::number(n.lab[1]));
        fields.bLabField->setTextIfChanged(QString::number(n.lab[2]));
        setLightness(unsigned(std::max(0, n.lab[0])));
    } else {
        // The text colours follow the L the user typed.
        setLightness(unsigned(std::max(0, fieldValue(fields.lLabField))));
    }
    fields.nsColorField->setTextIfChanged(n.nsColor);
    fields.uiColorField->setTextIfChanged(n.uiColor);
}

void FieldSync::populateFieldsFromRGB(int r, int g, int b) { populateFields(r, g, b, Typed::None); }
void FieldSync::populateFieldsFromHSL(int r, int g, int b) { populateFields(r, g, b, Typed::HSL); }
void FieldSync::populateFieldsFromHSB(int r, int g, int b) { populateFields(r, g, b, Typed::HSB); }
void FieldSync::populateFieldsFromLAB(int r, int g, int b) { populateFields(r, g, b, Typed::LAB); }
void FieldSync::populateFieldsFromCMYK(int r, int g, int b) { populateFields(r, g, b, Typed::CMYK); }

void FieldSync::populateFieldsFromHexWithColor(const Color& color)
{
    if (const std::optional<ColorNotations> n = notationsOf(color))
        writeNotations(*n, Typed::Hex);
}

void FieldSync::populateNSColorField(const QString& red, const QString& green, const QString& blue)
{
    fields.nsColorField->setTextIfChanged(CodeStrings::code(CodeStrings::ColorClass::NSColor, red, green, blue,
                                                            defaults.boolForKey(DefaultsKeys::useObjCSyntax)));
}

void FieldSync::populateUIColorField(const QString& red, const QString& green, const QString& blue)
{
    fields.uiColorField->setTextIfChanged(CodeStrings::code(CodeStrings::ColorClass::UIColor, red, green, blue,
                                                            defaults.boolForKey(DefaultsKeys::useObjCSyntax)));
}

void FieldSync::updateCodeSytax()
{
    const QString r = fields.rField->text(), g = fields.gField->text(), b = fields.bField->text();
    populateNSColorField(r, g, b);
    populateUIColorField(r, g, b);
}

void FieldSync::setHexFieldValue(const QString& text)
{
    fields.hexField->setTextIfChanged(HexCodec::fieldText(text, defaults.boolForKey(DefaultsKeys::lowerCaseHEX)));
}

// ---- end of editing

void FieldSync::controlTextDidEndEditing(ValueField* field)
{
    const NotationFields& f = fields;
    // An emptied field (a lone unit or "#" left) shows the current colour's
    // value again, rather than a unit that the next digits would follow.
    if (field != f.nameField && !field->isReadOnly()
        && !field->text().contains(QRegularExpression(QStringLiteral("[0-9A-Za-z]")))) {
        canUpdateHex = true;
        writeFieldsFromWell();
        return;
    }
    if (field == f.nameField) {
        if (!names.hexCodeForName(field->text())) {
            if (const std::optional<Color> color = ColorSpace::convert(*well.color(), wellColorSpace()))
                field->setTextIfChanged(names.closestColorNameToColor(*color));
        }
    } else if (field == f.hexField) {
        fixHexfieldLength();
    } else if (field == f.hHSLField || field == f.hHSBField) {
        tidyUnits(field, degreeSign);
    } else if (field == f.sHSLField || field == f.lHSLField || field == f.sHSBField || field == f.bHSBField
               || field == f.cField || field == f.mField || field == f.yField || field == f.kField) {
        tidyUnits(field, percentSign);
    }
}

void FieldSync::fixHexfieldLength()
{
    fields.hexField->setTextIfChanged(HexCodec::fixHexfieldLength(
        fields.hexField->text(), defaults.boolForKey(DefaultsKeys::showHexUnit),
        defaults.boolForKey(DefaultsKeys::lowerCaseHEX)));
    canUpdateHex = true;
}

void FieldSync::tidyUnits(ValueField* field, const QString& unit)
{
    QString text = field->text();
    text.remove(percentSign).remove(degreeSign);
    if (defaults.boolForKey(DefaultsKeys::showUnits))
        text += unit;
    field->setTextIfChanged(text);
}

// ---- colour spaces

void FieldSync::updateColorSpace()
{
    // The service announces the space, which refreshes the fields.
    wellSpaceService.update();
}

void FieldSync::updateCMYKColorSpace() { setValuesFromSwatch(); }

const ColorSpace* FieldSync::cmykSpace() const
{
    return spaces.cmykSpaceNamed(defaults.stringForKey(DefaultsKeys::CMYKcolorSpace)).get();
}

// ---- the current colour and the history

void FieldSync::setLightness(unsigned value)
{
    if (value == lightnessValue)
        return;
    lightnessValue = value;
    Q_EMIT lightnessChanged(value);
}

void FieldSync::loadColor(const std::optional<Color>& color)
{
    if (color) {
        const auto [r, g, b] = color->integerComponents();
        setLightness(unsigned(std::max(0, labFromRGB(r, g, b)[0])));
    }
    canUpdateHistory = false;
    if (color)
        well.setColor(*color);
    // Restoring a colour is not choosing one: history stays off for a while.
    if (!historyEnableTimer) {
        historyEnableTimer = new QTimer(this);
        historyEnableTimer->setSingleShot(true);
        connect(historyEnableTimer, &QTimer::timeout, this, &FieldSync::enableHistory);
    }
    historyEnableTimer->start(historyInterval);
}

void FieldSync::restoreColor(const std::optional<Color>& color)
{
    canUpdateHex = true;
    updateFromSwatch = false;
    loadColor(color);
    updateFromSwatch = true;
    setValuesFromSwatch();
}

void FieldSync::checkForSwatchChange()
{
    // Object identity, not equal values: any change since the last refresh,
    // even back to the same colour, waits for the next tick.
    if (shownColor == well.color())
        updateHistoryAndSetColor();
}

void FieldSync::updateHistoryAndSetColor(const std::optional<Color>& color)
{
    if (color)
        well.setColor(*color);
    invalidateTimer();
    if (const std::optional<Color> recorded = ColorSpace::convert(*well.color(), wellColorSpace()))
        history.saveHistoryItem(*recorded);
}

void FieldSync::invalidateTimer()
{
    if (!colorChangeTimer)
        return;
    colorChangeTimer->stop();
    colorChangeTimer->deleteLater(); // we may be inside its own timeout
    colorChangeTimer = nullptr;
}
