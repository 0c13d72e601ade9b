// Rebuilding the result list from the current field texts.
#pragma once

#include "list_operations.h"

// Clears the list and appends, in table order, every entry that matches the
// pattern of the current field texts: cells SK ("%X"), ASC and ASCQ ("%02X")
// and the description, with the entry's code as item data. A null list (not
// set up yet) is left alone. Does not sort.
void RebuildResultList(ResultList list);

// The text of one cell of an entry's row, as the rebuild writes it into the
// list. out holds kCellTextCapacity units.
void EntryCellText(const SenseEntry& entry, int column, WideChar* out);
