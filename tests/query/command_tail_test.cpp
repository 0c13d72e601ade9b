#include <gtest/gtest.h>

#include <cstring>

#include "query/command_tail.h"

TEST(ExtractCommandTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
    struct Case { const char *commandLine, *tail; } cases[] = {
        {"\"C:\\Program Files\\quorvel.exe\"  6 29", "6 29"},
        {"quorvel.exe 4", "4"},
        {"quorvel.exe", ""},
        {"", ""},
        {"\"C:\\Tools\\quorvel.exe", ""},           // no closing quote
        {"\"C:\\Tools\\quorvel.exe\"abc 6", "abc 6"},  // only blanks after the quote
        {"\"\" 5", "5"},
        {"  quorvel.exe 6", "quorvel.exe 6"},       // a leading blank: the name stays
        {"quorvel.exe\t\r\n 6 29 00 ", "6 29 00 "},
        {"quorvel.exe \x01\x1f" "6", "6"},
        {"quorvel.exe !6", "!6"},                   // '!' is the first byte above the blanks
        // Bytes above 0x7F belong to the name (an accented letter in a path).
        {"C:\\Tools\\Ger\xe4t\\quorvel.exe 6 29", "6 29"},
        {"\xff\x80 2", "2"},
        {"quorvel.exe \xe4" "6", "\xe4" "6"},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.tail, ExtractCommandTail(c.commandLine)) << c.commandLine;
}

TEST(ExtractCommandTail, PointsIntoTheCommandLine) {
    const char* commandLine = "quorvel.exe 6";
    EXPECT_EQ(commandLine + 12, ExtractCommandTail(commandLine));
    EXPECT_EQ(nullptr, ExtractCommandTail(nullptr));
}

TEST(SeedFieldsFromTail, CutsTheFirstFiveCodeCharactersOneTwoTwo) {
    struct Case { const char *tail, *sk, *asc, *ascq; } cases[] = {
        {"", "?", "??", "??"},
        {nullptr, "?", "??", "??"},
        {"6/29/00", "6", "29", "00"},
        {"62900", "6", "29", "00"},
        {"6 29 00", "6", "29", "00"},
        {"6 29", "6", "29", "??"},
        {"3 5d 02", "3", "5D", "02"},
        {"3 5d 2", "3", "5D", "2?"},
        {"0x06", "0", "X0", "6?"},
        {"-sk 6", "S", "K6", "??"},
        {"629001234", "6", "29", "00"},
        {"??? 4", "?", "??", "4?"},
        {"\xe4\xff" "b-4d.00", "B", "4D", "00"},
        {"quorvel.exe 6", "Q", "UO", "RV"},
        // Both ends of each range, and just outside them.
        {"/0 9:", "0", "9?", "??"},
        {"@AZ[", "A", "Z?", "??"},
        {"`az{", "A", "Z?", "??"},
    };
    for (const Case& c : cases) {
        SeedTexts texts = SeedFieldsFromTail(c.tail);
        EXPECT_STREQ(c.sk, texts.sk) << (c.tail ? c.tail : "(null)");
        EXPECT_STREQ(c.asc, texts.asc) << (c.tail ? c.tail : "(null)");
        EXPECT_STREQ(c.ascq, texts.ascq) << (c.tail ? c.tail : "(null)");
    }
}

TEST(SeedFieldsFromTail, TakesTheTailOfARealCommandLine) {
    SeedTexts texts = SeedFieldsFromTail(ExtractCommandTail("C:\\Ger\xe4t\\quorvel.exe 4"));
    EXPECT_STREQ("4", texts.sk);
    EXPECT_STREQ("??", texts.asc);
    EXPECT_STREQ("??", texts.ascq);
}
