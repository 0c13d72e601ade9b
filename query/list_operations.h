// The operations the query logic needs from the result list, its header and
// the three fields. The decoder window implements them over the real list
// view and its dialog; the tests implement them over a list in memory.
#pragma once

#include "../catalogue/sense_table.h"
#include "field_entry.h"
#include "text.h"

// Opaque handle of the result list (the list view's window handle on Windows).
// The process's own list is gResultList (process_state.h).
typedef struct ResultListTag* ResultList;

// Opaque handle of what holds the three query fields (the dialog on Windows).
typedef struct QueryFieldsTag* QueryFields;

// Column indices, the same in the list, its header and the sort state.
enum ListColumn { kColumnSk, kColumnAsc, kColumnAscq, kColumnDescription, kColumnCount };

// Room for one cell's text: at most 259 characters and the terminator.
constexpr int kCellTextCapacity = 260;

// Header item format flags for the sort arrows (HDF_SORTUP, HDF_SORTDOWN).
constexpr int kHeaderSortUp = 0x0400;
constexpr int kHeaderSortDown = 0x0200;

void ListDeleteAllRows(ResultList list);
// Inserts a row at index row with the text of cell 0 and the item data;
// returns the new row's index.
int ListInsertRow(ResultList list, int row, const WideChar* cell0, PackedCode itemData);
void ListSetCellText(ResultList list, int row, int column, const WideChar* text);
// Reads at most capacity - 1 units, always terminated.
void ListGetCellText(ResultList list, int row, int column, WideChar* buffer, int capacity);
int ListGetRowCount(ResultList list);
// Whether the user has selected the row; if so, its item data goes into
// *code.
bool ListIsRowSelected(ResultList list, int row, PackedCode* code);

// Format flags of a header item (only the sort arrows are used here).
int ListGetHeaderFormat(ResultList list, int column);
void ListSetHeaderFormat(ResultList list, int column, int format);

// Puts the rows in the given order: position i gets the row that stands at
// index order[i] now. order holds count distinct indices of current rows.
void ListApplyOrder(ResultList list, const int* order, int count);

// The query fields that feed this list.
QueryFields ListQueryFields(ResultList list);

// Reads a field's current text as UTF-16, at most capacity - 1 units, always
// terminated. (Read as 8-bit ANSI text, a character the code page lacks would
// arrive as '?', the wildcard; the rebuild narrows the units itself.)
void ReadFieldText(QueryFields fields, FieldKind field, WideChar* buffer, int capacity);
