// Turning the three field texts into a five-digit pattern and matching the
// sense-code table against it.
#pragma once

#include "../catalogue/sense_table.h"

// One character per hex digit of a code rendered with "%05X": position 0 the
// sense key, 1-2 the ASC, 3-4 the ASCQ. '?' matches any digit.
struct CodePattern {
    char digits[6];
};

// Field texts may be null (taken as empty). Only the first character of the
// SK text and the first two of the ASC and ASCQ texts count; a single ASC or
// ASCQ character is the low digit, so '4' means 04 and '?' means 0?.
CodePattern BuildPattern(const char* skText, const char* ascText, const char* ascqText);

bool MatchesPattern(const CodePattern& pattern, const SenseEntry& entry);
