// What the three query fields accept while typing, and when the keyboard
// focus moves on to the next field by itself.
#pragma once

// The values are the fields' control identifiers.
enum FieldKind {
    kNoField = 0,
    kFieldSk = 51,    // IDC_SK, one hex digit
    kFieldAsc = 52,   // IDC_ASC, two hex digits
    kFieldAscq = 53,  // IDC_ASCQ, two hex digits
};

// The character Ctrl+V types.
constexpr unsigned kCtrlVChar = 0x16;

// Typing limit of a field in characters (0 for kNoField).
int FieldTextLimit(FieldKind field);

// For a typed character code: true if the field takes it, with the code to
// pass on in *passOn ("a"-"f" arrive uppercase). Hex digits, '?', backspace
// and Ctrl+V's character (on which the field pastes) pass; everything else
// is dropped.
bool IsAcceptedFieldChar(unsigned code, unsigned* passOn);

// After a field's text changed: the field that gets the focus with its whole
// text selected, or kNoField. A full SK field moves on to ASC, a full ASC
// field to ASCQ.
FieldKind FieldAdvanceRule(FieldKind field, int textLength);
