#include "row_text.h"

#include "result_list.h"

namespace {

// Counts every unit of the text and stores those that fit.
struct TextWriter {
    WideChar* out;
    int capacity;
    int length;
};

void Put(TextWriter& writer, WideChar unit) {
    if (writer.out && writer.length < writer.capacity - 1) writer.out[writer.length] = unit;
    ++writer.length;
}

}  // namespace

int SelectedRowCodes(ResultList list, PackedCode* codes, int capacity) {
    int count = 0;
    int rows = ListGetRowCount(list);
    for (int row = 0; row < rows && count < capacity; ++row)
        if (ListIsRowSelected(list, row, &codes[count])) ++count;
    return count;
}

// Built from the table entries, which hold the texts the rebuild put into
// each row's cells: reading them back from the list would cost one message
// a cell.
int RowsText(const PackedCode* codes, int count, WideChar* out, int capacity) {
    TextWriter writer = {out, capacity, 0};
    bool first = true;
    for (int i = 0; i < count; ++i) {
        int index = FindSenseEntry(codes[i]);
        if (index < 0) continue;
        if (!first) {
            Put(writer, '\r');
            Put(writer, '\n');
        }
        first = false;
        for (int column = 0; column < kColumnCount; ++column) {
            if (column > 0) Put(writer, '\t');
            WideChar cell[kCellTextCapacity];
            EntryCellText(SenseTable[index], column, cell);
            for (const WideChar* unit = cell; *unit; ++unit) Put(writer, *unit);
        }
    }
    if (out && capacity > 0) out[writer.length < capacity - 1 ? writer.length : capacity - 1] = 0;
    return writer.length;
}
