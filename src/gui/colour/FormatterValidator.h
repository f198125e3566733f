#pragma once

#include "colour/FormatterRule.h"

#include <QValidator>

// Puts one of the number fields' keystroke rules on a QLineEdit. Every edit
// proposes the field's whole new text; a text the rule refuses is Invalid, so
// the field keeps what it had. The rule never answers Intermediate: whatever
// it accepts is applied to the colour at once.
class FormatterValidator : public QValidator
{
    Q_OBJECT

public:
    FormatterValidator(FormatterRule rule, QObject* parent = nullptr);

    const FormatterRule& rule() const { return formatterRule; }

    State validate(QString& input, int& pos) const override;

private:
    // The hexadecimal rule resets its own maximum length on every edit.
    mutable FormatterRule formatterRule;
};
