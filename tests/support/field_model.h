// An independent model of what the list must show for three field texts,
// written the plain way and sharing no code with the query logic: every code
// is rendered with "%05X", and the field texts are compared with it
// character by character as the field rules read.
#pragma once

#include <string>
#include <vector>

#include "catalogue/sense_table.h"
#include "support/memory_list.h"

// The table's codes, each rendered with "%05X".
struct RenderedCodes {
    char text[kSenseTableCount][8];
};
RenderedCodes RenderTableCodes();

// The codes of the entries the list must show for these field texts, in
// table order.
std::vector<PackedCode> ModelRows(const RenderedCodes& codes, const WideString& sk, const WideString& asc,
                                  const WideString& ascq);
