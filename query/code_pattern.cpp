#include "code_pattern.h"

#include "text.h"

namespace {

// Fills two pattern positions from an ASC or ASCQ text.
void PlaceByteDigits(const char* text, char* positions) {
    if (!text || !text[0]) return;  // stays "??"
    if (!text[1]) {
        positions[0] = '0';
        positions[1] = text[0];
    } else {
        positions[0] = text[0];
        positions[1] = text[1];
    }
}

}  // namespace

CodePattern BuildPattern(const char* skText, const char* ascText, const char* ascqText) {
    CodePattern pattern = {{'?', '?', '?', '?', '?', 0}};
    if (skText && skText[0]) pattern.digits[0] = skText[0];
    PlaceByteDigits(ascText, pattern.digits + 1);
    PlaceByteDigits(ascqText, pattern.digits + 3);
    for (int i = 0; i < 5; ++i)
        if (pattern.digits[i] >= 'a' && pattern.digits[i] <= 'z') pattern.digits[i] -= 32;
    return pattern;
}

bool MatchesPattern(const CodePattern& pattern, const SenseEntry& entry) {
    // Digit i of the code rendered with "%05X" is its nibble 4 - i: codes stay
    // below 0x100000, so reading nibbles gives the same digits without a buffer.
    for (int i = 0; i < 5; ++i) {
        char digit = kHexDigits[(entry.code >> (16 - 4 * i)) & 0xF];
        if (pattern.digits[i] != '?' && pattern.digits[i] != digit) return false;
    }
    return true;
}
