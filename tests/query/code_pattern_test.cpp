#include <gtest/gtest.h>

#include "catalogue/sense_table.h"
#include "query/code_pattern.h"

TEST(BuildPattern, PlacesFieldTextsIntoFiveDigits) {
    struct Case { const char *sk, *asc, *ascq, *pattern; } cases[] = {
        {"?", "??", "??", "?????"},  // the template's texts
        {"", "", "", "?????"},
        {nullptr, nullptr, nullptr, "?????"},
        {"6", "29", "??", "629??"},
        {"?", "4", "??", "?04??"},   // one character is the low digit
        {"?", "?", "??", "?0???"},   // a lone '?' too
        {"?", "5d", "0", "?5D00"},   // lowercase is uppercased
        {"b", "", "", "B????"},
        {"X", "zz", "g", "XZZ0G"},   // anything else stays as it is
        {"12", "345", "6789", "13467"},  // longer texts: only the leading characters
        {"", "A", "", "?0A??"},
        {"a", "`{", "z", "A`{0Z"},   // both ends of a-z, and just outside them
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.pattern, BuildPattern(c.sk, c.asc, c.ascq).digits)
            << c.sk << "/" << c.asc << "/" << c.ascq;
}

TEST(MatchesPattern, ComparesEveryDigitExceptQuestionMarks) {
    SenseEntry entry = {0x15DFF, 0x1, 0x5D, 0xFF, "failure prediction threshold exceeded (false)"};
    SenseEntry lowAsc = {0x40017, 0x4, 0x00, 0x17, "cleaning requested"};
    struct Case { const SenseEntry* entry; const char* pattern; bool matches; } cases[] = {
        {&entry, "?????", true},   {&entry, "15DFF", true},  {&entry, "1????", true},
        {&entry, "??D?F", true},   {&entry, "25DFF", false}, {&entry, "15DFE", false},
        {&entry, "15dff", false},  // the pattern is uppercased before it gets here
        {&entry, "X????", false},  {&lowAsc, "400??", true}, {&lowAsc, "?0???", true},
        {&lowAsc, "4?018", false},
    };
    for (const Case& c : cases) {
        CodePattern pattern = {};
        for (int i = 0; i < 5; ++i) pattern.digits[i] = c.pattern[i];
        EXPECT_EQ(c.matches, MatchesPattern(pattern, *c.entry)) << c.pattern;
    }
}
