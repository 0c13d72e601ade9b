// The selected rows as text, for the clipboard.
#pragma once

#include "list_operations.h"

// Writes the list's selected rows as text: one line a row, in the list's
// current order, its cells as the list shows them separated by one tab, the
// lines separated by CR LF with none after the last. At most capacity - 1
// units go into out, then a terminator; with a null out nothing is written,
// so the call only measures. Returns the whole text's length in units,
// without the terminator: 0 when no row is selected.
int SelectedRowsText(ResultList list, WideChar* out, int capacity);
