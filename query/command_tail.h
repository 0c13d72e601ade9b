// The command-line tail and the initial field texts it gives.
#pragma once

// Points into commandLine just past the program name (quoted or not) and the
// blanks after it. Bytes 0x80-0xFF belong to a name; blanks are 0x01-0x20.
// A quoted name without its closing quote leaves an empty tail. Null stays null.
const char* ExtractCommandTail(const char* commandLine);

// Initial texts of the three fields, each NUL-terminated.
struct SeedTexts {
    char sk[2];
    char asc[3];
    char ascq[3];
};

// Takes the tail's first five digits, letters (uppercased) or '?' and cuts
// them one, two and two into the fields; missing ones stay '?'. Everything
// else in the tail is skipped. A null tail gives the template's '?', '??', '??'.
SeedTexts SeedFieldsFromTail(const char* tail);
