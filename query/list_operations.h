// The operations the query logic needs from the result list, its header and
// the three fields. The decoder window implements them over the real list
// view; the tests implement them over a list in memory.
#pragma once

#include "../catalogue/sense_table.h"
#include "field_entry.h"
#include "text.h"

// Opaque handle of the result list (the list view's window handle on Windows).
typedef struct ResultListTag* ResultList;

// The process's result list; null until the dialog has set it up.
extern ResultList gResultList;

void ListDeleteAllRows(ResultList list);
// Inserts a row at index row with the text of cell 0 and the item data;
// returns the new row's index.
int ListInsertRow(ResultList list, int row, const WideChar* cell0, PackedCode itemData);
void ListSetCellText(ResultList list, int row, int column, const WideChar* text);
// Reads at most capacity - 1 units, always terminated.
void ListGetCellText(ResultList list, int row, int column, WideChar* buffer, int capacity);
int ListGetRowCount(ResultList list);

// Format flags of a header item (only the sort arrows are used here).
int ListGetHeaderFormat(ResultList list, int column);
void ListSetHeaderFormat(ResultList list, int column, int format);

// Puts the rows in the order CompareRows(row1, row2, column) gives.
void ListSortRows(ResultList list, int column);

// Reads a field's current 8-bit text, at most capacity - 1 characters.
void ReadFieldText(ResultList list, FieldKind field, char* buffer, int capacity);
