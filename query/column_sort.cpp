#include "column_sort.h"

#include "process_state.h"

namespace {

bool IsColumn(int column) {
    return column >= 0 && column < kColumnCount;
}

}  // namespace

void OnColumnClick(int column) {
    if (!IsColumn(column)) return;
    if (column == gSortState.column)
        gSortState.ascending[column] = !gSortState.ascending[column];
    SortByColumn(column);
}

void SortByColumn(int column) {
    if (!IsColumn(column)) return;
    ResultList list = gResultList;
    if (gSortState.column != kNoSortColumn) {
        int format = ListGetHeaderFormat(list, gSortState.column);
        ListSetHeaderFormat(list, gSortState.column, format & ~(kHeaderSortUp | kHeaderSortDown));
    }
    int format = ListGetHeaderFormat(list, column);
    format |= gSortState.ascending[column] ? kHeaderSortUp : kHeaderSortDown;
    ListSetHeaderFormat(list, column, format);
    // The comparator reads the direction of the current column: set it first.
    gSortState.column = column;
    int order[kSenseTableCount];
    int count = OrderRowsByColumn(order, ListGetRowCount(list), column);
    ListApplyOrder(list, order, count);
}

int CompareRows(int row1, int row2, int column) {
    WideChar text1[kCellTextCapacity], text2[kCellTextCapacity];
    ListGetCellText(gResultList, row1, column, text1, kCellTextCapacity);
    ListGetCellText(gResultList, row2, column, text2, kCellTextCapacity);
    int result = CompareTextNoCase(text1, text2);
    bool ascending = !IsColumn(gSortState.column) || gSortState.ascending[gSortState.column];
    return ascending ? result : -result;
}

int OrderRowsByColumn(int* order, int count, int column) {
    if (count < 0) count = 0;
    if (count > kSenseTableCount) count = kSenseTableCount;
    for (int i = 0; i < count; ++i) order[i] = i;

    // Bottom-up merge sort: stable, and no more comparisons than needed.
    int scratch[kSenseTableCount];
    for (int width = 1; width < count; width *= 2) {
        for (int left = 0; left < count; left += 2 * width) {
            int middle = left + width < count ? left + width : count;
            int right = left + 2 * width < count ? left + 2 * width : count;
            int a = left, b = middle, out = left;
            while (a < middle && b < right)
                scratch[out++] = CompareRows(order[b], order[a], column) < 0 ? order[b++] : order[a++];
            while (a < middle) scratch[out++] = order[a++];
            while (b < right) scratch[out++] = order[b++];
        }
        for (int i = 0; i < count; ++i) order[i] = scratch[i];
    }
    return count;
}
