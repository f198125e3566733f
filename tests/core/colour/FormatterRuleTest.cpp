#include "colour/FormatterRule.h"
#include "colour/LeadingInteger.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

struct Row
{
    const char* text;
    bool accepted;
};

// Runs every row through a fresh rule with the field's maximum length.
void expectRows(FormatterRule (*make)(), std::int32_t maximumLength, std::initializer_list<Row> rows,
                const char* name)
{
    for (const Row& row : rows) {
        FormatterRule rule = make();
        rule.setMaximumLength(maximumLength);
        EXPECT_EQ(rule.isPartialStringValid(QString::fromUtf8(row.text)), row.accepted)
            << name << " text \"" << row.text << "\"";
    }
}

} // namespace

TEST(FormatterRule, StartsWithoutALengthLimit)
{
    FormatterRule rule = FormatterRule::rgbFormatter();
    EXPECT_EQ(rule.maximumLength(), 2147483647);
    EXPECT_TRUE(rule.isPartialStringValid(u"0000000000000000000000000255"));
    rule.setMaximumLength(3);
    EXPECT_EQ(rule.maximumLength(), 3);
    EXPECT_FALSE(rule.isPartialStringValid(u"0255"));
}

TEST(FormatterRule, RgbFields)
{
    expectRows(&FormatterRule::rgbFormatter, 3,
               {{"", true}, {"0", true}, {"255", true}, {"025", true}, {"256", false}, {"999", false},
                {"1000", false}, {"12a", false}, {"-1", false}, {" 12", false}, {"+1", false}},
               "rgb");
}

TEST(FormatterRule, LabLightnessField)
{
    expectRows(&FormatterRule::labLFormatter, 3,
               {{"", true}, {"100", true}, {"101", false}, {"0", true}, {"-0", false}, {"1000", false}}, "labL");
}

TEST(FormatterRule, LabAAndBFields)
{
    expectRows(&FormatterRule::labFormatter, 4,
               {{"", true}, {"-128", true}, {"127", true}, {"-129", false}, {"128", false}, {"-", true},
                {"--", false}, {"5-", false}, {"-5-", true}, {"0-", false}, {"-12-", true}, {"-128-", false},
                {"12-3", true}, {"1-2", true}, {"+5", false}, {"a", false}},
               "lab");
}

TEST(FormatterRule, PercentageFields)
{
    expectRows(&FormatterRule::percentageFormatter, 4,
               {{"", true}, {"100%", true}, {"%", false}, {"101", false}, {"%5", true}, {"40%", true},
                {"%%", true}, {"100%%", false}, {"1%0", true}, {"-5", false}, {"5 %", false}},
               "percentage");
}

TEST(FormatterRule, HueFields)
{
    expectRows(&FormatterRule::degreesFormatter, 4,
               {{"", true}, {"360", true}, {"361", false}, {"°", false}, {"359°", true}, {"°90", true},
                {"90%", false}, {"3600", false}, {"360°°", false}},
               "degrees");
}

TEST(FormatterRule, HexField)
{
    // Whatever length the field was given, the rule sets its own.
    for (std::int32_t length : {FormatterRule::noLimit, 3, 100}) {
        expectRows(&FormatterRule::hexFormatter, length,
                   {{"", true}, {"#", true}, {"#abcdef", true}, {"abcdef", true}, {"ABCDEF", true},
                    {"#abcdef0", false}, {"abcdef0", false}, {"ab#c", false}, {"##", false},
                    {"abc#", false}, {"#abg", false}, {" abc", false}, {"a", true},
                    {"a\xF0\x9F\x8E\xA8", false}}, // a character outside the basic plane
                   "hex");
    }
}

TEST(FormatterRule, HexFieldLengthFollowsTheText)
{
    FormatterRule rule = FormatterRule::hexFormatter();
    EXPECT_TRUE(rule.isPartialStringValid(u"#abc"));
    EXPECT_EQ(rule.maximumLength(), 7);
    EXPECT_TRUE(rule.isPartialStringValid(u"abc"));
    EXPECT_EQ(rule.maximumLength(), 6);
    EXPECT_FALSE(rule.isPartialStringValid(u"##"));
    EXPECT_EQ(rule.maximumLength(), 6);
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
