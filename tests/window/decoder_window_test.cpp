#include "decoder_fixture.h"

#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "query/pasted_code.h"

namespace {

struct FieldState { const char *sk, *asc, *ascq; int focus; int rows; };

// What the list receives that switches its drawing or changes its rows, in
// order, by name.
std::vector<std::string> gListMessages;

LRESULT CALLBACK RecordListMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    static const struct { UINT message; const char* name; } recorded[] = {
        {LVM_DELETEALLITEMS, "delete all"}, {LVM_DELETEITEM, "delete"},   {LVM_INSERTITEMW, "insert"},
        {LVM_INSERTITEMA, "insert"},        {LVM_SETITEMW, "set"},        {LVM_SETITEMA, "set"},
        {LVM_SETITEMTEXTW, "set"},          {LVM_SETITEMTEXTA, "set"},    {LVM_SORTITEMS, "sort"},
        {LVM_SORTITEMSEX, "sort"},
    };
    if (message == WM_SETREDRAW) gListMessages.push_back(wParam ? "redraw on" : "redraw off");
    for (const auto& r : recorded)
        if (message == r.message) gListMessages.push_back(r.name);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

TEST_F(DecoderWindowTest, OpensWithTheTemplateTextsAndEveryRow) {
    Open();
    EXPECT_EQ("?", Text(IDC_SK));
    EXPECT_EQ("??", Text(IDC_ASC));
    EXPECT_EQ("??", Text(IDC_ASCQ));
    EXPECT_EQ("SK/ASC/ASCQ:", Text(IDC_LABEL));
    EXPECT_EQ(IDC_SK, FocusedId());
    ASSERT_EQ(216, RowCount());
    EXPECT_EQ(L"1", Cell(0, 0));
    EXPECT_EQ(L"0B", Cell(0, 1));
    EXPECT_EQ(L"00", Cell(0, 2));
    EXPECT_EQ(L"warning", Cell(0, 3));
    EXPECT_EQ(L"recovered data  with linking", Cell(19, 3));
    EXPECT_EQ(L"tagged overlapped commands (nn = queue tag)", Cell(215, 3));
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = 215;
    SendMessageW(List(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(0xB4D00, item.lParam);
}

TEST_F(DecoderWindowTest, SetsUpFieldsListAndIcon) {
    Open();
    EXPECT_EQ(1, SendMessageW(Item(IDC_SK), EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(2, SendMessageW(Item(IDC_ASC), EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(2, SendMessageW(Item(IDC_ASCQ), EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(0x00010020, SendMessageW(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_NE(0, SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(0, SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));

    const wchar_t* titles[] = {L"SK", L"ASC", L"ASCQ", L"Description"};
    for (int column = 0; column < kColumnCount; ++column) {
        wchar_t title[32] = {0};
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT;
        info.pszText = title;
        info.cchTextMax = 32;
        SendMessageW(List(), LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(titles[column], title);
    }
    EXPECT_EQ(50, SendMessageW(List(), LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(50, SendMessageW(List(), LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(50, SendMessageW(List(), LVM_GETCOLUMNWIDTH, 2, 0));
}

TEST_F(DecoderWindowTest, ColumnsFillTheListLeavingRoomForAScrollBar) {
    Open("0");  // no rows, so no scroll bar: the client width is the one the dialog opened with
    ASSERT_EQ(0, RowCount());
    RECT client;
    GetClientRect(List(), &client);
    LRESULT widths = 0;
    for (int column = 0; column < kColumnCount; ++column) widths += SendMessageW(List(), LVM_GETCOLUMNWIDTH, column, 0);
    EXPECT_EQ(client.right - GetSystemMetrics(SM_CXBORDER) - GetSystemMetrics(SM_CXVSCROLL), widths);
}

TEST_F(DecoderWindowTest, OnAScreenItFitsTheWindowIsAsTheTemplateMakesIt) {
    // The tests' screen, 1280 x 1024 at 96 DPI, holds the whole window: its
    // client area and the list are as large as the template makes them.
    Open();
    struct Placed { HWND window; RECT units; } items[] = {{dialog, {0, 0, 600, 317}}, {List(), {0, 17, 600, 317}}};
    for (Placed& item : items) {
        MapDialogRect(dialog, &item.units);
        RECT actual;
        if (item.window == dialog) GetClientRect(dialog, &actual);
        else actual = ChildRect(item.window);
        EXPECT_TRUE(EqualRect(&item.units, &actual))
            << GetDlgCtrlID(item.window) << ": " << actual.left << "," << actual.top << "," << actual.right << ","
            << actual.bottom << " for the template's " << item.units.left << "," << item.units.top << ","
            << item.units.right << "," << item.units.bottom;
    }
}

TEST_F(DecoderWindowTest, TypedCharactersPassTheFilter) {
    Open();
    Type(IDC_SK, "g /");
    EXPECT_EQ("?", Text(IDC_SK));
    EXPECT_EQ(IDC_SK, FocusedId());
    Type(IDC_SK, "\b");  // backspace works as usual
    EXPECT_EQ("", Text(IDC_SK));
    EXPECT_EQ(216, RowCount());
    Type(IDC_SK, "b");   // arrives uppercase, and the focus moves on
    EXPECT_EQ("B", Text(IDC_SK));
    EXPECT_EQ(IDC_ASC, FocusedId());
    EXPECT_EQ(6, RowCount());
    Type(IDC_ASC, "Gz4d");
    EXPECT_EQ("4D", Text(IDC_ASC));
    EXPECT_EQ(1, RowCount());
}

TEST_F(DecoderWindowTest, FocusMovesOnWithTheNextTextSelected) {
    Open();
    // Each step: the field typed into and the characters, then what shows.
    struct Step { int field; const char* typed; FieldState after; } steps[] = {
        {IDC_SK, "3", {"3", "??", "??", IDC_ASC, 37}},
        {IDC_ASC, "5", {"3", "5", "??", IDC_ASC, 0}},     // '5' replaced the selected '??'
        {IDC_ASC, "\b", {"3", "", "??", IDC_ASC, 37}},
        {IDC_ASC, "5d", {"3", "5D", "??", IDC_ASCQ, 4}},
        {IDC_ASCQ, "0", {"3", "5D", "0", IDC_ASCQ, 1}},   // a single digit is the low one: 00
        {IDC_ASCQ, "2", {"3", "5D", "02", IDC_ASCQ, 1}},
        {IDC_ASCQ, "7", {"3", "5D", "02", IDC_ASCQ, 1}},  // full: nothing more is taken
    };
    for (const Step& step : steps) {
        Type(step.field, step.typed);
        EXPECT_EQ(step.after.sk, Text(IDC_SK)) << step.typed;
        EXPECT_EQ(step.after.asc, Text(IDC_ASC)) << step.typed;
        EXPECT_EQ(step.after.ascq, Text(IDC_ASCQ)) << step.typed;
        EXPECT_EQ(step.after.focus, FocusedId()) << step.typed;
        EXPECT_EQ(step.after.rows, RowCount()) << step.typed;
    }
    DWORD start = 1, end = 0;
    SetFocus(Item(IDC_SK));
    Type(IDC_SK, "\b");  // deleting the SK digit leaves the focus where it is
    EXPECT_EQ(IDC_SK, FocusedId());
    Type(IDC_SK, "5");
    SendMessageW(Item(IDC_ASC), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(IDC_ASC, FocusedId());
    EXPECT_EQ(0u, start);
    EXPECT_EQ(2u, end);
}

TEST_F(DecoderWindowTest, FieldTextOutsideTheCodePageMatchesNothing) {
    // Set as UTF-16, as a paste or another program's WM_SETTEXT brings it.
    // Read as ANSI text, 'Zhe' would arrive as '?' and the fullwidth '7' as
    // '7', and either would list the seven rows 7/27/xx.
    // Cut to their low byte, U+013F would be '?', U+0137 '7' and U+0142 'B'.
    Open("7 27");
    SetWindowTextA(Item(IDC_ASCQ), "?");
    ASSERT_EQ(7, RowCount());
    for (const wchar_t* text : {L"\x0416", L"\xFF17", L"\x00E4", L"\x013F", L"\x0137"}) {
        SetWindowTextW(Item(IDC_SK), text);
        EXPECT_EQ(0, RowCount()) << std::hex << static_cast<unsigned>(text[0]);
    }
    SetWindowTextA(Item(IDC_ASCQ), "??");
    SetWindowTextA(Item(IDC_ASC), "??");
    SetWindowTextA(Item(IDC_SK), "B");
    ASSERT_EQ(6, RowCount());
    SetWindowTextW(Item(IDC_SK), L"\x0142");
    EXPECT_EQ(0, RowCount());
}

TEST_F(DecoderWindowTest, CommandLineTailSeedsTheFields) {
    struct Case { const char* tail; FieldState shows; } cases[] = {
        {"6 29", {"6", "29", "??", IDC_SK, 5}},
        {"3 5d 2", {"3", "5D", "2?", IDC_SK, 0}},
        {"-sk 6", {"S", "K6", "??", IDC_SK, 0}},
        {"b", {"B", "??", "??", IDC_SK, 6}},
        {"", {"?", "??", "??", IDC_SK, 216}},
    };
    for (const Case& c : cases) {
        Open(c.tail);
        EXPECT_EQ(c.shows.sk, Text(IDC_SK)) << c.tail;
        EXPECT_EQ(c.shows.asc, Text(IDC_ASC)) << c.tail;
        EXPECT_EQ(c.shows.ascq, Text(IDC_ASCQ)) << c.tail;
        EXPECT_EQ(c.shows.focus, FocusedId()) << c.tail;
        EXPECT_EQ(c.shows.rows, RowCount()) << c.tail;
        DestroyWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(DecoderWindowTest, HeaderClicksSortEveryColumnBothWays) {
    Open();
    int formatBefore[kColumnCount];
    for (int column = 0; column < kColumnCount; ++column) formatBefore[column] = HeaderFormat(column);
    for (int column = 0; column < kColumnCount; ++column) {
        for (int click = 0; click < 2; ++click) {
            ClickHeader(column);
            bool ascending = click == 0;
            ASSERT_EQ(216, RowCount());
            std::vector<std::wstring> cells;
            for (int row = 0; row < 216; ++row) cells.push_back(Cell(row, column));
            for (int row = 1; row < 216; ++row) {
                int order = lstrcmpiW(cells[row - 1].c_str(), cells[row].c_str());
                EXPECT_TRUE(ascending ? order <= 0 : order >= 0)
                    << "column " << column << (ascending ? " up" : " down") << " row " << row;
            }
            // Only the arrow changes; every other format flag stays.
            for (int other = 0; other < kColumnCount; ++other) {
                int arrow = other != column ? 0 : ascending ? HDF_SORTUP : HDF_SORTDOWN;
                EXPECT_EQ(formatBefore[other] | arrow, HeaderFormat(other))
                    << "header " << other << " after sorting column " << column << (ascending ? " up" : " down");
            }
        }
    }
}

TEST_F(DecoderWindowTest, SortCommandsDoWhatHeaderClicksDo) {
    // The same columns in the same order, once by header clicks and once by
    // the list menu's sort commands: after each, the header's arrows and
    // the rows' order must be the same. Repeats flip a direction; a column
    // sorted again later keeps the direction it had.
    const int columns[] = {kColumnDescription, kColumnDescription, kColumnAsc, kColumnDescription,
                           kColumnAsc, kColumnSk, kColumnAscq, kColumnAscq};
    std::function<void(int)> ways[] = {
        [&](int column) { ClickHeader(column); },
        [&](int column) { SendMessageW(dialog, WM_COMMAND, IDM_SORT_BY_SK + column, 0); },
    };
    std::vector<std::string> seen[2];
    for (int way = 0; way < 2; ++way) {
        Open("? 3?");  // 46 rows with many equal cells in the code columns
        for (int column : columns) {
            ways[way](column);
            std::string arrows;
            for (int c = 0; c < kColumnCount; ++c) arrows += std::to_string(HeaderFormat(c)) + " ";
            seen[way].push_back(arrows + "/ " + Column(kColumnDescription) + " / " + Column(kColumnAscq));
        }
        DestroyWindow(dialog);
        dialog = nullptr;
    }
    ASSERT_EQ(seen[0].size(), seen[1].size());
    for (size_t step = 0; step < seen[0].size(); ++step)
        EXPECT_EQ(seen[0][step], seen[1][step]) << "after step " << step << ", sorting column " << columns[step];
}

TEST_F(DecoderWindowTest, SortKeepsRowsWholeAndRemembersDirections) {
    Open("6 29");
    ClickHeader(3);  // Description, ascending
    EXPECT_EQ("bus device reset function occurred,bus reset occurred,device internal reset,"
              "power on occurred,power on, reset, or bus device reset occurred",
              Column(3));
    EXPECT_EQ("03,02,04,01,00", Column(2));  // each row's cells stay together
    ClickHeader(2);
    ClickHeader(2);  // ASCQ descending
    ClickHeader(3);  // Description again: ascending, as it was
    EXPECT_EQ("03,02,04,01,00", Column(2));
    ClickHeader(2);  // ASCQ again: descending, as it was
    EXPECT_EQ("04,03,02,01,00", Column(2));
    EXPECT_EQ(HDF_SORTDOWN, HeaderFormat(2) & (HDF_SORTUP | HDF_SORTDOWN));

    Type(IDC_ASCQ, "\b\b");  // a rebuild: table order, the arrow stays
    EXPECT_EQ("00,01,02,03,04", Column(2));
    EXPECT_EQ(HDF_SORTDOWN, HeaderFormat(2) & (HDF_SORTUP | HDF_SORTDOWN));
    ClickHeader(2);  // the next click inverts the remembered direction
    EXPECT_EQ("00,01,02,03,04", Column(2));
    EXPECT_EQ(HDF_SORTUP, HeaderFormat(2) & (HDF_SORTUP | HDF_SORTDOWN));
}

TEST_F(DecoderWindowTest, RowsChangeOnlyWhileTheListIsNotDrawn) {
    // Each row change of a rebuild or a sort comes after one "redraw off"
    // and before one "redraw on": the list is drawn once, whole.
    Open("? 5d 00");  // two rows, 1/5D/00 and 3/5D/00
    ASSERT_EQ(2, RowCount());
    struct Case { const char* what; std::function<void()> act; std::vector<std::string> expected; } cases[] = {
        {"a field change",  // '0' is '00': the same two rows, each inserted and given three cells
         [&] { SetWindowTextA(Item(IDC_ASCQ), "0"); },
         {"redraw off", "delete all", "insert", "set", "set", "set", "insert", "set", "set", "set", "redraw on"}},
        {"a header click", [&] { ClickHeader(3); }, {"redraw off", "sort", "redraw on"}},
    };
    SetWindowSubclass(List(), RecordListMessages, 1, 0);
    for (const Case& c : cases) {
        gListMessages.clear();
        c.act();
        EXPECT_EQ(c.expected, gListMessages) << c.what;
        EXPECT_EQ(2, RowCount()) << c.what;
    }
    RemoveWindowSubclass(List(), RecordListMessages, 1);
}

TEST_F(DecoderWindowTest, EnterKeepsTheDialogAndEscapeEndsIt) {
    Open("6 29");
    MSG enter = {Item(IDC_SK), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
    SetFocus(Item(IDC_SK));
    EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(5, RowCount());
    EXPECT_EQ("6", Text(IDC_SK));

    MSG escape = {Item(IDC_SK), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageW(dialog, &escape));
    EXPECT_FALSE(IsWindowVisible(dialog));  // EndDialog hides a modeless dialog
}

TEST_F(DecoderWindowTest, ResizingKeepsListAndLinkInPlace) {
    Open();
    RECT listBefore = ChildRect(List());
    HWND link = Item(IDC_LINK);
    RECT linkBefore = ChildRect(link);
    LRESULT descriptionWidth = SendMessageW(List(), LVM_GETCOLUMNWIDTH, 3, 0);

    struct Size { int cx, cy; } sizes[] = {{1200, 700}, {300, 200}, {900, listBefore.top}, {500, 10}};
    for (const Size& size : sizes) {
        SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
        RECT list = ChildRect(List());
        RECT linkNow = ChildRect(link);
        EXPECT_EQ(listBefore.left, list.left);
        EXPECT_EQ(listBefore.top, list.top);
        EXPECT_EQ(size.cx, list.right - list.left) << size.cx;
        int height = size.cy - listBefore.top;
        EXPECT_EQ(height > 0 ? height : 0, list.bottom - list.top) << size.cy;
        EXPECT_EQ(size.cx - 4, linkNow.right) << size.cx;
        EXPECT_EQ(linkBefore.top, linkNow.top);
        EXPECT_EQ(linkBefore.right - linkBefore.left, linkNow.right - linkNow.left);
    }
    EXPECT_EQ(descriptionWidth, SendMessageW(List(), LVM_GETCOLUMNWIDTH, 3, 0));

    RECT listNow = ChildRect(List());
    SendMessageW(dialog, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    RECT listMinimised = ChildRect(List());
    EXPECT_TRUE(EqualRect(&listNow, &listMinimised));
}

TEST_F(DecoderWindowTest, TheProcedureLeavesUnhandledMessagesToTheDialogManager) {
    // FALSE hands a message back to the dialog manager's own default work;
    // TRUE says it was handled. Sent to the procedure itself, in this order.
    Open("6 29");
    NMLISTVIEW columnClick = {};
    columnClick.hdr = {List(), IDC_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    columnClick.iSubItem = 2;
    NMHDR linkFocus = {Item(IDC_LINK), IDC_LINK, static_cast<UINT>(NM_SETFOCUS)};
    struct Case { const char* what; UINT message; WPARAM wParam; LPARAM lParam; INT_PTR result; } cases[] = {
        {"Enter", WM_COMMAND, IDOK, 0, TRUE},
        {"a field change", WM_COMMAND, MAKEWPARAM(IDC_ASCQ, EN_CHANGE), 0, FALSE},
        {"another field notification", WM_COMMAND, MAKEWPARAM(IDC_SK, EN_SETFOCUS), 0, FALSE},
        {"a header click", WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&columnClick), FALSE},
        {"another link notification", WM_NOTIFY, IDC_LINK, reinterpret_cast<LPARAM>(&linkFocus), FALSE},
        {"a size", WM_SIZE, SIZE_RESTORED, MAKELPARAM(700, 400), FALSE},
        {"a minimise", WM_SIZE, SIZE_MINIMIZED, 0, FALSE},
        {"hit-testing", WM_NCHITTEST, 0, MAKELPARAM(10, 10), FALSE},
        {"painting", WM_PAINT, 0, 0, FALSE},
        {"the cursor", WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), FALSE},
        {"the dialog's colours", WM_CTLCOLORDLG, 0, reinterpret_cast<LPARAM>(dialog), FALSE},
        {"initialisation", WM_INITDIALOG, 0, 0, TRUE},
        {"Escape", WM_COMMAND, IDCANCEL, 0, TRUE},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, DecoderDialogProc(dialog, c.message, c.wParam, c.lParam)) << c.what;
    EXPECT_EQ(2, gSortState.column);  // the header click was carried out
}

TEST_F(DecoderWindowTest, SizeMessageBeforeInitialisationChangesNothing) {
    Open();
    RECT before = ChildRect(List());
    gResultList = nullptr;
    gLinkControl = nullptr;
    DecoderDialogProc(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
    RECT after = ChildRect(List());
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(DecoderWindowTest, AScreenReaderHearsEachFieldsName) {
    Open();
    struct Field { int id; const wchar_t* name; } fields[] = {
        {IDC_SK, L"Sense key (SK)"},
        {IDC_ASC, L"Additional sense code (ASC)"},
        {IDC_ASCQ, L"Additional sense code qualifier (ASCQ)"},
    };
    for (const Field& field : fields) {
        IAccessible* accessible = nullptr;
        ASSERT_EQ(S_OK, AccessibleObjectFromWindow(Item(field.id), OBJID_CLIENT, IID_IAccessible,
                                                   reinterpret_cast<void**>(&accessible)));
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(S_OK, accessible->get_accName(self, &name)) << field.id;
        EXPECT_STREQ(field.name, name) << field.id;
        SysFreeString(name);
        accessible->Release();
    }
}

TEST_F(DecoderWindowTest, TheListsKeysCopyAndSelectAllWithCtrlAlone) {
    Open("6 29");
    const wchar_t* row1 = L"6\t29\t01\tpower on occurred";
    struct Case { const char* what; int selectedRow; UINT key; BYTE held[2]; const wchar_t* clipboard; int selected; }
    cases[] = {
        {"Ctrl+C", 1, 'C', {VK_CONTROL}, row1, 1},
        {"Ctrl+Insert", 1, VK_INSERT, {VK_CONTROL}, row1, 1},
        {"Ctrl+C with no row selected", -1, 'C', {VK_CONTROL}, L"before", 0},
        {"Ctrl+A", 1, 'A', {VK_CONTROL}, L"before", 5},
        {"C alone", 1, 'C', {}, L"before", 1},
        {"AltGr+C, which is Ctrl+Alt+C", 1, 'C', {VK_CONTROL, VK_MENU}, L"before", 1},
        {"AltGr+A", 1, 'A', {VK_CONTROL, VK_MENU}, L"before", 1},
        {"Ctrl+Shift+C", 1, 'C', {VK_CONTROL, VK_SHIFT}, L"before", 1},
    };
    for (const Case& c : cases) {
        SelectRows({});
        if (c.selectedRow >= 0) SelectRows({c.selectedRow});
        PutOnClipboard(L"before");
        Press(IDC_LIST, c.key, {c.held[0], c.held[1]});
        EXPECT_EQ(std::wstring(c.clipboard), ClipboardText()) << c.what;
        EXPECT_EQ(c.selected, SelectedCount()) << c.what;
    }
}

TEST_F(DecoderWindowTest, TheListsMenuGreysWhatCannotBeDoneAndMarksTheSortColumn) {
    const wchar_t* sorts = L"|-|Sort by S&K|Sort by A&SC|Sort by ASC&Q|Sort by &Description";
    struct Case { const char* what; const char* tail; std::function<void()> before; std::wstring items; } cases[] = {
        {"rows, none selected, text on the clipboard", "6 29", [&] { PutOnClipboard(L"x"); },
         std::wstring(L"&Copy\tCtrl+C (grey)|Select &all\tCtrl+A|&Paste code\tCtrl+V") + sorts},
        {"no rows, an empty clipboard", "0", [&] { PutOnClipboard(nullptr); },
         std::wstring(L"&Copy\tCtrl+C (grey)|Select &all\tCtrl+A (grey)|&Paste code\tCtrl+V (grey)") + sorts},
        {"a row selected, sorted by ASCQ, an empty clipboard", "6 29",
         [&] { SelectRows({1}); ClickHeader(kColumnAscq); PutOnClipboard(nullptr); },
         L"&Copy\tCtrl+C|Select &all\tCtrl+A|&Paste code\tCtrl+V (grey)|-|Sort by S&K|Sort by A&SC|"
         L"Sort by ASC&Q (radio)|Sort by &Description"},
    };
    for (const Case& c : cases) {
        Open(c.tail);
        c.before();
        MenuSeen menu = ContextMenu(List(), -1);
        EXPECT_TRUE(menu.opened) << c.what;
        EXPECT_EQ(c.items, menu.items) << c.what;
        DestroyWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(DecoderWindowTest, TheListsMenuOpensOnTheRowsAndFromTheKeyboardOnly) {
    Open();
    // Screen points: the rows' top left, below the header; a row's bottom
    // left and its middle; the middle of a header item.
    auto onScreen = [&](POINT point) {
        MapWindowPoints(List(), HWND_DESKTOP, &point, 1);
        return point;
    };
    auto rowRect = [&](int row) {
        RECT rect = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        return rect;
    };
    RECT header;
    GetWindowRect(Header(), &header);
    MapWindowPoints(HWND_DESKTOP, List(), reinterpret_cast<POINT*>(&header), 2);
    RECT item;
    SendMessageW(Header(), HDM_GETITEMRECT, kColumnDescription, reinterpret_cast<LPARAM>(&item));
    POINT onHeader = onScreen({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    RECT row2 = rowRect(2);
    POINT onRow2 = onScreen({(row2.left + row2.right) / 2, (row2.top + row2.bottom) / 2});
    LPARAM keyboard = -1;

    MenuSeen menu = ContextMenu(List(), keyboard);  // no row has the focus yet
    ASSERT_TRUE(menu.opened) << "from the keyboard, no focused row";
    POINT rowsTopLeft = onScreen({0, header.bottom});
    EXPECT_EQ(rowsTopLeft.x, menu.at.x);
    EXPECT_EQ(rowsTopLeft.y, menu.at.y);

    menu = ContextMenu(List(), MAKELPARAM(onRow2.x, onRow2.y));
    ASSERT_TRUE(menu.opened) << "a right-click on a row";
    EXPECT_EQ(onRow2.x, menu.at.x);
    EXPECT_EQ(onRow2.y, menu.at.y);
    SystemParametersInfoW(SPI_SETMENUDROPALIGNMENT, TRUE, nullptr, 0);  // menus drop to the left
    menu = ContextMenu(List(), MAKELPARAM(onRow2.x, onRow2.y));
    SystemParametersInfoW(SPI_SETMENUDROPALIGNMENT, FALSE, nullptr, 0);
    EXPECT_EQ(onRow2.x, menu.right) << "menus drop to the left";

    // Wine names the list for a right-click on its header too.
    EXPECT_FALSE(ContextMenu(List(), MAKELPARAM(onHeader.x, onHeader.y)).opened) << "a right-click on the header";
    EXPECT_FALSE(ContextMenu(Item(IDC_SK), keyboard).opened) << "another control";
    EXPECT_EQ(0, SendMessageW(List(), LVM_GETTOPINDEX, 0, 0));

    // From the keyboard, below the focused row, scrolled into view first.
    LVITEMW focus = {};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageW(List(), LVM_SETITEMSTATE, 200, reinterpret_cast<LPARAM>(&focus));
    SendMessageW(List(), LVM_ENSUREVISIBLE, 0, FALSE);  // Wine's list scrolls to a row given the focus
    ASSERT_EQ(0, SendMessageW(List(), LVM_GETTOPINDEX, 0, 0));
    menu = ContextMenu(List(), keyboard);
    ASSERT_TRUE(menu.opened) << "from the keyboard, row 200 focused";
    EXPECT_LT(0, SendMessageW(List(), LVM_GETTOPINDEX, 0, 0)) << "scrolled to the focused row";
    RECT row200 = rowRect(200);
    POINT below = onScreen({row200.left, row200.bottom});
    EXPECT_EQ(below.x, menu.at.x);
    EXPECT_EQ(below.y, menu.at.y);
}

TEST_F(DecoderWindowTest, APastedCodeFillsTheFieldsWithOneRebuild) {
    // Each case opens with SK '1', ASC '0B' and ASCQ '??' (three rows), the
    // focus on the control the paste comes to; "(image)" puts a bitmap there.
    const FieldState unchanged = {"1", "0B", "??", 0, 3};
    const std::wstring past4096 = std::wstring(kPastedTextLimit - 4, L'x') + L" 6/29/00 " + std::wstring(1 << 19, L'x');
    const wchar_t* logLine = L"failed H:0x0 D:0x2 P:0x0 Valid sense data: 0x5 0x24 0x0. Act:NONE";
    auto ctrlV = [&](int id) { return [=] { Type(id, "\x16"); }; };
    auto key = [&](int id, UINT k, BYTE held1, BYTE held2 = 0) { return [=] { Press(id, k, {held1, held2}); }; };
    auto menu = [&] { SendMessageW(dialog, WM_COMMAND, IDM_PASTE_CODE, 0); };
    struct Case { const char* what; const wchar_t* clipboard; int at; std::function<void()> paste; FieldState after;
                  int rebuilds; } cases[] = {
        {"Ctrl+V in SK", logLine, IDC_SK, ctrlV(IDC_SK), {"5", "24", "00", IDC_SK, 1}, 1},
        {"Shift+Insert in ASCQ", L"70 00 01 00 00 00 00 0a 00 00 00 00 0a 00", IDC_ASCQ,
         key(IDC_ASCQ, VK_INSERT, VK_SHIFT), {"1", "0A", "00", IDC_ASCQ, 0}, 1},
        {"the field's menu in ASC", L"Sense key: 3\r\nASC: 11 ASCQ: 0", IDC_ASC,
         [&] { SendMessageW(Item(IDC_ASC), WM_PASTE, 0, 0); }, {"3", "11", "00", IDC_ASC, 1}, 1},
        {"Ctrl+V on the list", L"[0x3 0x11 0x0]", IDC_LIST, key(IDC_LIST, 'V', VK_CONTROL), {"3", "11", "00", 0, 1}, 1},
        {"Shift+Insert on the list", L"b/4d/0", IDC_LIST, key(IDC_LIST, VK_INSERT, VK_SHIFT),
         {"B", "4D", "00", 0, 1}, 1},
        {"the list's menu", L"72 01 0b 01", IDC_LIST, menu, {"1", "0B", "01", 0, 1}, 1},
        {"no code, in ASC: the field's own paste", L"zz9", IDC_ASC, ctrlV(IDC_ASC), {"1", "zz", "??", IDC_ASCQ, 0}, 1},
        {"a code after 4,096 characters, in ASC", past4096.c_str(), IDC_ASC, ctrlV(IDC_ASC),
         {"1", "xx", "??", IDC_ASCQ, 0}, 1},
        {"no code, on the list", L"zz9", IDC_LIST, key(IDC_LIST, 'V', VK_CONTROL), unchanged, 0},
        {"an image, in SK", L"(image)", IDC_SK, ctrlV(IDC_SK), unchanged, 0},
        {"an empty clipboard, from the list's menu", nullptr, IDC_LIST, menu, unchanged, 0},
        {"AltGr+V on the list", L"3/11/00", IDC_LIST, key(IDC_LIST, 'V', VK_CONTROL, VK_MENU), unchanged, 0},
        {"Insert alone on the list", L"3/11/00", IDC_LIST, key(IDC_LIST, VK_INSERT, 0), unchanged, 0},
    };
    for (const Case& c : cases) {
        Open("1 0b");
        bool image = c.clipboard && lstrcmpW(c.clipboard, L"(image)") == 0;
        PutOnClipboard(image ? nullptr : c.clipboard);
        if (image && OpenClipboard(dialog)) {
            SetClipboardData(CF_BITMAP, CreateBitmap(1, 1, 1, 32, nullptr));
            CloseClipboard();
        }
        SetFocus(Item(c.at));
        SetWindowSubclass(List(), RecordListMessages, 1, 0);
        gListMessages.clear();
        c.paste();
        EXPECT_EQ(std::string(c.after.sk) + "/" + c.after.asc + "/" + c.after.ascq,
                  Text(IDC_SK) + "/" + Text(IDC_ASC) + "/" + Text(IDC_ASCQ)) << c.what;
        EXPECT_EQ(c.after.focus ? c.after.focus : c.at, FocusedId()) << c.what;
        EXPECT_EQ(c.after.rows, RowCount()) << c.what;
        EXPECT_EQ(c.rebuilds, std::count(gListMessages.begin(), gListMessages.end(), "delete all")) << c.what;
        DWORD start = 0, end = 0;  // a field whose code text was pasted into has the caret after it
        SendMessageW(Item(c.at), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (c.at == c.after.focus) EXPECT_TRUE(start == end && end == 2 - (c.at == IDC_SK)) << c.what;
        RemoveWindowSubclass(List(), RecordListMessages, 1);
        DestroyWindow(dialog);
        dialog = nullptr;
    }
}
