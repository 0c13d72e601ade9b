#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/sense_table.h"
#include "query/text.h"
#include "support/memory_list.h"

// The table's invariants are proved at compile time; these check what the
// compiler cannot: texts and spots a reader would compare with the source.

TEST(SenseTable, FirstAndLastCodesRenderAsFiveDigits) {
    WideChar first[9], last[9];
    FormatHex(SenseTable[0].code, 5, first);
    FormatHex(SenseTable[kSenseTableCount - 1].code, 5, last);
    EXPECT_EQ(Utf16("10B00"), first);
    EXPECT_EQ(Utf16("B4D00"), last);
}

TEST(SenseTable, SampledEntriesCarryTheirExactTexts) {
    struct Case { PackedCode code; const char* description; } cases[] = {
        {0x10B00, "warning"},
        {0x11808, "recovered data  with linking"},
        {0x15D03, "failure prediction threshold exceeded - predicted spare area exhaustion"},
        {0x15DFF, "failure prediction threshold exceeded (false)"},
        {0x35D00, "failure prediction threshold exceeded"},
        {0x40017, "cleaning requested"},
        {0x56F05, "logical unit region must be permanent/region reset count error"},
        {0x72706, "conditional write protect"},
        {0xB4D00, "tagged overlapped commands (nn = queue tag)"},
    };
    for (const Case& c : cases) {
        int index = FindSenseEntry(c.code);
        ASSERT_GE(index, 0) << std::hex << c.code;
        EXPECT_STREQ(c.description, SenseTable[index].description);
    }
}

TEST(SenseTable, FindsEveryEntryAndNothingElse) {
    for (int i = 0; i < kSenseTableCount; ++i) EXPECT_EQ(i, FindSenseEntry(SenseTable[i].code));
    for (PackedCode missing : {0u, 0x10B03u, 0x203FFu, 0xB4D01u, 0xFFFFFu, 0xFFFFFFFFu})
        EXPECT_EQ(-1, FindSenseEntry(missing)) << std::hex << missing;
}

// FNV-1a (32 bits) over every entry's code, low byte first, and description
// with its terminator, in table order: any changed character, code or row
// changes it. The literal was taken once from the reviewed table; a
// deliberate change of the table must update it.
TEST(SenseTable, MatchesTheReviewedTable) {
    uint32_t hash = 2166136261u;
    auto add = [&hash](unsigned char byte) { hash = (hash ^ byte) * 16777619u; };
    for (int i = 0; i < kSenseTableCount; ++i) {
        for (int shift = 0; shift < 32; shift += 8) add((unsigned char)(SenseTable[i].code >> shift));
        const char* p = SenseTable[i].description;
        do add((unsigned char)*p); while (*p++);
    }
    EXPECT_EQ(0xAA8847DEu, hash) << std::hex << hash;
}
