#include "field_entry.h"

int FieldTextLimit(FieldKind field) {
    switch (field) {
        case kFieldSk: return 1;
        case kFieldAsc:
        case kFieldAscq: return 2;
        default: return 0;
    }
}

bool IsAcceptedFieldChar(unsigned code, unsigned* passOn) {
    if (code - 'a' <= 5u) code -= 32;
    bool accepted = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') ||
                    code == '?' || code == 8 || code == kCtrlVChar;
    if (accepted && passOn) *passOn = code;
    return accepted;
}

FieldKind FieldAdvanceRule(FieldKind field, int textLength) {
    if (field == kFieldSk && textLength == 1) return kFieldAsc;
    if (field == kFieldAsc && textLength == 2) return kFieldAscq;
    return kNoField;
}
