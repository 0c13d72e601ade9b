#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/sense_table.h"

#include "query/result_list.h"
#include "support/field_model.h"
#include "support/memory_list.h"

namespace {

// Every text typing can leave in a field of this many characters at most:
// empty, or one or two of the 17 characters the filter passes (lowercase
// arrives uppercase, and backspace only shortens a text).
std::vector<WideString> TypedTexts(int limit) {
    const char accepted[] = "0123456789ABCDEF?";
    std::vector<WideString> texts(1);
    for (const char* a = accepted; *a; ++a) {
        texts.push_back(WideString(1, (WideChar)*a));
        if (limit < 2) continue;
        for (const char* b = accepted; *b; ++b) texts.push_back(WideString{(WideChar)*a, (WideChar)*b});
    }
    return texts;
}

std::string Ascii(const WideString& text) {
    return std::string(text.begin(), text.end());
}

}  // namespace

// 18 x 307 x 307 states, each a full rebuild compared with the model. The
// model's verdict per field is worked out once per text; a state's rows are
// the entries all three fields let through.
TEST(RebuildResultList, AgreesWithThePlainModelInEveryTypedState) {
    const RenderedCodes codes = RenderTableCodes();
    const std::vector<WideString> skTexts = TypedTexts(1), byteTexts = TypedTexts(2);
    ASSERT_EQ(18u, skTexts.size());
    ASSERT_EQ(307u, byteTexts.size());
    std::vector<EntrySet> bySk, byAsc, byAscq;
    for (const WideString& sk : skTexts) bySk.push_back(SkFieldLetsThrough(codes, sk));
    for (const WideString& text : byteTexts) {
        byAsc.push_back(ByteFieldLetsThrough(codes, text, 1));
        byAscq.push_back(ByteFieldLetsThrough(codes, text, 3));
    }
    MemoryList& list = ResetMemoryList();
    ResultList result = AsResultList(list);
    long states = 0, rows = 0, mismatches = 0;
    for (size_t sk = 0; sk < skTexts.size(); ++sk) {
        list.skText = skTexts[sk];
        for (size_t asc = 0; asc < byteTexts.size(); ++asc) {
            list.ascText = byteTexts[asc];
            EntrySet skAndAsc = bySk[sk] & byAsc[asc];
            for (size_t ascq = 0; ascq < byteTexts.size(); ++ascq) {
                list.ascqText = byteTexts[ascq];
                RebuildResultList(result);
                EntrySet expected = skAndAsc & byAscq[ascq];
                // Rows in table order, each one the model lets through, as many as it does.
                bool same = (int)expected.count() == list.rowCount;
                for (int row = 0, last = -1; same && row < list.rowCount; ++row) {
                    int index = FindSenseEntry(list.rows[row].itemData);
                    same = index > last && expected[index];
                    last = index;
                }
                if (!same && mismatches++ < 5)
                    ADD_FAILURE() << "'" << Ascii(skTexts[sk]) << "' '" << Ascii(byteTexts[asc]) << "' '"
                                  << Ascii(byteTexts[ascq]) << "': " << list.rowCount << " rows, the model has "
                                  << expected.count();
                ++states;
                rows += list.rowCount;
            }
        }
    }
    EXPECT_EQ(18L * 307 * 307, states);
    EXPECT_EQ(0, mismatches);
    EXPECT_GT(rows, 216L);  // not a walk through empty lists only
}
