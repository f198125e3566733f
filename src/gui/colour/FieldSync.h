#pragma once

#include "colour/Color.h"
#include "colour/NotationFields.h"

#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <memory>
#include <optional>

class ColorSpaceRegistry;
class HistoryRecorder;
class NameLookup;
class QTimer;
class SwatchWell;
class UserDefaults;
class WellColorSpace;
struct ColorNotations;

// Keeps every field of the main window in step with the swatch well: a
// change of the well's colour rewrites every field, and typing into any field
// recomputes the colour from that notation, rewrites the others and moves the
// well without echoing back into the field being typed in. It also decides
// when a colour has settled long enough to become a history entry.
//
// Main thread only.
class FieldSync : public QObject
{
    Q_OBJECT

public:
    // Notation types of setSwatchFromRGBArray.
    enum Type { RGB = 0, HSL = 1, HSB = 2, LAB = 3, CMYK = 4 };

    FieldSync(const NotationFields& fields, SwatchWell& well, WellColorSpace& wellSpace, UserDefaults& defaults,
              const ColorSpaceRegistry& spaces, NameLookup& names, HistoryRecorder& history,
              QObject* parent = nullptr);
    ~FieldSync() override;

    // The RGB space every colour of the window is held in.
    const ColorSpacePtr& wellColorSpace() const;
    // Rounded L* of the current colour; text colours switch at 55.
    unsigned lightness() const { return lightnessValue; }
    void setLightness(unsigned value);

    // The history timer's period; one second unless a test shortens it.
    void setHistoryInterval(std::chrono::milliseconds interval) { historyInterval = interval; }
    std::chrono::milliseconds historyIntervalValue() const { return historyInterval; }
    bool historyTimerPending() const { return colorChangeTimer != nullptr; }
    const std::shared_ptr<const Color>& currentColor() const { return shownColor; }

    // The full refresh, run on every change of the well's colour.
    void setValuesFromSwatch();

    // Typing: the user changed the text of `field`.
    void controlTextDidChange(ValueField* field);
    // The edit of `field` ended: tidy its text.
    void controlTextDidEndEditing(ValueField* field);

    void setSwatchFromHEXValue(const QString& text, bool updateNameField);
    void setSwatchFromRGBArray(const std::array<int, 3>& rgb, Type type);
    // With no name, the name field's own text.
    void setSwatchFromNameField(const QString& name = QString());
    // Names the current colour again, after the names changed; a name the
    // user is typing stays.
    void updateNameField();

    void populateFieldsFromRGB(int red, int green, int blue);
    void populateFieldsFromHSL(int red, int green, int blue);
    void populateFieldsFromHSB(int red, int green, int blue);
    void populateFieldsFromLAB(int red, int green, int blue);
    void populateFieldsFromCMYK(int red, int green, int blue);
    void populateFieldsFromHexWithColor(const Color& color);

    void populateNSColorField(const QString& red, const QString& green, const QString& blue);
    void populateUIColorField(const QString& red, const QString& green, const QString& blue);
    // The code fields again, from the RGB fields' texts as they stand.
    void updateCodeSytax();

    // Writes a code into the hex field in the case `lowerCaseHEX` asks for.
    void setHexFieldValue(const QString& text);
    // Tidies the hex field when its edit ends.
    void fixHexfieldLength();

    // Re-chooses the window's RGB space from "colorSpace"; the fields follow.
    void updateColorSpace();
    // The CMYK space is looked up on every conversion: a refresh is enough.
    void updateCMYKColorSpace();

    // Makes `color` the well's colour without recording it: history stays
    // off until one history interval later.
    void loadColor(const std::optional<Color>& color);
    // The start: the stored colour into the well as loadColor does, then
    // the first filling of every field (none is filled before).
    void restoreColor(const std::optional<Color>& color);
    // History is on again after a restored colour; the pause's timer calls it.
    void enableHistory() { canUpdateHistory = true; }
    bool historyEnabled() const { return canUpdateHistory; }

    // The history timer's tick: records the well's colour when no change
    // has come since the last refresh.
    void checkForSwatchChange();
    // Makes `color` (if any) the well's colour, then records the well's
    // colour as a history entry now.
    void updateHistoryAndSetColor(const std::optional<Color>& color = std::nullopt);
    void invalidateTimer();

Q_SIGNALS:
    void lightnessChanged(unsigned lightness);
    // The well's colour changed, whatever changed it (for the tool window's
    // rows).
    void swatchColorChanged();

private:
    // The notation the user is typing in, which a refresh leaves alone.
    enum class Typed { None, Hex, HSL, HSB, LAB, CMYK };

    std::optional<ColorNotations> notationsOf(const Color& color) const;
    void populateFields(int red, int green, int blue, Typed typed);
    void writeNotations(const ColorNotations& notations, Typed typed);
    void setWellColor(const Color& color);
    void tidyUnits(ValueField* field, const QString& unit);
    const ColorSpace* cmykSpace() const;
    void writeFieldsFromWell();

    NotationFields fields;
    SwatchWell& well;
    WellColorSpace& wellSpaceService;
    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    NameLookup& names;
    HistoryRecorder& history;

    unsigned lightnessValue = 0;
    std::shared_ptr<const Color> shownColor; // the well's colour object at the last refresh
    QTimer* colorChangeTimer = nullptr;
    QTimer* historyEnableTimer = nullptr;
    std::chrono::milliseconds historyInterval { 1000 };
    bool canUpdateHex = false;      // while false a refresh leaves the hex field alone
    bool updateFromSwatch = false;  // while false a change of the well rewrites no field
    bool canUpdateHistory = false;  // while false a change starts no history timer
};
