// Small text services: hex rendering, widening of the table's ASCII
// descriptions, narrowing of the field texts, and the case-insensitive
// comparison of cells.
#pragma once

#include <stdint.h>

// The list view's text unit: UTF-16. On Windows that is wchar_t.
#if defined(_WIN32)
typedef wchar_t WideChar;
#else
typedef char16_t WideChar;
#endif

// The digits of a code rendered with "%X", by value.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Renders value as uppercase hex, zero-padded to at least minDigits digits
// (the effect of "%0<minDigits>X"). out must hold 9 units. Returns the length.
int FormatHex(uint32_t value, int minDigits, WideChar* out);

// Copies 8-bit text into UTF-16, one unit per byte, cut to capacity - 1
// units and always terminated. The table's descriptions are 7-bit ASCII, for
// which this is exactly the ANSI code page's conversion.
void WidenText(const char* text, WideChar* out, int capacity);

// What a field character outside 7-bit ASCII becomes in the narrowed text:
// no pattern position reads it as a hex digit or '?', so it matches nothing.
constexpr char kNonAsciiFieldChar = 0x7F;

// Copies a field's UTF-16 text into 8-bit, one byte per unit, cut to
// capacity - 1 bytes and always terminated. Units up to 0x7F stay as they
// are; every other unit becomes kNonAsciiFieldChar. Unlike the ANSI code
// page's conversion, this never turns a character into '?' (what the code
// page lacks) or into a digit (best fit, as for a fullwidth digit).
void NarrowFieldText(const WideChar* text, char* out, int capacity);

// Compares case-insensitively, digits before letters: lstrcmpiW on Windows,
// an ASCII case fold elsewhere. Negative, zero or positive.
int CompareTextNoCase(const WideChar* a, const WideChar* b);
