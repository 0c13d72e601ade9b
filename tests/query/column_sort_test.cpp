#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "query/column_sort.h"
#include "query/process_state.h"
#include "query/result_list.h"
#include "support/memory_list.h"

namespace {

MemoryList& FilledList(const char* sk, const char* asc = "??", const char* ascq = "??") {
    MemoryList& list = ResetMemoryList(sk, asc, ascq);
    RebuildResultList(AsResultList(list));
    return list;
}

// Cell column of table entry i as the list must show it, written the plain way.
std::string PlainCell(int i, int column) {
    const SenseEntry& e = SenseTable[i];
    char text[16];
    switch (column) {
        case kColumnSk: std::snprintf(text, sizeof text, "%X", e.senseKey); return text;
        case kColumnAsc: std::snprintf(text, sizeof text, "%02X", e.asc); return text;
        case kColumnAscq: std::snprintf(text, sizeof text, "%02X", e.ascq); return text;
        default: return e.description;
    }
}

// The test's own case-insensitive order of ASCII texts.
bool PlainLess(std::string a, std::string b) {
    for (char& c : a) c = (char)std::tolower((unsigned char)c);
    for (char& c : b) c = (char)std::tolower((unsigned char)c);
    return a < b;
}

int ArrowCount(const MemoryList& list) {
    int arrows = 0;
    for (int format : list.headerFormat) arrows += (format & (kHeaderSortUp | kHeaderSortDown)) != 0;
    return arrows;
}

}  // namespace

TEST(OnColumnClick, FirstClickAscendsSecondDescends) {
    MemoryList& list = FilledList("6", "29");
    OnColumnClick(2);
    EXPECT_EQ("00,01,02,03,04", ColumnText(list, 2));
    EXPECT_EQ(kHeaderSortUp, list.headerFormat[2]);
    EXPECT_EQ(1, ArrowCount(list));

    OnColumnClick(2);
    EXPECT_EQ("04,03,02,01,00", ColumnText(list, 2));
    EXPECT_EQ(kHeaderSortDown, list.headerFormat[2]);
    EXPECT_EQ(1, ArrowCount(list));
}

TEST(OnColumnClick, EachColumnRemembersItsDirection) {
    MemoryList& list = FilledList("?");
    OnColumnClick(1);
    OnColumnClick(1);  // ASC descending
    OnColumnClick(3);  // Description ascending: the arrow moves
    EXPECT_EQ(kHeaderSortUp, list.headerFormat[3]);
    EXPECT_EQ(0, list.headerFormat[1]);
    EXPECT_EQ(1, ArrowCount(list));

    OnColumnClick(1);  // ASC again: still descending
    EXPECT_FALSE(gSortState.ascending[1]);
    EXPECT_EQ(kHeaderSortDown, list.headerFormat[1]);
    EXPECT_EQ(0, list.headerFormat[3]);
    EXPECT_EQ("73", ColumnText(list, 1).substr(0, 2));
    EXPECT_EQ("00", ColumnText(list, 1).substr(ColumnText(list, 1).size() - 2));
}

TEST(OnColumnClick, KeepsOtherHeaderFlags) {
    MemoryList& list = FilledList("7");
    const int kAlignRight = 0x0001, kString = 0x4000;
    list.headerFormat[0] = kString | kAlignRight;
    list.headerFormat[3] = kString;
    OnColumnClick(0);
    OnColumnClick(3);
    EXPECT_EQ(kString | kAlignRight, list.headerFormat[0]);
    EXPECT_EQ(kString | kHeaderSortUp, list.headerFormat[3]);
}

TEST(OnColumnClick, IgnoresColumnsThatDoNotExist) {
    MemoryList& list = FilledList("6", "29");
    for (int column : {-1, 4, 1000}) OnColumnClick(column);
    EXPECT_EQ(kNoSortColumn, gSortState.column);
    EXPECT_EQ(0, list.orderCalls);
    EXPECT_EQ(0, ArrowCount(list));
}

