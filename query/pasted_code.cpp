#include "pasted_code.h"

namespace {

// The text being read. At() answers 0 outside it, so every look behind the
// start or past the end sees a unit that belongs to no form.
struct Text {
    const WideChar* units;
    int length;
};

unsigned At(const Text& text, int i) {
    return i >= 0 && i < text.length ? text.units[i] : 0;
}

constexpr unsigned kNoBreakSpace = 0xA0;

bool IsBlank(unsigned unit) {
    return unit == ' ' || unit == '\t' || unit == kNoBreakSpace;
}

bool IsLineEnd(unsigned unit) {
    return unit == '\r' || unit == '\n';
}

// unit | 32 folds 'A'-'Z' onto 'a'-'z' and leaves no other unit there.
bool IsLetter(unsigned unit) {
    return (unit | 32) >= 'a' && (unit | 32) <= 'z';
}

bool IsWordUnit(unsigned unit) {
    return (unit >= '0' && unit <= '9') || IsLetter(unit) || unit == '_' || (unit > 0x7F && unit != kNoBreakSpace);
}

int HexDigit(unsigned unit) {
    if (unit >= '0' && unit <= '9') return static_cast<int>(unit - '0');
    if ((unit | 32) >= 'a' && (unit | 32) <= 'f') return static_cast<int>((unit | 32) - 'a' + 10);
    return -1;
}

bool WordStartsAt(const Text& text, int i) {
    return IsWordUnit(At(text, i)) && !IsWordUnit(At(text, i - 1));
}

bool IsListSeparator(unsigned unit) {
    return IsBlank(unit) || unit == ',';
}

bool IsLabelSeparator(unsigned unit) {
    return IsBlank(unit) || unit == '=' || unit == ':';
}

bool IsByteSeparator(unsigned unit) {
    return IsBlank(unit) || unit == ',' || unit == ':';
}

int Skip(const Text& text, int i, bool (*skipped)(unsigned)) {
    while (i < text.length && skipped(At(text, i))) ++i;
    return i;
}

// Past kValueCeiling a value stays there: larger than any field takes.
constexpr unsigned kValueCeiling = 0x10000;

// A value at i: moves i past it.
bool ReadValue(const Text& text, int& i, unsigned* value) {
    if (!WordStartsAt(text, i)) return false;
    int p = i;
    bool prefixed = At(text, p) == '0' && (At(text, p + 1) | 32) == 'x' && HexDigit(At(text, p + 2)) >= 0;
    if (prefixed) p += 2;
    unsigned number = 0;
    int digits = 0;
    for (int digit; (digit = HexDigit(At(text, p))) >= 0; ++p, ++digits)
        number = number >= kValueCeiling ? kValueCeiling : number * 16 + static_cast<unsigned>(digit);
    if (digits == 0) return false;
    if (!prefixed && (At(text, p) | 32) == 'h') ++p;
    if (IsWordUnit(At(text, p))) return false;
    *value = number;
    i = p;
    return true;
}

// A byte at i: two hex digits, 0x before them or not. Moves i past it.
bool ReadByte(const Text& text, int& i, unsigned* byte) {
    if (!WordStartsAt(text, i)) return false;
    int p = i;
    if (At(text, p) == '0' && (At(text, p + 1) | 32) == 'x') p += 2;
    int high = HexDigit(At(text, p)), low = HexDigit(At(text, p + 1));
    if (high < 0 || low < 0 || IsWordUnit(At(text, p + 2))) return false;
    *byte = static_cast<unsigned>(high * 16 + low);
    i = p + 2;
    return true;
}

// The words at i, whole, matched without regard to case; a space in words
// stands for one or more blanks. Moves i past them.
bool ReadWords(const Text& text, int& i, const char* words) {
    if (!WordStartsAt(text, i)) return false;
    int p = i;
    for (const char* w = words; *w; ++w) {
        if (*w == ' ') {
            if (!IsBlank(At(text, p))) return false;
            p = Skip(text, p, IsBlank);
        } else if ((At(text, p) | 32) != static_cast<unsigned>(*w)) {  // *w is a lowercase letter
            return false;
        } else {
            ++p;
        }
    }
    if (IsWordUnit(At(text, p))) return false;
    i = p;
    return true;
}

enum CodePart { kPartKey, kPartAsc, kPartAscq, kPartCount };
constexpr unsigned kPartMaximum[kPartCount] = {0xF, 0xFF, 0xFF};

bool Pack(const unsigned (&parts)[kPartCount], PackedCode* code) {
    for (int part = 0; part < kPartCount; ++part)
        if (parts[part] > kPartMaximum[part]) return false;
    *code = parts[kPartKey] << 16 | parts[kPartAsc] << 8 | parts[kPartAscq];
    return true;
}

// Three values separated by blanks or commas, from i. (A value ends before
// a unit that no word holds, so with no separator the next value cannot
// start.)
bool ReadList(const Text& text, int& i, unsigned (&parts)[kPartCount]) {
    int p = i;
    for (int part = 0; part < kPartCount; ++part) {
        if (part > 0) p = Skip(text, p, IsListSeparator);
        if (!ReadValue(text, p, &parts[part])) return false;
    }
    i = p;
    return true;
}

bool ReadBrackets(const Text& text, int i, PackedCode* code) {
    if (At(text, i) != '[') return false;
    int p = Skip(text, i + 1, IsBlank);
    unsigned parts[kPartCount];
    if (!ReadList(text, p, parts)) return false;
    p = Skip(text, p, IsBlank);
    return At(text, p) == ']' && Pack(parts, code);
}

bool ReadSlashes(const Text& text, int i, PackedCode* code) {
    if (At(text, i - 1) == '/') return false;
    unsigned parts[kPartCount];
    int p = i;
    for (int part = 0; part < kPartCount; ++part) {
        if (part > 0 && At(text, p++) != '/') return false;
        if (!ReadValue(text, p, &parts[part])) return false;
    }
    return At(text, p) != '/' && Pack(parts, code);
}

bool ReadSenseData(const Text& text, int i, PackedCode* code) {
    int p = i;
    if (!ReadWords(text, p, "sense data")) return false;
    p = Skip(text, p, IsBlank);
    if (At(text, p) != ':') return false;
    p = Skip(text, p + 1, IsBlank);
    unsigned parts[kPartCount];
    return ReadList(text, p, parts) && Pack(parts, code);
}

// A row as the program copies it: "%X", "%02X" and "%02X", each followed by a
// tab, at a line's start.
bool ReadCopiedRow(const Text& text, int i, PackedCode* code) {
    if (i > 0 && !IsLineEnd(At(text, i - 1))) return false;
    static const char kShape[] = "0\t00\t00\t";  // '0' stands for a hex digit
    unsigned parts[kPartCount] = {0, 0, 0};
    int part = 0;
    for (int k = 0; kShape[k]; ++k) {
        unsigned unit = At(text, i + k);
        if (kShape[k] == '\t') {
            if (unit != '\t') return false;
            ++part;
            continue;
        }
        int digit = HexDigit(unit);
        if (digit < 0) return false;
        parts[part] = parts[part] * 16 + static_cast<unsigned>(digit);
    }
    return Pack(parts, code);
}

// Sense data's layout: where the key, ASC and ASCQ stand in each format.
constexpr int kFixedFormatMinimum = 14, kDescriptorFormatMinimum = 4;
constexpr int kFixedKeyByte = 2, kFixedAscByte = 12, kFixedAscqByte = 13;
constexpr int kDescriptorKeyByte = 1, kDescriptorAscByte = 2, kDescriptorAscqByte = 3;
static_assert(kFixedAscqByte < kFixedFormatMinimum && kDescriptorAscqByte < kDescriptorFormatMinimum,
              "each format's minimum holds its codes");

bool IsFixedFormat(unsigned first) {
    return first == 0x70 || first == 0x71 || first == 0xF0 || first == 0xF1;
}

bool IsDescriptorFormat(unsigned first) {
    return first == 0x72 || first == 0x73;
}

// The run of bytes that starts at i; *end is set past its last byte.
bool ReadSenseBytes(const Text& text, int i, int* end, PackedCode* code) {
    unsigned bytes[kFixedFormatMinimum];
    int count = 0;
    unsigned byte;
    for (int p = i; ReadByte(text, p, &byte); p = Skip(text, p, IsByteSeparator)) {
        if (count < kFixedFormatMinimum) bytes[count] = byte;
        ++count;
        *end = p;
    }
    if (count == 0) return false;
    unsigned parts[kPartCount];
    if (IsFixedFormat(bytes[0]) && count >= kFixedFormatMinimum) {
        parts[kPartKey] = bytes[kFixedKeyByte] & 0xF;
        parts[kPartAsc] = bytes[kFixedAscByte];
        parts[kPartAscq] = bytes[kFixedAscqByte];
    } else if (IsDescriptorFormat(bytes[0]) && count >= kDescriptorFormatMinimum) {
        parts[kPartKey] = bytes[kDescriptorKeyByte] & 0xF;
        parts[kPartAsc] = bytes[kDescriptorAscByte];
        parts[kPartAscq] = bytes[kDescriptorAscqByte];
    } else {
        return false;
    }
    return Pack(parts, code);
}

const struct {
    CodePart part;
    const char* words;  // lowercase
} kLabels[] = {
    {kPartKey, "sk"},    {kPartKey, "key"},  {kPartAsc, "additional sense code"}, {kPartAsc, "asc"},
    {kPartAscq, "ascq"}, {kPartAscq, "asq"}, {kPartAscq, "qualifier"},
};

// A label at i and the value after it.
bool ReadLabelled(const Text& text, int i, CodePart* part, unsigned* value) {
    for (const auto& label : kLabels) {
        int p = i;
        if (!ReadWords(text, p, label.words)) continue;
        p = Skip(text, p, IsLabelSeparator);
        if (!ReadValue(text, p, value)) continue;
        *part = label.part;
        return true;
    }
    return false;
}

}  // namespace

