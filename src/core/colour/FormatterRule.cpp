#include "FormatterRule.h"

#include "LeadingInteger.h"

QStringView FormatterRule::allowedCharacters() const
{
    switch (ruleKind) {
    case Kind::rgb:
    case Kind::labL:
        return u"1234567890";
    case Kind::percentage:
        return u"1234567890%";
    case Kind::degrees:
        return u"1234567890\u00B0";
    case Kind::lab:
        return u"1234567890-";
    case Kind::hex:
        return u"#1234567890abcdefABCDEF";
    }
    return {};
}

bool FormatterRule::ownRuleAccepts(QStringView text) const
{
    const int number = leadingInteger(text);
    switch (ruleKind) {
    case Kind::rgb:
        return number < 256;
    case Kind::labL:
        return number < 101;
    case Kind::percentage:
        return number < 101 && text != u"%";
    case Kind::degrees:
        return number <= 360 && text != u"\u00B0";
    case Kind::lab:
        // A lone "-" is the start of a negative number and reads as 0; a "-"
        // after the first character is refused unless more follows it, so
        // "-5-" stands (it reads as -5) while "--" and "5-" do not.
        return number >= -128 && number <= 127 && (text.size() < 2 || text.mid(1) != u"-");
    case Kind::hex:
        // At most one "#", and only in front.
        return text.isEmpty() || text.indexOf(u'#', 1) < 0;
    }
    return false;
}

bool FormatterRule::isPartialStringValid(QStringView text)
{
    if (ruleKind == Kind::hex)
        maxLength = text.count(u'#') == 1 ? 7 : 6;

    if (text.size() > maxLength)
        return false;
    const QStringView allowed = allowedCharacters();
    for (QChar c : text) {
        if (!allowed.contains(c))
            return false;
    }
    return ownRuleAccepts(text);
}
