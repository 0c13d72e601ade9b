// Finding a sense code in pasted text: a log line, a ticket, sense bytes.
//
// The grammar. Units are UTF-16; only ASCII counts as letters and digits,
// and letters match without regard to case.
//   blank      space, tab or no-break space (U+00A0); a line ends at CR or LF
//   word unit  an ASCII letter or digit, '_', or any other unit above 0x7F;
//              a word is a run of them, so `ASCQ` is never `ASC` and `Q`,
//              and a fullwidth digit is part of a word, never a digit
//   value      a whole word: hex digits, with `0x` before them or `h` after
//              them, or neither. The key must be 0 to F, ASC and ASCQ 00 to
//              FF; a larger value makes no code
//   byte       a whole word: exactly two hex digits, `0x` before them or not
//   list       values separated by blanks or commas, in any mix
// The forms:
//   labelled   a label, then blanks, `=` or `:` in any mix, then a value.
//              Labels: `SK` or `key` (so `sense key` by its last word) for
//              the key; `additional sense code` (its words separated by
//              blanks) or `ASC`; `ASCQ`, `ASQ` or `qualifier`. A label with no
//              value after it is an ordinary word. The three may come in any
//              order, on one line or across lines; a later value for the same
//              part replaces the earlier one, and an out-of-range value
//              clears it
//   sense data `sense data`, blanks if any, `:`, blanks if any, and a list of
//              three values
//   brackets   `[`, blanks if any, a list of three values, blanks if any, `]`
//   slashes    three values joined by `/`, with no `/` before or after them
//   copied row at a line's start, one hex digit, a tab, two hex digits, a
//              tab, two hex digits and a tab: a row this program copied
//   sense bytes a run of bytes on one line, separated by blanks, commas or
//              colons in any mix, with no byte just before it. Fixed format:
//              the first byte 70, 71, F0 or F1 and at least 14 bytes; the key
//              is byte 2's low four bits, ASC byte 12, ASCQ byte 13.
//              Descriptor format: the first 72 or 73 and at least 4 bytes; the
//              key is byte 1's low four bits, ASC byte 2, ASCQ byte 3
// Reading from the start, the first code found is the one taken: a form
// written out in one place is found where it begins, labelled values where
// the last of the three is read.
#pragma once

#include "../catalogue/sense_table.h"
#include "command_tail.h"
#include "text.h"

// How much of the clipboard's text is read for a code.
constexpr int kPastedTextLimit = 4096;

// Looks for the first sense code in at most length units of text, stopping
// early at a NUL. True, with the code packed into *code, where there is one.
bool ReadSenseCode(const WideChar* text, int length, PackedCode* code);

// The texts the three fields get for a code: SK one digit, ASC and ASCQ two
// each, uppercase and zero-padded.
SeedTexts FieldTextsOfCode(PackedCode code);
