#include "FieldFormatters.h"

#include "colour/FormatterValidator.h"
#include "colour/NotationFields.h"
#include "colour/ValueField.h"

namespace {

void attach(ValueField* field, FormatterRule rule, int maximumLength = 0)
{
    if (maximumLength > 0)
        rule.setMaximumLength(maximumLength);
    delete field->validator();
    field->setValidator(new FormatterValidator(rule, field));
}

} // namespace

void attachFormatters(const NotationFields& f)
{
    attach(f.hexField, FormatterRule::hexFormatter());
    for (ValueField* field : { f.rField, f.gField, f.bField })
        attach(field, FormatterRule::rgbFormatter(), 3);
    for (ValueField* field : { f.hHSLField, f.hHSBField })
        attach(field, FormatterRule::degreesFormatter(), 4);
    for (ValueField* field : { f.sHSLField, f.lHSLField, f.sHSBField, f.bHSBField, f.cField, f.mField, f.yField, f.kField })
        attach(field, FormatterRule::percentageFormatter(), 4);
    attach(f.lLabField, FormatterRule::labLFormatter(), 3);
    for (ValueField* field : { f.aLabField, f.bLabField })
        attach(field, FormatterRule::labFormatter(), 4);
}
