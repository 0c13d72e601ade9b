#include "result_list.h"

#include "code_pattern.h"

namespace {

// Room for a field's text as the rebuild reads it: only the first three
// characters are seen.
constexpr int kFieldReadCapacity = 4;

// Reads a field as UTF-16 and narrows it into text, zero-filled first. A
// character outside 7-bit ASCII then matches nothing, whatever the code page.
void ReadPatternText(QueryFields fields, FieldKind field, char (&text)[kFieldReadCapacity]) {
    WideChar units[kFieldReadCapacity] = {0};
    ReadFieldText(fields, field, units, kFieldReadCapacity);
    NarrowFieldText(units, text, kFieldReadCapacity);
}

}  // namespace

void RebuildResultList(ResultList list) {
    if (!list) return;
    ListDeleteAllRows(list);

    char sk[kFieldReadCapacity] = {0}, asc[kFieldReadCapacity] = {0}, ascq[kFieldReadCapacity] = {0};
    QueryFields fields = ListQueryFields(list);
    ReadPatternText(fields, kFieldSk, sk);
    ReadPatternText(fields, kFieldAsc, asc);
    ReadPatternText(fields, kFieldAscq, ascq);
    CodePattern pattern = BuildPattern(sk, asc, ascq);

    int n = 0;
    for (int i = 0; i < kSenseTableCount; ++i) {
        const SenseEntry& entry = SenseTable[i];
        if (!MatchesPattern(pattern, entry)) continue;
        WideChar cell[kCellTextCapacity];
        EntryCellText(entry, kColumnSk, cell);
        int row = ListInsertRow(list, n, cell, entry.code);
        for (int column = kColumnAsc; column < kColumnCount; ++column) {
            EntryCellText(entry, column, cell);
            ListSetCellText(list, row, column, cell);
        }
        ++n;
    }
}

void EntryCellText(const SenseEntry& entry, int column, WideChar* out) {
    switch (column) {
        case kColumnSk: FormatHex(entry.senseKey, 1, out); break;
        case kColumnAsc: FormatHex(entry.asc, 2, out); break;
        case kColumnAscq: FormatHex(entry.ascq, 2, out); break;
        default: WidenText(entry.description, out, kCellTextCapacity); break;
    }
}
