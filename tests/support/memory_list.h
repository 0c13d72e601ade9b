// A result list held in memory, standing in for the list view, its header
// and the three fields, so the query logic can be driven and inspected.
#pragma once

#include <string>

#include "catalogue/sense_table.h"
#include "query/list_operations.h"

typedef std::basic_string<WideChar> WideString;

struct MemoryRow {
    WideString cells[kColumnCount];
    PackedCode itemData;
    bool selected;
};

struct MemoryList {
    MemoryRow rows[kSenseTableCount + 8];
    int rowCount;
    int headerFormat[kColumnCount];
    WideString skText, ascText, ascqText;  // the three fields, as UTF-16
    int insertCalls, deleteAllCalls, orderCalls;
};

// Empties the list, sets the fields to the given ASCII texts, makes it the
// process's result list and resets the sort state to its start.
MemoryList& ResetMemoryList(const char* sk = "?", const char* asc = "??", const char* ascq = "??");
MemoryList& TheMemoryList();
ResultList AsResultList(MemoryList& list);

// The rows' item data, and one column's texts as plain ASCII.
std::string RowCodes(const MemoryList& list);
std::string ColumnText(const MemoryList& list, int column, const char* separator = ",");
WideString Utf16(const char* ascii);
