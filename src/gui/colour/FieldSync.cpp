#include "FieldSync.h"

#include "app/SwatchWell.h"
#include "colour/Cmyk.h"
#include "colour/CodeStrings.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "colour/Hsb.h"
#include "colour/Hsl.h"
#include "colour/Lab.h"
#include "colour/LeadingInteger.h"
#include "colour/ValueField.h"
#include "history/HistoryRecorder.h"
#include "names/NameLookup.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"
#include "tools/ToolWindow.h"

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

FieldSync::FieldSync(const NotationFields& fields, SwatchWell& well, UserDefaults& defaults,
                     const ColorSpaceRegistry& spaces, NameLookup& names, HistoryRecorder& history,
                     ToolWindow& tools, QObject* parent)
    : QObject(parent)
    , fields(fields)
    , well(well)
    , defaults(defaults)
    , spaces(spaces)
    , names(names)
    , history(history)
    , tools(tools)
    , wellSpace(ColorSpace::sRGB())
    , shownColor(well.color())
{
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
    if (tools.isOpen())
        tools.updateToolSwatches();
    if (!updateFromSwatch)
        return;
    writeFieldsFromWell();
}

void FieldSync::writeFieldsFromWell()
{
    if (const std::optional<Color> color = ColorSpace::convert(*well.color(), wellSpace)) {
        fields.nameField->setTextIfChanged(names.closestColorNameToColor(*color));
        const auto [r, g, b] = color->integerComponents();
        writeRGBFields(r, g, b);
        if (canUpdateHex)
            writeHexField(r, g, b);
        populateHSLFromRed(r, g, b);
        populateHSBFromRed(r, g, b);
        populateCMYKFromRed(r, g, b);
        populateLABFromRed(r, g, b);
        writeCodeFields(r, g, b);
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
        if (const auto rgb = rgbFromHSB(fieldValue(f.hHSBField), fieldValue(f.sHSBField), fieldValue(f.bHSBField), wellSpace))
            setSwatchFromRGBArray(*rgb, HSB);
    } else if (field == f.lLabField || field == f.aLabField || field == f.bLabField) {
        if (const auto rgb = rgbFromLab(fieldValue(f.lLabField), fieldValue(f.aLabField), fieldValue(f.bLabField), wellSpace))
            setSwatchFromRGBArray(*rgb, LAB);
    } else if (field == f.cField || field == f.mField || field == f.yField || field == f.kField) {
        if (const auto rgb = rgbFromCMYK(fieldValue(f.cField), fieldValue(f.mField), fieldValue(f.yField),
                                         fieldValue(f.kField), wellSpace))
            setSwatchFromRGBArray(*rgb, CMYK);
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
    const std::optional<Color> color = ColorSpace::convert(Color::fromIntegers(r, g, b), wellSpace);
    if (!color)
        return;
    fields.nameField->setTextIfChanged(names.closestColorNameToColor(*color));
    setWellColor(*color);
}

void FieldSync::setSwatchFromHEXValue(const QString& text, bool updateNameField)
{
    const std::optional<QString> code =
        HexCodec::normalizedHEXcodeFromHEXvalue(text, defaults.boolForKey(DefaultsKeys::showHexUnit));
    if (!code || !HexCodec::isValidHEX(*code)) {
        canUpdateHex = true;
        return;
    }
    const std::optional<Color> color = HexCodec::colorWithHexColorString(*code, wellSpace);
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
    if (const std::optional<Color> color = ColorSpace::convert(*well.color(), wellSpace))
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

void FieldSync::populateFieldsFromRGB(int r, int g, int b)
{
    writeRGBFields(r, g, b);
    writeHexField(r, g, b);
    populateHSLFromRed(r, g, b);
    populateHSBFromRed(r, g, b);
    populateCMYKFromRed(r, g, b);
    populateLABFromRed(r, g, b);
    writeCodeFields(r, g, b);
}

void FieldSync::populateFieldsFromHSL(int r, int g, int b)
{
    writeRGBFields(r, g, b);
    writeHexField(r, g, b);
    populateHSBFromRed(r, g, b);
    populateCMYKFromRed(r, g, b);
    populateLABFromRed(r, g, b);
    writeCodeFields(r, g, b);
}

void FieldSync::populateFieldsFromHSB(int r, int g, int b)
{
    writeRGBFields(r, g, b);
    writeHexField(r, g, b);
    populateHSLFromRed(r, g, b);
    populateCMYKFromRed(r, g, b);
    populateLABFromRed(r, g, b);
    writeCodeFields(r, g, b);
}

void FieldSync::populateFieldsFromLAB(int r, int g, int b)
{
    writeRGBFields(r, g, b);
    writeHexField(r, g, b);
    populateHSLFromRed(r, g, b);
    populateHSBFromRed(r, g, b);
    populateCMYKFromRed(r, g, b);
    writeCodeFields(r, g, b);
    setLightness(unsigned(std::max(0, fieldValue(fields.lLabField))));
}

void FieldSync::populateFieldsFromCMYK(int r, int g, int b)
{
    writeRGBFields(r, g, b);
    writeHexField(r, g, b);
    populateHSLFromRed(r, g, b);
    populateHSBFromRed(r, g, b);
    populateLABFromRed(r, g, b);
    writeCodeFields(r, g, b);
}

void FieldSync::populateFieldsFromHexWithColor(const Color& color)
{
    const auto [r, g, b] = color.integerComponents();
    writeRGBFields(r, g, b);
    populateHSLFromRed(r, g, b);
    populateHSBFromRed(r, g, b);
    populateCMYKFromRed(r, g, b);
    populateLABFromRed(r, g, b);
    writeCodeFields(r, g, b);
}

void FieldSync::populateHSLFromRed(int red, int green, int blue)
{
    const bool units = defaults.boolForKey(DefaultsKeys::showUnits);
    const auto [h, s, l] = hslFromRGB(red, green, blue);
    fields.hHSLField->setTextIfChanged(withUnit(h, degreeSign, units));
    fields.sHSLField->setTextIfChanged(withUnit(s, percentSign, units));
    fields.lHSLField->setTextIfChanged(withUnit(l, percentSign, units));
}

void FieldSync::populateHSBFromRed(int red, int green, int blue)
{
    const bool units = defaults.boolForKey(DefaultsKeys::showUnits);
    const auto [h, s, b] = hsbFromRGB(red, green, blue, wellSpace);
    fields.hHSBField->setTextIfChanged(withUnit(h, degreeSign, units));
    fields.sHSBField->setTextIfChanged(withUnit(s, percentSign, units));
    fields.bHSBField->setTextIfChanged(withUnit(b, percentSign, units));
}

void FieldSync::populateCMYKFromRed(int red, int green, int blue)
{
    const bool units = defaults.boolForKey(DefaultsKeys::showUnits);
    const auto [c, m, y, k] = cmykFromRGB(red, green, blue, cmykSpace());
    fields.cField->setTextIfChanged(withUnit(c, percentSign, units));
    fields.mField->setTextIfChanged(withUnit(m, percentSign, units));
    fields.yField->setTextIfChanged(withUnit(y, percentSign, units));
    fields.kField->setTextIfChanged(withUnit(k, percentSign, units));
}

void FieldSync::populateLABFromRed(int red, int green, int blue)
{
    const auto [L, a, b] = labFromRGB(red, green, blue);
    fields.lLabField->setTextIfChanged(QString::number(L));
    fields.aLabField->setTextIfChanged(QString::number(a));
    fields.bLabField->setTextIfChanged(QString::number(b));
    setLightness(unsigned(std::max(0, L)));
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

void FieldSync::writeRGBFields(int r, int g, int b)
{
    fields.rField->setTextIfChanged(QString::number(r));
    fields.gField->setTextIfChanged(QString::number(g));
    fields.bField->setTextIfChanged(QString::number(b));
}

void FieldSync::writeHexField(int r, int g, int b)
{
    const QString code = HexCodec::storedForm(r, g, b);
    setHexFieldValue(defaults.boolForKey(DefaultsKeys::showHexUnit) ? QLatin1Char('#') + code : code);
}

void FieldSync::writeCodeFields(int r, int g, int b)
{
    const QString rs = QString::number(r), gs = QString::number(g), bs = QString::number(b);
    populateNSColorField(rs, gs, bs);
    populateUIColorField(rs, gs, bs);
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
            if (const std::optional<Color> color = ColorSpace::convert(*well.color(), wellSpace))
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
    wellSpace = spaces.rgbSpaceNamed(defaults.stringForKey(DefaultsKeys::colorSpace));
    names.setWellColorSpace(wellSpace);
    setValuesFromSwatch();
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
    if (const std::optional<Color> recorded = ColorSpace::convert(*well.color(), wellSpace))
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
