#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// 18 x 307 x 307 states, each a full rebuild compared with the model.
TEST(RebuildResultList, AgreesWithThePlainModelInEveryTypedState) {
    const RenderedCodes codes = RenderTableCodes();
    const std::vector<WideString> skTexts = TypedTexts(1), byteTexts = TypedTexts(2);
    ASSERT_EQ(18u, skTexts.size());
    ASSERT_EQ(307u, byteTexts.size());
    MemoryList& list = ResetMemoryList();
    ResultList result = AsResultList(list);
    long states = 0, rows = 0, mismatches = 0;
    for (const WideString& sk : skTexts) {
        list.skText = sk;
        for (const WideString& asc : byteTexts) {
            list.ascText = asc;
            for (const WideString& ascq : byteTexts) {
                list.ascqText = ascq;
                RebuildResultList(result);
                std::vector<PackedCode> expected = ModelRows(codes, sk, asc, ascq);
                bool same = (int)expected.size() == list.rowCount;
                for (int row = 0; same && row < list.rowCount; ++row) same = list.rows[row].itemData == expected[row];
                if (!same && mismatches++ < 5)
                    ADD_FAILURE() << "'" << Ascii(sk) << "' '" << Ascii(asc) << "' '" << Ascii(ascq) << "': "
                                  << list.rowCount << " rows, the model has " << expected.size();
                ++states;
                rows += list.rowCount;
            }
        }
    }
    EXPECT_EQ(18L * 307 * 307, states);
    EXPECT_EQ(0, mismatches);
    EXPECT_GT(rows, 216L);  // not a walk through empty lists only
}
