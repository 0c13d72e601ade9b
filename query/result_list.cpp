#include "result_list.h"

#include "code_pattern.h"

ResultList gResultList = nullptr;

void RebuildResultList(ResultList list) {
    if (!list) return;
    ListDeleteAllRows(list);

    // Four zero-filled bytes per field: at most three characters are seen.
    char sk[4] = {0}, asc[4] = {0}, ascq[4] = {0};
    ReadFieldText(list, kFieldSk, sk, sizeof sk);
    ReadFieldText(list, kFieldAsc, asc, sizeof asc);
    ReadFieldText(list, kFieldAscq, ascq, sizeof ascq);
    CodePattern pattern = BuildPattern(sk, asc, ascq);

    int n = 0;
    for (const SenseEntry& entry : SenseTable) {
        if (!MatchesPattern(pattern, entry)) continue;
        WideChar cell[256];
        FormatHex(entry.senseKey, 1, cell);
        int row = ListInsertRow(list, n, cell, entry.code);
        FormatHex(entry.asc, 2, cell);
        ListSetCellText(list, row, 1, cell);
        FormatHex(entry.ascq, 2, cell);
        ListSetCellText(list, row, 2, cell);
        WidenText(entry.description, cell, 256);
        ListSetCellText(list, row, 3, cell);
        ++n;
    }
}
