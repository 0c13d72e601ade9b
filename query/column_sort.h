// Ordering the result list by a column: the sort state, the header click
// rule and the row comparator.
#pragma once

#include "list_operations.h"

constexpr int kNoSortColumn = -1;

// The process's sort state is gSortState (process_state.h).
struct SortState {
    int column;                     // last sorted column, or kNoSortColumn
    bool ascending[kColumnCount];   // direction of each column's next sort
};

// A header click: a second click on the current column flips its direction;
// any other column sorts in the direction it last had.
void OnColumnClick(int column);

// Moves the header arrow to column, records it as current, orders the rows
// with OrderRowsByColumn and has the list apply that order.
void SortByColumn(int column);

// Compares cell column of two rows of gResultList, case-insensitively, in
// the current column's direction.
int CompareRows(int row1, int row2, int column);

// Fills order[0..count) with the row indices 0..count-1 stably sorted with
// CompareRows, reading the list as it stands and changing nothing in it.
// count is cut to the table size; returns the count used.
int OrderRowsByColumn(int* order, int count, int column);
