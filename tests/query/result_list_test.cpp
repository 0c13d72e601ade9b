#include <gtest/gtest.h>

#include "query/column_sort.h"
#include "query/process_state.h"
#include "query/result_list.h"
#include "support/memory_list.h"

namespace {

// Codes of all table entries whose five-digit rendering matches.
std::string ExpectedCodes(bool (*keep)(const SenseEntry&)) {
    std::string codes;
    for (int i = 0; i < kSenseTableCount; ++i) {
        const SenseEntry& e = SenseTable[i];
        if (!keep(e)) continue;
        char code[16];
        std::snprintf(code, sizeof code, "%s%05X", codes.empty() ? "" : ",", (unsigned)e.code);
        codes += code;
    }
    return codes;
}

}  // namespace

TEST(RebuildResultList, ListsTheMatchingEntriesInTableOrder) {
    struct Case { const char *sk, *asc, *ascq; int rows; const char* codes; } cases[] = {
        {"6", "29", "??", 5, "62900,62901,62902,62903,62904"},
        {"?", "4", "??", 7, "20400,20401,20402,20403,20404,20407,20408"},
        {"?", "5d", "0", 2, "15D00,35D00"},
        {"b", "??", "??", 6, "B0006,B1111,B4500,B4800,B4900,B4D00"},
        {"0", "??", "??", 0, ""},
        {"X", "??", "??", 0, ""},
        {"?", "??", "X", 0, ""},
        {"3", "5D", "2?", 0, ""},
        {"5", "6F", "08", 1, "56F08"},
        {"3", "0C", "0a", 1, "30C0A"},  // pasted lowercase is uppercased
    };
    for (const Case& c : cases) {
        MemoryList& list = ResetMemoryList(c.sk, c.asc, c.ascq);
        RebuildResultList(AsResultList(list));
        EXPECT_EQ(c.rows, list.rowCount) << c.sk << "/" << c.asc << "/" << c.ascq;
        EXPECT_EQ(c.codes, RowCodes(list)) << c.sk << "/" << c.asc << "/" << c.ascq;
    }
}

TEST(RebuildResultList, CharactersBeyondAsciiMatchNothing) {
    // Read as ANSI text, 'Zhe' would arrive as the wildcard '?' and a
    // fullwidth '7' as '7'. Cut to their low byte, U+013F would be '?',
    // U+0137 '7' and U+0144 'D'. Each would list rows.
    struct Case { WideString sk, asc, ascq; int rows; } cases[] = {
        {{'7'}, {'2', '7'}, {'?'}, 7},
        {{'?'}, {'2', '7'}, {'?'}, 7},
        {{0x0416}, {'2', '7'}, {'?'}, 0},
        {{0xFF17}, {'2', '7'}, {'?'}, 0},
        {{0x00E4}, {'2', '7'}, {'?'}, 0},
        {{0xD83D}, {'2', '7'}, {'?'}, 0},
        {{0x013F}, {'2', '7'}, {'?'}, 0},
        {{0x0137}, {'2', '7'}, {'?'}, 0},
        {{'3'}, {'5', 'D'}, {'0', '2'}, 1},
        {{'3'}, {'5', 0x0144}, {'0', '2'}, 0},
    };
    for (const Case& c : cases) {
        MemoryList& list = ResetMemoryList();
        list.skText = c.sk;
        list.ascText = c.asc;
        list.ascqText = c.ascq;
        RebuildResultList(AsResultList(list));
        EXPECT_EQ(c.rows, list.rowCount) << std::hex << (unsigned)c.sk[0] << " " << (unsigned)c.asc[1];
    }
}

TEST(RebuildResultList, WideQueriesGiveWholeGroupsOfTheTable) {
    struct Case { const char *sk, *asc, *ascq; int rows; bool (*keep)(const SenseEntry&); } cases[] = {
        {"?", "??", "??", 216, [](const SenseEntry&) { return true; }},
        {"", "", "", 216, [](const SenseEntry&) { return true; }},
        {"6", "??", "??", 40, [](const SenseEntry& e) { return e.senseKey == 6; }},
        {"5", "", "", 51, [](const SenseEntry& e) { return e.senseKey == 5; }},
        {"?", "?", "??", 31, [](const SenseEntry& e) { return e.asc <= 0x0F; }},
    };
    for (const Case& c : cases) {
        MemoryList& list = ResetMemoryList(c.sk, c.asc, c.ascq);
        RebuildResultList(AsResultList(list));
        EXPECT_EQ(c.rows, list.rowCount) << c.sk << "/" << c.asc << "/" << c.ascq;
        EXPECT_EQ(ExpectedCodes(c.keep), RowCodes(list));
    }
}

TEST(RebuildResultList, FillsFourCellsAndTheItemData) {
    MemoryList& list = ResetMemoryList("?", "??", "??");
    RebuildResultList(AsResultList(list));
    ASSERT_EQ(216, list.rowCount);
    struct Case { int row; const char *sk, *asc, *ascq, *description; PackedCode code; } cases[] = {
        {0, "1", "0B", "00", "warning", 0x10B00},
        {19, "1", "18", "08", "recovered data  with linking", 0x11808},
        {24, "1", "5D", "FF", "failure prediction threshold exceeded (false)", 0x15DFF},
        {215, "B", "4D", "00", "tagged overlapped commands (nn = queue tag)", 0xB4D00},
    };
    for (const Case& c : cases) {
        const MemoryRow& row = list.rows[c.row];
        EXPECT_EQ(Utf16(c.sk), row.cells[0]);
        EXPECT_EQ(Utf16(c.asc), row.cells[1]);
        EXPECT_EQ(Utf16(c.ascq), row.cells[2]);
        EXPECT_EQ(Utf16(c.description), row.cells[3]);
        EXPECT_EQ(c.code, row.itemData);
    }
    EXPECT_EQ(216, list.insertCalls);
}

TEST(RebuildResultList, ReplacesTheRowsOfTheLastQuery) {
    MemoryList& list = ResetMemoryList("6", "??", "??");
    RebuildResultList(AsResultList(list));
    list.skText = Utf16("7");
    RebuildResultList(AsResultList(list));
    EXPECT_EQ("72700,72701,72702,72703,72704,72705,72706", RowCodes(list));
    EXPECT_EQ(2, list.deleteAllCalls);
}

TEST(RebuildResultList, DoesNothingBeforeTheListExists) {
    MemoryList& list = ResetMemoryList();
    RebuildResultList(nullptr);
    EXPECT_EQ(0, list.deleteAllCalls);
    EXPECT_EQ(0, list.insertCalls);
}

TEST(RebuildResultList, RestoresTableOrderButLeavesTheSortAlone) {
    MemoryList& list = ResetMemoryList("6", "29", "??");
    RebuildResultList(AsResultList(list));
    OnColumnClick(2);
    OnColumnClick(2);
    ASSERT_EQ("62904,62903,62902,62901,62900", RowCodes(list));  // ASCQ, descending

    list.ascqText = Utf16("?");
    RebuildResultList(AsResultList(list));
    list.ascqText = Utf16("??");
    RebuildResultList(AsResultList(list));
    EXPECT_EQ("62900,62901,62902,62903,62904", RowCodes(list));
    EXPECT_EQ(2, gSortState.column);
    EXPECT_FALSE(gSortState.ascending[2]);
    EXPECT_EQ(kHeaderSortDown, list.headerFormat[2]);
}
