// The process-wide values the query logic reads: the result list and the sort
// state. Every other value of the query logic lives for one call. Who sets
// and who reads each process-wide value, the window's included, is in
// docs/design.md.
//
// The list is null until the dialog sets it, and every operation on a null
// list does nothing. The tests set both values themselves to open a list
// in memory, and reset the sort state with kInitialSortState.
#pragma once

#include "column_sort.h"
#include "list_operations.h"

extern ResultList gResultList;  // the list view's window handle on Windows

static_assert(kColumnCount == 4, "one start direction per column below");
constexpr SortState kInitialSortState = {kNoSortColumn, {true, true, true, true}};
extern SortState gSortState;
