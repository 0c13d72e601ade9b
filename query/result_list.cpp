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
        FormatHex(entry.senseKey, 1, cell);
        int row = ListInsertRow(list, n, cell, entry.code);
        FormatHex(entry.asc, 2, cell);
        ListSetCellText(list, row, kColumnAsc, cell);
        FormatHex(entry.ascq, 2, cell);
        ListSetCellText(list, row, kColumnAscq, cell);
        WidenText(entry.description, cell, kCellTextCapacity);
        ListSetCellText(list, row, kColumnDescription, cell);
        ++n;
    }
}
