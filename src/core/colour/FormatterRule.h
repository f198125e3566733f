#pragma once

#include <QStringView>

#include <cstdint>

// The keystroke filter of one of the main window's number fields or of its
// hexadecimal field. Each edit proposes the whole new text of the field; the
// rule accepts it or refuses it, and a refused edit leaves the field as it
// was. Because every accepted text is applied to the colour at once, these
// rules are what keep live conversions within their ranges.
//
// A rule holds no value of its own: the field's text is its value. The GUI
// wraps one rule per field in a QValidator.
class FormatterRule
{
public:
    enum class Kind {
        rgb,        // "0".."255"
        labL,       // "0".."100"
        percentage, // "0".."100", "%" allowed but not alone
        degrees,    // "0".."360", "°" allowed but not alone
        lab,        // "-128".."127"
        hex,        // at most six digits after an optional leading "#"
    };

    static constexpr std::int32_t noLimit = 0x7FFFFFFF;

    // The six kinds under the names the main window knows them by.
    static FormatterRule rgbFormatter() { return FormatterRule(Kind::rgb); }
    static FormatterRule labLFormatter() { return FormatterRule(Kind::labL); }
    static FormatterRule percentageFormatter() { return FormatterRule(Kind::percentage); }
    static FormatterRule degreesFormatter() { return FormatterRule(Kind::degrees); }
    static FormatterRule labFormatter() { return FormatterRule(Kind::lab); }
    static FormatterRule hexFormatter() { return FormatterRule(Kind::hex); }

    explicit FormatterRule(Kind kind) : ruleKind(kind) {}

    Kind kind() const { return ruleKind; }

    // The longest text accepted, in UTF-16 code units; no limit at first. The
    // hexadecimal rule sets its own on every edit (7 when the text holds
    // exactly one "#", else 6), whatever was set before.
    void setMaximumLength(std::int32_t length) { maxLength = length; }
    std::int32_t maximumLength() const { return maxLength; }

    // Whether `text`, the whole field text after an edit, may stand. In this
    // order: not longer than the maximum length; only the kind's characters;
    // the kind's own rule on the text's leading integer (see LeadingInteger.h).
    // Not const: the hexadecimal rule resets its maximum length first.
    bool isPartialStringValid(QStringView text);

    bool operator==(const FormatterRule&) const = default;

private:
    // The characters a text of this kind may contain.
    QStringView allowedCharacters() const;
    bool ownRuleAccepts(QStringView text) const;

    Kind ruleKind;
    std::int32_t maxLength = noLimit;
};
