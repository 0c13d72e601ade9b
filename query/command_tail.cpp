#include "command_tail.h"

namespace {

// Blanks are the control characters and space; a byte above 0x7F is part of a
// word (an accented letter in an ANSI path), so compare unsigned.
bool IsBlank(char c) {
    return (unsigned char)c <= ' ';
}

bool IsSeedChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '?';
}

}  // namespace

const char* ExtractCommandTail(const char* commandLine) {
    if (!commandLine) return commandLine;
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else if (!IsBlank(*p)) {
        while (*p && !IsBlank(*p)) ++p;
    }
    while (*p && IsBlank(*p)) ++p;
    return p;
}

SeedTexts SeedFieldsFromTail(const char* tail) {
    char seed[5] = {'?', '?', '?', '?', '?'};
    int stored = 0;
    for (const char* p = tail; p && *p && stored < 5; ++p) {
        char c = *p;
        if (c >= 'a' && c <= 'z') c -= 32;
        if (IsSeedChar(c)) seed[stored++] = c;
    }
    SeedTexts texts = {{seed[0], 0}, {seed[1], seed[2], 0}, {seed[3], seed[4], 0}};
    return texts;
}
