// An independent model of what the list must show for three field texts,
// written the plain way and sharing no code with the query logic: every code
// is rendered with "%05X", and each field's text is compared with the digits
// it stands for, character by character, as the field rules read. An entry
// is listed when all three fields let it through.
#pragma once

#include <bitset>
#include <vector>

#include "catalogue/sense_table.h"
#include "support/memory_list.h"

// The table's codes, each rendered with "%05X".
struct RenderedCodes {
    char text[kSenseTableCount][8];
};
RenderedCodes RenderTableCodes();

// A set of table entries: bit i stands for SenseTable[i].
typedef std::bitset<kSenseTableCount> EntrySet;

// The entries whose sense-key digit (digit 0) the SK text lets through.
EntrySet SkFieldLetsThrough(const RenderedCodes& codes, const WideString& sk);

// The entries whose two digits from firstDigit on (1 for the ASC, 3 for the
// ASCQ) the field's text lets through.
EntrySet ByteFieldLetsThrough(const RenderedCodes& codes, const WideString& text, int firstDigit);

// The codes of the entries in the set, in table order.
std::vector<PackedCode> CodesOf(const EntrySet& entries);

// The codes of the entries the list must show for these field texts, in
// table order.
std::vector<PackedCode> ModelRows(const RenderedCodes& codes, const WideString& sk, const WideString& asc,
                                  const WideString& ascq);