bool ReadSenseCode(const WideChar* units, int length, PackedCode* code) {
    if (!units) return false;
    Text text = {units, 0};
    while (text.length < length && units[text.length]) ++text.length;

    // The labelled values read so far; above kPartMaximum stands for none.
    unsigned labelled[kPartCount];
    for (int part = 0; part < kPartCount; ++part) labelled[part] = kPartMaximum[part] + 1;
    int bytesEnd = 0;  // past the last run of bytes read: no run starts before it
    for (int i = 0; i < text.length; ++i) {
        if (ReadBrackets(text, i, code)) return true;
        if (!WordStartsAt(text, i)) continue;
        if (ReadCopiedRow(text, i, code) || ReadSlashes(text, i, code) || ReadSenseData(text, i, code)) return true;
        if (i >= bytesEnd && ReadSenseBytes(text, i, &bytesEnd, code)) return true;
        CodePart part;
        unsigned value;
        if (ReadLabelled(text, i, &part, &value)) {
            labelled[part] = value;
            if (Pack(labelled, code)) return true;
        }
    }
    return false;
}

SeedTexts FieldTextsOfCode(PackedCode code) {
    SeedTexts texts = {{kHexDigits[code >> 16 & 0xF], 0},
                       {kHexDigits[code >> 12 & 0xF], kHexDigits[code >> 8 & 0xF], 0},
                       {kHexDigits[code >> 4 & 0xF], kHexDigits[code & 0xF], 0}};
    return texts;
}
