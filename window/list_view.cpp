// The result list's operations over the report list view, its header and
// the dialog that holds the query fields.
#include "decoder.h"

#include <commctrl.h>

static_assert(kHeaderSortUp == HDF_SORTUP && kHeaderSortDown == HDF_SORTDOWN, "header arrow flags");

namespace {

HWND ListWindow(ResultList list) {
    return reinterpret_cast<HWND>(list);
}

HWND HeaderOf(ResultList list) {
    return reinterpret_cast<HWND>(SendMessageW(ListWindow(list), LVM_GETHEADER, 0, 0));
}

// Row ranks by table index, handed to CompareByRank through the sort.
struct RowRanks {
    short rank[kSenseTableCount];
};

int CALLBACK CompareByRank(LPARAM code1, LPARAM code2, LPARAM ranks) {
    const RowRanks* r = reinterpret_cast<const RowRanks*>(ranks);
    int index1 = FindSenseEntry(static_cast<PackedCode>(code1));
    int index2 = FindSenseEntry(static_cast<PackedCode>(code2));
    if (index1 < 0 || index2 < 0) return 0;
    return r->rank[index1] - r->rank[index2];
}

PackedCode RowCode(HWND list, int row) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<PackedCode>(item.lParam);
}

// The item that carries the text of one cell.
LVITEMW CellText(int row, int column, const WideChar* text) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<LPWSTR>(text);
    return item;
}

}  // namespace

void SuspendListRedraw(HWND list) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
}

void ResumeListRedraw(HWND list) {
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ListDeleteAllRows(ResultList list) {
    SendMessageW(ListWindow(list), LVM_DELETEALLITEMS, 0, 0);
}

int ListInsertRow(ResultList list, int row, const WideChar* cell0, PackedCode itemData) {
    LVITEMW item = CellText(row, kColumnSk, cell0);
    item.mask |= LVIF_PARAM;
    item.lParam = static_cast<LPARAM>(itemData);
    return static_cast<int>(SendMessageW(ListWindow(list), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListSetCellText(ResultList list, int row, int column, const WideChar* text) {
    LVITEMW item = CellText(row, column, text);
    SendMessageW(ListWindow(list), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ListGetCellText(ResultList list, int row, int column, WideChar* buffer, int capacity) {
    buffer[0] = 0;
    LVITEMW item = CellText(row, column, buffer);  // the row goes in wParam; the mask is not read
    item.cchTextMax = capacity;
    SendMessageW(ListWindow(list), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

int ListGetRowCount(ResultList list) {
    return static_cast<int>(SendMessageW(ListWindow(list), LVM_GETITEMCOUNT, 0, 0));
}

// One message a row: its state and its item data together.
bool ListIsRowSelected(ResultList list, int row, PackedCode* code) {
    LVITEMW item = {};
    item.mask = LVIF_STATE | LVIF_PARAM;
    item.iItem = row;
    item.stateMask = LVIS_SELECTED;
    SendMessageW(ListWindow(list), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (!(item.state & LVIS_SELECTED)) return false;
    *code = static_cast<PackedCode>(item.lParam);
    return true;
}

int ListGetHeaderFormat(ResultList list, int column) {
    HWND header = HeaderOf(list);
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

void ListSetHeaderFormat(ResultList list, int column, int format) {
    HWND header = HeaderOf(list);
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    item.fmt = format;
    SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
}

// The query logic has ordered the rows already, reading their cells while
// the list stood still; the list only applies that order. It sorts itself by
// each row's rank, found through its item data. A comparator that read cells
// from inside the list's own sort would not be reliable: Wine hands
// LVM_SORTITEMSEX's comparator positions in a copy being sorted while
// LVM_GETITEMTEXTW reads the unsorted rows.
void ListApplyOrder(ResultList list, const int* order, int count) {
    HWND window = ListWindow(list);
    RowRanks ranks;
    for (int i = 0; i < kSenseTableCount; ++i) ranks.rank[i] = 0;
    for (int i = 0; i < count && i < kSenseTableCount; ++i) {
        int index = FindSenseEntry(RowCode(window, order[i]));
        if (index >= 0) ranks.rank[index] = static_cast<short>(i);
    }
    SuspendListRedraw(window);
    SendMessageW(window, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&ranks), reinterpret_cast<LPARAM>(CompareByRank));
    ResumeListRedraw(window);
}

void SelectAllRows(HWND list) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

QueryFields ListQueryFields(ResultList list) {
    return reinterpret_cast<QueryFields>(GetParent(ListWindow(list)));
}

void ReadFieldText(QueryFields fields, FieldKind field, WideChar* buffer, int capacity) {
    GetDlgItemTextW(reinterpret_cast<HWND>(fields), field, buffer, capacity);
}
