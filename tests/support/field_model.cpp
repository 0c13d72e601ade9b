#include "support/field_model.h"

#include <cstdio>

namespace {

// What one of the five rendered digits must be: any digit, or exactly one
// character. A character beyond 7-bit ASCII is never a digit.
struct Wanted {
    bool any;
    WideChar character;
};

Wanted FromCharacter(WideChar c) {
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    return Wanted{c == '?', c};
}

// The SK field: empty means any digit, otherwise its first character.
Wanted SkDigit(const WideString& sk) {
    return sk.empty() ? Wanted{true, 0} : FromCharacter(sk[0]);
}

// The ASC or ASCQ field: empty means any two digits; one character is the
// low digit after a '0'; otherwise the first two characters.
void ByteDigits(const WideString& text, Wanted* high, Wanted* low) {
    if (text.empty()) {
        *high = *low = Wanted{true, 0};
    } else if (text.size() == 1) {
        *high = Wanted{false, '0'};
        *low = FromCharacter(text[0]);
    } else {
        *high = FromCharacter(text[0]);
        *low = FromCharacter(text[1]);
    }
}

}  // namespace

RenderedCodes RenderTableCodes() {
    RenderedCodes codes;
    for (int i = 0; i < kSenseTableCount; ++i)
        std::snprintf(codes.text[i], sizeof codes.text[i], "%05X", (unsigned)SenseTable[i].code);
    return codes;
}

std::vector<PackedCode> ModelRows(const RenderedCodes& codes, const WideString& sk, const WideString& asc,
                                  const WideString& ascq) {
    Wanted wanted[5];
    wanted[0] = SkDigit(sk);
    ByteDigits(asc, &wanted[1], &wanted[2]);
    ByteDigits(ascq, &wanted[3], &wanted[4]);
    std::vector<PackedCode> rows;
    for (int i = 0; i < kSenseTableCount; ++i) {
        bool matches = true;
        for (int digit = 0; digit < 5 && matches; ++digit)
            matches = wanted[digit].any || wanted[digit].character == (WideChar)codes.text[i][digit];
        if (matches) rows.push_back(SenseTable[i].code);
    }
    return rows;
}
