#include <gtest/gtest.h>

#include "query/field_entry.h"

TEST(IsAcceptedFieldChar, TakesHexDigitsQuestionMarkBackspaceAndCtrlVOnly) {
    for (unsigned code = 0; code < 256; ++code) {
        unsigned expected = 0;
        bool accepted = false;
        if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') || code == '?' || code == 8 || code == 0x16) {
            accepted = true;
            expected = code;
        } else if (code >= 'a' && code <= 'f') {
            accepted = true;
            expected = code - 'a' + 'A';
        }
        unsigned passOn = 0xDEAD;
        EXPECT_EQ(accepted, IsAcceptedFieldChar(code, &passOn)) << code;
        EXPECT_EQ(accepted ? expected : 0xDEAD, passOn) << code;
    }
}

TEST(IsAcceptedFieldChar, BothEndsOfEachRange) {
    struct Case { unsigned code; bool accepted; unsigned passOn; } cases[] = {
        {'/', false, 0}, {'0', true, '0'}, {'9', true, '9'}, {':', false, 0},
        {'@', false, 0}, {'A', true, 'A'}, {'F', true, 'F'}, {'G', false, 0},
        {'`', false, 0}, {'a', true, 'A'}, {'f', true, 'F'}, {'g', false, 0},
        {'>', false, 0}, {'?', true, '?'}, {7, false, 0},   {8, true, 8},     {9, false, 0},
        {0x15, false, 0}, {0x16, true, 0x16}, {0x17, false, 0},
    };
    for (const Case& c : cases) {
        unsigned passOn = 0;
        EXPECT_EQ(c.accepted, IsAcceptedFieldChar(c.code, &passOn)) << c.code;
        EXPECT_EQ(c.passOn, passOn) << c.code;
    }
}

TEST(IsAcceptedFieldChar, DropsCodesBeyondOneByte) {
    // Characters whose low byte is a hex digit must not slip through.
    for (unsigned code : {0x130u, 0x141u, 0x161u, 0x3Fu + 0x100u, 0x108u, 0xFF10u, 0x10041u,
                          0xFFFFFFFFu, 0x80000061u})
        EXPECT_FALSE(IsAcceptedFieldChar(code, nullptr)) << std::hex << code;
}

TEST(FieldAdvanceRule, MovesOnFromAFullSkOrAscField) {
    struct Case { FieldKind field; int length; FieldKind next; } cases[] = {
        {kFieldSk, 0, kNoField},    {kFieldSk, 1, kFieldAsc},    {kFieldSk, 2, kNoField},
        {kFieldAsc, 0, kNoField},   {kFieldAsc, 1, kNoField},    {kFieldAsc, 2, kFieldAscq},
        {kFieldAsc, 3, kNoField},   {kFieldAscq, 1, kNoField},   {kFieldAscq, 2, kNoField},
        {kNoField, 1, kNoField},    {kNoField, 2, kNoField},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.next, FieldAdvanceRule(c.field, c.length)) << c.field << " " << c.length;
}

TEST(FieldTextLimit, IsOneTwoTwo) {
    EXPECT_EQ(1, FieldTextLimit(kFieldSk));
    EXPECT_EQ(2, FieldTextLimit(kFieldAsc));
    EXPECT_EQ(2, FieldTextLimit(kFieldAscq));
}
