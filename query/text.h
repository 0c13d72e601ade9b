// Small text services for the list cells: hex rendering, widening of the
// table's ASCII descriptions, and the case-insensitive comparison of cells.
#pragma once

#include <stdint.h>

// The list view's text unit: UTF-16. On Windows that is wchar_t.
#if defined(_WIN32)
typedef wchar_t WideChar;
#else
typedef char16_t WideChar;
#endif

// Renders value as uppercase hex, zero-padded to at least minDigits digits
// (the effect of "%0<minDigits>X"). out must hold 9 units. Returns the length.
int FormatHex(uint32_t value, int minDigits, WideChar* out);

// Copies 8-bit text into UTF-16, one unit per byte, cut to capacity - 1
// units and always terminated. The table's descriptions are 7-bit ASCII, for
// which this is exactly the ANSI code page's conversion.
void WidenText(const char* text, WideChar* out, int capacity);

// Compares case-insensitively, digits before letters: lstrcmpiW on Windows,
// an ASCII case fold elsewhere. Negative, zero or positive.
int CompareTextNoCase(const WideChar* a, const WideChar* b);
