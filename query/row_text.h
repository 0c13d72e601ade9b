// The selected rows as text, for the clipboard.
#pragma once

#include "list_operations.h"

// Collects the codes (item data) of the list's selected rows, in the list's
// current order, at most capacity of them; reads each row once. Returns how
// many it stored.
int SelectedRowCodes(ResultList list, PackedCode* codes, int capacity);

// Writes the rows of these codes as text: one line a row, its cells as the
// rebuild puts them into the list separated by one tab, the lines separated
// by CR LF with none after the last. A code the table lacks has no line. At
// most capacity - 1 units go into out, then a terminator; with a null out
// nothing is written, so the call only measures. Returns the whole text's
// length in units, without the terminator: 0 for no rows.
int RowsText(const PackedCode* codes, int count, WideChar* out, int capacity);
