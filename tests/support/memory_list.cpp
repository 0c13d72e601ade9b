#include "memory_list.h"

#include <cstdio>

#include "query/process_state.h"

namespace {

MemoryList gMemoryList;

MemoryList& Of(ResultList list) {
    return *reinterpret_cast<MemoryList*>(list);
}

bool ValidCell(const MemoryList& list, int row, int column) {
    return row >= 0 && row < list.rowCount && column >= 0 && column < kColumnCount;
}

// Copies at most capacity - 1 units, always terminated, as the list view and
// the edit controls do.
void CopyCut(const WideString& text, WideChar* buffer, int capacity) {
    int length = (int)text.size() < capacity - 1 ? (int)text.size() : capacity - 1;
    text.copy(buffer, length);
    buffer[length] = 0;
}

}  // namespace

MemoryList& TheMemoryList() {
    return gMemoryList;
}

ResultList AsResultList(MemoryList& list) {
    return reinterpret_cast<ResultList>(&list);
}

MemoryList& ResetMemoryList(const char* sk, const char* asc, const char* ascq) {
    gMemoryList.rowCount = 0;
    for (int& format : gMemoryList.headerFormat) format = 0;
    gMemoryList.insertCalls = gMemoryList.deleteAllCalls = gMemoryList.orderCalls = 0;
    gMemoryList.skText = Utf16(sk);
    gMemoryList.ascText = Utf16(asc);
    gMemoryList.ascqText = Utf16(ascq);
    gResultList = AsResultList(gMemoryList);
    gSortState = kInitialSortState;
    return gMemoryList;
}

WideString Utf16(const char* ascii) {
    WideString text;
    for (; *ascii; ++ascii) text += (WideChar)(unsigned char)*ascii;
    return text;
}

std::string RowCodes(const MemoryList& list) {
    std::string codes;
    for (int i = 0; i < list.rowCount; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "%s%05X", i ? "," : "", (unsigned)list.rows[i].itemData);
        codes += code;
    }
    return codes;
}

std::string ColumnText(const MemoryList& list, int column, const char* separator) {
    std::string texts;
    for (int i = 0; i < list.rowCount; ++i) {
        if (i) texts += separator;
        for (WideChar unit : list.rows[i].cells[column]) texts += (char)unit;
    }
    return texts;
}

// The list operations the query logic uses, over the list in memory.

void ListDeleteAllRows(ResultList list) {
    Of(list).rowCount = 0;
    ++Of(list).deleteAllCalls;
}

int ListInsertRow(ResultList list, int row, const WideChar* cell0, PackedCode itemData) {
    MemoryList& l = Of(list);
    ++l.insertCalls;
    // A rebuild counts its rows up from 0: a negative index is its fault.
    if (row < 0 || l.rowCount >= kSenseTableCount + 8) return -1;
    if (row > l.rowCount) row = l.rowCount;
    for (int i = l.rowCount; i > row; --i) l.rows[i] = l.rows[i - 1];
    MemoryRow& r = l.rows[row];
    r.cells[0] = cell0;  // assigned in place: the strings keep their storage
    for (int column = 1; column < kColumnCount; ++column) r.cells[column].clear();
    r.itemData = itemData;
    r.selected = false;
    ++l.rowCount;
    return row;
}

void ListSetCellText(ResultList list, int row, int column, const WideChar* text) {
    if (ValidCell(Of(list), row, column)) Of(list).rows[row].cells[column] = text;
}

void ListGetCellText(ResultList list, int row, int column, WideChar* buffer, int capacity) {
    if (ValidCell(Of(list), row, column)) CopyCut(Of(list).rows[row].cells[column], buffer, capacity);
    else buffer[0] = 0;
}

int ListGetRowCount(ResultList list) {
    return Of(list).rowCount;
}

bool ListIsRowSelected(ResultList list, int row, PackedCode* code) {
    if (!ValidCell(Of(list), row, 0) || !Of(list).rows[row].selected) return false;
    *code = Of(list).rows[row].itemData;
    return true;
}

int ListGetHeaderFormat(ResultList list, int column) {
    return Of(list).headerFormat[column];
}

void ListSetHeaderFormat(ResultList list, int column, int format) {
    Of(list).headerFormat[column] = format;
}

void ListApplyOrder(ResultList list, const int* order, int count) {
    MemoryList& l = Of(list);
    ++l.orderCalls;
    MemoryRow sorted[kSenseTableCount];
    for (int i = 0; i < count; ++i) sorted[i] = l.rows[order[i]];
    for (int i = 0; i < count; ++i) l.rows[i] = sorted[i];
}

QueryFields ListQueryFields(ResultList list) {
    return reinterpret_cast<QueryFields>(&Of(list));
}

// The fields live beside the rows.
void ReadFieldText(QueryFields fields, FieldKind field, WideChar* buffer, int capacity) {
    const MemoryList& l = *reinterpret_cast<MemoryList*>(fields);
    const WideString& text = field == kFieldSk ? l.skText : field == kFieldAsc ? l.ascText : l.ascqText;
    CopyCut(text, buffer, capacity);
}
