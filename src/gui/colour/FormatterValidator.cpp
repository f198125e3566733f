#include "FormatterValidator.h"

FormatterValidator::FormatterValidator(FormatterRule rule, QObject* parent)
    : QValidator(parent)
    , formatterRule(rule)
{
}

QValidator::State FormatterValidator::validate(QString& input, int&) const
{
    return formatterRule.isPartialStringValid(input) ? Acceptable : Invalid;
}
