#include "row_text.h"

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

int SelectedRowsText(ResultList list, WideChar* out, int capacity) {
    TextWriter writer = {out, capacity, 0};
    int rows = ListGetRowCount(list);
    bool first = true;
    for (int row = 0; row < rows; ++row) {
        if (!ListIsRowSelected(list, row)) continue;
        if (!first) {
            Put(writer, '\r');
            Put(writer, '\n');
        }
        first = false;
        for (int column = 0; column < kColumnCount; ++column) {
            if (column > 0) Put(writer, '\t');
            WideChar cell[kCellTextCapacity];
            ListGetCellText(list, row, column, cell, kCellTextCapacity);
            for (const WideChar* unit = cell; *unit; ++unit) Put(writer, *unit);
        }
    }
    if (out && capacity > 0) out[writer.length < capacity - 1 ? writer.length : capacity - 1] = 0;
    return writer.length;
}
