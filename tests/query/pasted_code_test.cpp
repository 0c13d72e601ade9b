#include <gtest/gtest.h>

#include <string>

#include "query/pasted_code.h"

// UTF-16 literals: wchar_t is the Windows build's unit, char16_t the host's.
#if defined(_WIN32)
#define UTF16(text) L##text
#else
#define UTF16(text) u##text
#endif

namespace {

// What the three fields get from the text, as "SK ASC ASCQ", or "none".
std::string FieldsFrom(const WideChar* text, int length = kPastedTextLimit) {
    PackedCode code = 0xDEAD;
    if (!ReadSenseCode(text, length, &code)) return code == 0xDEAD ? "none" : "none, yet *code written";
    SeedTexts t = FieldTextsOfCode(code);
    return std::string(t.sk) + " " + t.asc + " " + t.ascq;
}

}  // namespace

TEST(ReadSenseCode, FindsTheFirstCodeInEachFormAndNothingElse) {
    struct Case { const WideChar* text; const char* fields; } cases[] = {
        // Each form, as logs, manuals and tools write it.
        {UTF16("failed H:0x0 D:0x2 P:0x0 Valid sense data: 0x5 0x24 0x0. Act:NONE"), "5 24 00"},
        {UTF16("Possible sense data:0xb,0x4d,0x0"), "B 4D 00"},
        {UTF16("sd 2:0:0:0: [sdb] Sense Key : 0x3 [current]\r\nsd 2:0:0:0: [sdb] ASC=0x11 ASCQ=0x0"), "3 11 00"},
        {UTF16("SK\u00A06h ASC 29h ASCQ 00h"), "6 29 00"},
        {UTF16("Sense key: 6, ASC: 29, ASCQ: 00"), "6 29 00"},
        {UTF16("Additional sense code qualifier: 4\nadditional\u00A0sense code =:29\nKEY 6"), "6 29 04"},
        {UTF16("qualifier 1 asq=2 key=3 SK 4 asc 5"), "4 05 02"},  // a later value replaces the earlier
        {UTF16("# 5  [0x3 0x11 0x0]"), "3 11 00"},
        {UTF16("[ 3, 11 ,0 ]"), "3 11 00"},
        {UTF16("3/11/00"), "3 11 00"},
        {UTF16("6h/29H/00h"), "6 29 00"},
        {UTF16("0XF/0xff/0Xff"), "F FF FF"},
        {UTF16("9/aB/fE"), "9 AB FE"},
        {UTF16("\u007F6/29/00"), "6 29 00"},
        {UTF16("70 00 06 00 00 00 00 0a 00 00 00 00 29 00 00 00 00 00"), "6 29 00"},
        {UTF16("Sense: 0xF1,0x00,0xF5:00 00 00 00 0A 00 00 00 00 24 01"), "5 24 01"},
        {UTF16("71 00 06 00 00 00 00 0a 00 00 00 00 29 07"), "6 29 07"},
        {UTF16("f0 00 03 00 00 00 00 0a 00 00 00 00 11 00 ff ee"), "3 11 00"},
        {UTF16("72 05 24 00 00 00 00 00"), "5 24 00"},
        {UTF16("73,0e,1d,00"), "E 1D 00"},
        {UTF16("6\t29\t00\tpower on, reset, or bus device reset occurred\r\n6\t29\t01\tx"), "6 29 00"},
        {UTF16("header\nb\t4d\t00\ttagged overlapped commands"), "B 4D 00"},
        // The first code wins: a form where it begins, labels at the third.
        {UTF16("3/11/00 then [0x5 0x24 0x0]"), "3 11 00"},
        {UTF16("SK 6 ASC 29 [0x3 0x11 0x0] ASCQ 00"), "3 11 00"},
        {UTF16("SK 6 ASC 29 ASCQ 0 [0x3 0x11 0x0]"), "6 29 00"},
        // Nothing else: values out of range, too few bytes, no sense data,
        // digits from outside ASCII, words that are not whole, no values.
        {UTF16("[0x3 0x100 0x0] SK=0x10 ASC=0x24 ASCQ=0x0"), "none"},
        {UTF16("SK=5 SK=0x100 ASC=0x24 ASCQ=0x0"), "none"},
        {UTF16("10/00/00 and 0/100/0 and 0/0/100 and 100000003/11/00"), "none"},
        {UTF16("70 00 06 00 00 00 00 0a 00 00 00 00 29 and 74 05 24 00 and 72 05 24 and 72 05 24 001"), "none"},
        {UTF16("70 00 06 00 00 00 00 0a\n00 00 00 00 29 00 00 00"), "none"},
        {UTF16("00 70 00 06 00 00 00 00 0a 00 00 00 00 29 00 00 00 00"), "none"},
        {UTF16("SK=\uFF16 ASC=29 ASCQ=00 \uFF16/29/00 and 6/29/0\uFF10"), "none"},
        {UTF16("DISK 6 BASC 29 ASCQ 00 ASCQ1 7 SKEY 5"), "none"},
        {UTF16("Sense key: unknown, key: h, ASC: 29, ASCQ: 00"), "none"},
        {UTF16("/6/29/00 6/29/00/1 6//29/00 x/6/29 6/2:/00 6/2@/00 6/2G/00 6/2`/00 6/2g/00"), "none"},
        {UTF16(" 6\t29\t00\t. 0x6/0x29/0x0h [3 11] [3 11 00 sense data: 5 24 sense data - 5 24 00\n6 29 00 x"), "none"},
        {UTF16("Z6/29/00 z6/29/00 _6/29/00 \u00806/29/00 6/29/00Z"), "none"},
    };
    for (const Case& c : cases) {
        std::basic_string<WideChar> text(c.text);
        EXPECT_EQ(c.fields, FieldsFrom(c.text)) << std::string(text.begin(), text.end());
    }
}

TEST(ReadSenseCode, ReadsNoFurtherThanItsLengthOrANul) {
    EXPECT_EQ("3 11 0F", FieldsFrom(UTF16("3/11/0F"), 7));
    EXPECT_EQ("3 11 00", FieldsFrom(UTF16("3/11/0F"), 6));
    EXPECT_EQ("3 11 00", FieldsFrom(UTF16("3/11/0\0F"), 8));
    EXPECT_EQ("none", FieldsFrom(UTF16("[3 11 0]"), 7));
    EXPECT_EQ("none", FieldsFrom(nullptr, 9));
}
