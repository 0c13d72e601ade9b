// Feeds arbitrary bytes to the three roads by which text reaches the query:
// the command line (tail, seeding, pattern, rebuild), typing into the
// fields (filter, typing limits, advance rule, rebuild) and pasted text (the
// sense-code reader). Aborts on any broken invariant; AddressSanitizer
// catches a read past the pasted text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "query/command_tail.h"
#include "query/field_entry.h"
#include "query/pasted_code.h"
#include "query/result_list.h"
#include "support/field_model.h"
#include "support/memory_list.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsSeedChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '?';
}

// The rows are exactly those the independent model gives for the list's
// field texts, in table order.
void CheckRows(const MemoryList& list) {
    static const RenderedCodes codes = RenderTableCodes();
    std::vector<PackedCode> expected = ModelRows(codes, list.skText, list.ascText, list.ascqText);
    Require((int)expected.size() == list.rowCount);
    for (int row = 0; row < list.rowCount; ++row) Require(list.rows[row].itemData == expected[row]);
}

void CommandLinePath(const std::string& commandLine) {
    const char* tail = ExtractCommandTail(commandLine.c_str());
    Require(tail >= commandLine.c_str() && tail <= commandLine.c_str() + commandLine.size());
    SeedTexts texts = SeedFieldsFromTail(tail);
    Require(std::strlen(texts.sk) == 1 && std::strlen(texts.asc) == 2 && std::strlen(texts.ascq) == 2);
    for (const char* text : {texts.sk, texts.asc, texts.ascq})
        for (const char* p = text; *p; ++p) Require(IsSeedChar(*p));

    MemoryList& list = ResetMemoryList(texts.sk, texts.asc, texts.ascq);
    RebuildResultList(AsResultList(list));
    CheckRows(list);
}

// Each pair of bytes is one typed character code; a code of 0xFFFF moves to
// the next field, and 0xFFFE pastes the next code unfiltered, as a paste
// brings any character. Typing replaces the whole text when it was selected.
// The list is rebuilt and checked whenever the focus moves on, and at the end.
void TypingPath(const uint8_t* data, size_t size) {
    MemoryList& list = ResetMemoryList();
    WideString* texts[] = {&list.skText, &list.ascText, &list.ascqText};
    FieldKind kinds[] = {kFieldSk, kFieldAsc, kFieldAscq};
    int field = 0;
    bool selected = false;
    for (size_t i = 0; i + 1 < size; i += 2) {
        unsigned code = data[i] | data[i + 1] << 8;
        if (code == 0xFFFF) {
            field = (field + 1) % 3;
            selected = true;
            continue;
        }
        unsigned passOn = 0;
        if (code == kCtrlVChar) continue;  // the field's paste: the pasted-text road reads it
        bool pasted = code == 0xFFFE && i + 3 < size;
        if (pasted) {
            i += 2;
            passOn = data[i] | data[i + 1] << 8;
            if (passOn == 0) continue;  // an edit control holds no NUL
        } else {
            if (!IsAcceptedFieldChar(code, &passOn)) continue;
            Require(passOn == 8 || passOn == '?' || (passOn >= '0' && passOn <= '9') ||
                    (passOn >= 'A' && passOn <= 'F'));
        }
        WideString& text = *texts[field];
        if (selected) text.clear();
        selected = false;
        if (passOn == 8 && !pasted) {  // backspace
            if (!text.empty()) text.pop_back();
        } else if ((int)text.size() < FieldTextLimit(kinds[field])) {
            text += (WideChar)passOn;
        }
        FieldKind next = FieldAdvanceRule(kinds[field], (int)text.size());
        Require((int)text.size() <= FieldTextLimit(kinds[field]));
        if (next != kNoField) {
            field = next - kFieldSk;
            selected = true;
            RebuildResultList(AsResultList(list));
            CheckRows(list);
        }
    }
    RebuildResultList(AsResultList(list));
    CheckRows(list);
}

// Each pair of bytes is one UTF-16 unit, in memory of exactly that length.
// A code found is in range and gives the fields one, two and two digits.
void PastedTextPath(const uint8_t* data, size_t size) {
    std::vector<WideChar> text(size / 2);
    for (size_t i = 0; i < text.size(); ++i) text[i] = (WideChar)(data[2 * i] | data[2 * i + 1] << 8);
    PackedCode code;
    if (!ReadSenseCode(text.data(), (int)text.size(), &code)) return;
    Require(code <= 0xFFFFF);
    SeedTexts texts = FieldTextsOfCode(code);
    char expected[8], fields[8];
    std::snprintf(expected, sizeof expected, "%05X", (unsigned)code);
    std::snprintf(fields, sizeof fields, "%s%s%s", texts.sk, texts.asc, texts.ascq);
    Require(std::strcmp(expected, fields) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the road; the rest is the input.
    if (data[0] & 2) {
        PastedTextPath(data + 1, size - 1);
        return 0;
    }
    std::string commandLine(reinterpret_cast<const char*>(data + 1), size - 1);
    commandLine = commandLine.substr(0, commandLine.find('\0'));
    if (data[0] & 1) CommandLinePath(commandLine);
    else TypingPath(data + 1, size - 1);
    return 0;
}
