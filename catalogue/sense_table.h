// The built-in table of SCSI sense codes: everything the decoder knows.
#pragma once

#include <stdint.h>

// Sense key x 65536 + ASC x 256 + ASCQ. With the sense key below 16 it
// always renders as exactly five hex digits.
typedef uint32_t PackedCode;

struct SenseEntry {
    PackedCode code;
    uint8_t senseKey;
    uint8_t asc;
    uint8_t ascq;
    const char* description;  // lowercase 7-bit ASCII
};

constexpr int kSenseTableCount = 216;

// kSenseTableCount entries in strictly ascending order of code; the list shows
// matches in this order. Declared without its bound so that the definition's
// own rows give its length, which sense_table.cpp checks against the count.
extern const SenseEntry SenseTable[];

// Index of the entry with this code, or -1.
int FindSenseEntry(PackedCode code);
