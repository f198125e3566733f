#include "colour/FormatterRule.h"
#include "colour/LeadingInteger.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

// Each field's rule, with the maximum length the field gives it, against
// the texts a user may type on the way to a value. The hex rule sets its own
// length: seven with the "#", six without.
TEST(FormatterRule, EachFieldTakesOnlyTextOnTheWayToAValue)
{
    using Rows = std::vector<std::pair<const char*, bool>>;
    const Rows hexRows = {{"", true}, {"#", true}, {"#abcdef", true}, {"abcdef", true}, {"ABCDEF", true},
                          {"#abcdef0", false}, {"abcdef0", false}, {"ab#c", false}, {"##", false},
                          {"abc#", false}, {"#abg", false}, {" abc", false}, {"a", true},
                          {"a\xF0\x9F\x8E\xA8", false}}; // a character outside the basic plane
    const struct { const char* field; FormatterRule (*make)(); std::int32_t maximumLength; Rows rows; } fields[] = {
        {"rgb without a limit", &FormatterRule::rgbFormatter, FormatterRule::noLimit,
         {{"0000000000000000000000000255", true}, {"256", false}}},
        {"rgb", &FormatterRule::rgbFormatter, 3,
         {{"", true}, {"0", true}, {"255", true}, {"025", true}, {"256", false}, {"999", false},
          {"1000", false}, {"12a", false}, {"-1", false}, {" 12", false}, {"+1", false}}},
        {"labL", &FormatterRule::labLFormatter, 3,
         {{"", true}, {"100", true}, {"101", false}, {"0", true}, {"-0", false}, {"1000", false}}},
        {"lab", &FormatterRule::labFormatter, 4,
         {{"", true}, {"-128", true}, {"127", true}, {"-129", false}, {"128", false}, {"-", true},
          {"--", false}, {"5-", false}, {"-5-", true}, {"0-", false}, {"-12-", true}, {"-128-", false},
          {"12-3", true}, {"1-2", true}, {"+5", false}, {"a", false}}},
        {"percentage", &FormatterRule::percentageFormatter, 4,
         {{"", true}, {"100%", true}, {"%", false}, {"101", false}, {"%5", true}, {"40%", true},
          {"%%", true}, {"100%%", false}, {"1%0", true}, {"-5", false}, {"5 %", false}}},
        {"degrees", &FormatterRule::degreesFormatter, 4,
         {{"", true}, {"360", true}, {"361", false}, {"°", false}, {"359°", true}, {"°90", true},
          {"90%", false}, {"3600", false}, {"360°°", false}}},
        // Whatever length the hex field was given, its rule sets its own.
        {"hex", &FormatterRule::hexFormatter, FormatterRule::noLimit, hexRows},
        {"hex", &FormatterRule::hexFormatter, 3, hexRows},
        {"hex", &FormatterRule::hexFormatter, 100, hexRows},
    };
    for (const auto& f : fields) {
        for (const auto& [text, accepted] : f.rows) {
            FormatterRule rule = f.make();
            rule.setMaximumLength(f.maximumLength);
            EXPECT_EQ(rule.isPartialStringValid(QString::fromUtf8(text)), accepted)
                << f.field << " (length " << f.maximumLength << ") text \"" << text << "\"";
        }
    }
}

TEST(LeadingInteger, ReadsTheLeadingNumberOfAText)
{
    const std::pair<const char*, int> rows[] = {
        {"", 0},          {"-", 0},       {"+", 0},          {"%5", 0},          {"abc", 0},
        {"40%", 40},      {"359°", 359},  {"-5-", -5},       {"  \t 12x", 12},   {"+7", 7},
        {"-128", -128},   {"025", 25},    {"1 2", 1},        {"- 3", 0},         {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(leadingInteger(QString::fromUtf8(text)), value) << "text \"" << text << "\"";
}
