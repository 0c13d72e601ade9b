#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "query/column_sort.h"
#include "query/result_list.h"
#include "query/row_text.h"
#include "support/memory_list.h"

namespace {

// The rows of sense key 6, ASC 29, in table order: 6/29/00 to 6/29/04.
MemoryList& PowerOnRows() {
    MemoryList& list = ResetMemoryList("6", "29", "??");
    RebuildResultList(AsResultList(list));
    return list;
}

void Select(MemoryList& list, std::initializer_list<int> rows) {
    for (int row : rows) list.rows[row].selected = true;
}

// The text as the clipboard gets it: measured first, then written into
// exactly that room.
std::string CopiedText(MemoryList& list) {
    std::vector<PackedCode> codes(kSenseTableCount);
    codes.resize(SelectedRowCodes(AsResultList(list), codes.data(), kSenseTableCount));
    int length = RowsText(codes.data(), (int)codes.size(), nullptr, 0);
    std::vector<WideChar> text(length + 1, WideChar('#'));
    EXPECT_EQ(length, RowsText(codes.data(), (int)codes.size(), text.data(), length + 1));
    EXPECT_EQ(0, text[length]) << "terminated";
    std::string ascii;
    for (int i = 0; i < length; ++i) ascii += (char)text[i];
    return ascii;
}

}  // namespace

TEST(SelectedRowsText, OneLineARowTabsBetweenCellsCrLfBetweenLines) {
    struct Case { const char* what; std::initializer_list<int> selected; const char* text; } cases[] = {
        {"no row", {}, ""},
        {"one row", {2}, "6\t29\t02\tbus reset occurred"},
        {"the first and last rows, in the list's order", {4, 0},
         "6\t29\t00\tpower on, reset, or bus device reset occurred\r\n"
         "6\t29\t04\tdevice internal reset"},
    };
    for (const Case& c : cases) {
        MemoryList& list = PowerOnRows();
        Select(list, c.selected);
        EXPECT_EQ(c.text, CopiedText(list)) << c.what;
    }
}

TEST(SelectedRowsText, FollowsTheSortedOrder) {
    MemoryList& list = PowerOnRows();
    Select(list, {1, 2, 3});  // 6/29/01, 02 and 03
    OnColumnClick(kColumnDescription);
    EXPECT_EQ("6\t29\t03\tbus device reset function occurred\r\n"
              "6\t29\t02\tbus reset occurred\r\n"
              "6\t29\t01\tpower on occurred",
              CopiedText(list));
}

TEST(SelectedRowsText, WritesNoMoreThanItsRoomAndStillCountsTheWhole) {
    MemoryList& list = PowerOnRows();
    Select(list, {0, 1});
    const int whole = 2 * 3 + 2 + 2 * 5 + 45 + 17;  // tabs, CR LF, codes, two descriptions
    std::vector<PackedCode> stored(kSenseTableCount, 0xDEAD);
    EXPECT_EQ(1, SelectedRowCodes(AsResultList(list), stored.data(), 1));
    EXPECT_EQ(0xDEADu, stored[1]) << "a code stored past its room";
    EXPECT_EQ(2, SelectedRowCodes(AsResultList(list), stored.data(), kSenseTableCount)) << "two of five rows";
    EXPECT_EQ(0, RowsText(&stored[kSenseTableCount - 1], 1, nullptr, 0)) << "a code the table lacks";
    WideChar text[10];
    for (WideChar& unit : text) unit = '#';
    EXPECT_EQ(whole, RowsText(stored.data(), 2, text, 9));
    EXPECT_EQ(Utf16("6\t29\t00\t"), WideString(text));
    EXPECT_EQ('#', text[9]) << "written past its room";
    EXPECT_EQ(whole, RowsText(stored.data(), 2, text, 0));
    EXPECT_EQ('6', text[0]) << "no room: nothing written";
}
