#include "text.h"

#if defined(_WIN32)
// Declared here rather than taken from <windows.h>: the query logic stays free
// of window-system headers, and this one import is all it needs of KERNEL32.
extern "C" __declspec(dllimport) int __stdcall lstrcmpiW(const wchar_t*, const wchar_t*);
#endif

int FormatHex(uint32_t value, int minDigits, WideChar* out) {
    char reversed[8];
    int length = 0;
    do {
        reversed[length++] = kHexDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (length < minDigits && length < 8) reversed[length++] = '0';
    for (int i = 0; i < length; ++i) out[i] = (WideChar)reversed[length - 1 - i];
    out[length] = 0;
    return length;
}

void WidenText(const char* text, WideChar* out, int capacity) {
    if (capacity <= 0) return;
    int i = 0;
    for (; i < capacity - 1 && text[i]; ++i) out[i] = (WideChar)(unsigned char)text[i];
    out[i] = 0;
}

void NarrowFieldText(const WideChar* text, char* out, int capacity) {
    if (capacity <= 0) return;
    int i = 0;
    for (; i < capacity - 1 && text[i]; ++i) out[i] = text[i] <= 0x7F ? (char)text[i] : kNonAsciiFieldChar;
    out[i] = 0;
}

int CompareTextNoCase(const WideChar* a, const WideChar* b) {
#if defined(_WIN32)
    return lstrcmpiW(a, b);
#else
    for (;; ++a, ++b) {
        unsigned x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
#endif
}
