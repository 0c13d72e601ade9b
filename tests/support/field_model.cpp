#include "support/field_model.h"

#include <cstdio>

namespace {

// What one rendered digit must be: any digit, or exactly one character. A
// character beyond 7-bit ASCII is never a digit.
struct Wanted {
    bool any;
    WideChar character;
};

Wanted FromCharacter(WideChar c) {
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    return Wanted{c == '?', c};
}

bool DigitIs(const Wanted& wanted, char digit) {
    return wanted.any || wanted.character == (WideChar)digit;
}

}  // namespace

RenderedCodes RenderTableCodes() {
    RenderedCodes codes;
    for (int i = 0; i < kSenseTableCount; ++i)
        std::snprintf(codes.text[i], sizeof codes.text[i], "%05X", (unsigned)SenseTable[i].code);
    return codes;
}

// Empty means any digit, otherwise the first character.
EntrySet SkFieldLetsThrough(const RenderedCodes& codes, const WideString& sk) {
    Wanted digit = sk.empty() ? Wanted{true, 0} : FromCharacter(sk[0]);
    EntrySet entries;
    for (int i = 0; i < kSenseTableCount; ++i) entries[i] = DigitIs(digit, codes.text[i][0]);
    return entries;
}

// Empty means any two digits; one character is the low digit after a '0';
// otherwise the first two characters.
EntrySet ByteFieldLetsThrough(const RenderedCodes& codes, const WideString& text, int firstDigit) {
    Wanted high{true, 0}, low{true, 0};
    if (text.size() == 1) {
        high = Wanted{false, '0'};
        low = FromCharacter(text[0]);
    } else if (text.size() >= 2) {
        high = FromCharacter(text[0]);
        low = FromCharacter(text[1]);
    }
    EntrySet entries;
    for (int i = 0; i < kSenseTableCount; ++i)
        entries[i] = DigitIs(high, codes.text[i][firstDigit]) && DigitIs(low, codes.text[i][firstDigit + 1]);
    return entries;
}

std::vector<PackedCode> CodesOf(const EntrySet& entries) {
    std::vector<PackedCode> result;
    for (int i = 0; i < kSenseTableCount; ++i)
        if (entries[i]) result.push_back(SenseTable[i].code);
    return result;
}

std::vector<PackedCode> ModelRows(const RenderedCodes& codes, const WideString& sk, const WideString& asc,
                                  const WideString& ascq) {
    return CodesOf(SkFieldLetsThrough(codes, sk) & ByteFieldLetsThrough(codes, asc, 1) &
                   ByteFieldLetsThrough(codes, ascq, 3));
}