TEST(SortByColumn, OrdersEveryColumnBothWays) {
    // Each sort of the full table must give the order the test works out by
    // itself: the entries stably sorted by their cell texts, written with
    // printf, under a plain case-insensitive compare, each row whole.
    // Description is compared so only where the comparator is the ASCII case
    // fold; lstrcmpiW weighs punctuation its own way, so under Windows every
    // neighbouring pair is checked with lstrcmpiW itself.
    MemoryList& list = FilledList("?");
    for (int column = 0; column < kColumnCount; ++column) {
        for (bool ascending : {true, false}) {
            RebuildResultList(AsResultList(list));  // table order, so equal texts stay in it
            gSortState.ascending[column] = ascending;
            SortByColumn(column);
            ASSERT_EQ(216, list.rowCount);
            std::vector<int> expected(kSenseTableCount);
            for (int i = 0; i < kSenseTableCount; ++i) expected[i] = i;
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                std::string textA = PlainCell(a, column), textB = PlainCell(b, column);
                return ascending ? PlainLess(textA, textB) : PlainLess(textB, textA);
            });
            for (int row = 0; row < list.rowCount; ++row) {
                const MemoryRow& r = list.rows[row];
                int entry = expected[row];
#if defined(_WIN32)
                if (column == kColumnDescription) {
                    if (row > 0) {
                        int order = lstrcmpiW(list.rows[row - 1].cells[column].c_str(), r.cells[column].c_str());
                        EXPECT_TRUE(ascending ? order <= 0 : order >= 0) << (ascending ? "up" : "down") << " row " << row;
                    }
                    entry = FindSenseEntry(r.itemData);
                    ASSERT_GE(entry, 0);
                }
#endif
                EXPECT_EQ(SenseTable[entry].code, r.itemData) << "row " << row << ", by " << column << " " << ascending;
                for (int cell = 0; cell < kColumnCount; ++cell)
                    ASSERT_EQ(Utf16(PlainCell(entry, cell).c_str()), r.cells[cell])
                        << "row " << row << " cell " << cell << ", by " << column << " " << ascending;
            }
        }
    }
}

TEST(OnColumnClick, DescriptionDescendingPutsWriteProtectedFirst) {
    MemoryList& list = FilledList("?");
    OnColumnClick(3);
    OnColumnClick(3);
    std::string descriptions = "|" + ColumnText(list, 3, "|") + "|";
    EXPECT_EQ(0u, descriptions.find("|zoned formatting failed due to spare linking|"));
    EXPECT_LT(descriptions.find("|write protected|"), descriptions.find("|warning|"));
    EXPECT_LT(descriptions.find("|warning|"), descriptions.find("|voltage fault|"));
}

TEST(CompareRows, ComparesTextIgnoringCaseDigitsFirst) {
    MemoryList& list = ResetMemoryList();
    const char* texts[] = {"0B", "1A", "a1", "A1", "ff", "09", "abc", "ABD", "@", "`", "Z", "z", "[", "{"};
    for (int i = 0; i < 14; ++i) ListInsertRow(AsResultList(list), i, Utf16(texts[i]).c_str(), i);
    gSortState.column = 0;
    EXPECT_LT(CompareRows(0, 1, 0), 0);   // 0B < 1A
    EXPECT_LT(CompareRows(5, 0, 0), 0);   // 09 < 0B: digits before letters
    EXPECT_LT(CompareRows(1, 2, 0), 0);   // 1A < a1
    EXPECT_EQ(0, CompareRows(2, 3, 0));   // a1 == A1
    EXPECT_EQ(0, CompareRows(4, 4, 0));
    EXPECT_LT(CompareRows(6, 7, 0), 0);   // abc < ABD
    // Both ends of A-Z fold on either side of the comparison, and the bytes
    // beside them do not: Z == z, @ != `, [ != {.
    const struct { int upper, lower; bool fold; } ends[] = {{10, 11, true}, {8, 9, false}, {12, 13, false}};
    for (const auto& e : ends) {
        EXPECT_EQ(e.fold, CompareRows(e.upper, e.lower, 0) == 0) << texts[e.upper] << texts[e.lower];
        EXPECT_EQ(e.fold, CompareRows(e.lower, e.upper, 0) == 0) << texts[e.lower] << texts[e.upper];
    }
    gSortState.ascending[0] = false;
    EXPECT_GT(CompareRows(0, 1, 0), 0);
    EXPECT_EQ(0, CompareRows(3, 2, 0));
}

TEST(OrderRowsByColumn, IsStableForEqualTexts) {
    MemoryList& list = FilledList("?", "30");  // sense keys 2 and 5, nine and twelve rows
    gSortState.column = 0;
    int order[kSenseTableCount];
    int count = OrderRowsByColumn(order, list.rowCount, 0);
    ASSERT_EQ(21, count);
    for (int i = 1; i < count; ++i) EXPECT_LT(order[i - 1], order[i]);  // already ordered: untouched

    gSortState.ascending[0] = false;
    OrderRowsByColumn(order, list.rowCount, 0);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(9 + i, order[i]);  // key 5 first, in table order
    for (int i = 0; i < 9; ++i) EXPECT_EQ(i, order[12 + i]);
}

TEST(OrderRowsByColumn, CutsTheCountToTheTable) {
    FilledList("?");
    int order[kSenseTableCount];
    EXPECT_EQ(kSenseTableCount, OrderRowsByColumn(order, 100000, 1));
    EXPECT_EQ(0, OrderRowsByColumn(order, -5, 1));
}
