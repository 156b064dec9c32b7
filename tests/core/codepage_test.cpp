#include "tallyscope/codepage.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tally {
namespace {

TEST(Codepage, EveryByteRoundTripsThroughUtf16AndUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(all)), all);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Codepage, ByteWithoutCharacterDecodesToItsOwnCode) {
    EXPECT_EQ(Cp1251ToUtf16(0x98), u'\u0098');
    EXPECT_EQ(Cp1251ToUtf16(0xA8), u'Ё');
    EXPECT_EQ(Cp1251ToUtf16(0xFF), u'я');
}

TEST(Codepage, UnrepresentableAndInvalidInputBecomesQuestionMark) {
    EXPECT_EQ(EncodeCp1251(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(EncodeCp1251(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToCp1251("\xFF"), "?");
}

TEST(Codepage, OrdersByUtf16CodeValue) {
    using test::Cp;
    struct Case {
        const char* less;
        const char* greater;
    };
    const Case cases[] = {
        {"Ё", "А"}, {"я", "ё"}, {"Z", "a"}, {"z", "А"}, {"Ария", "Арияна"}, {"", "a"}, {"Я", "а"},
    };
    for (const auto& c : cases) {
        EXPECT_LT(CompareCp1251(Cp(c.less), Cp(c.greater)), 0) << c.less << " < " << c.greater;
        EXPECT_GT(CompareCp1251(Cp(c.greater), Cp(c.less)), 0) << c.greater << " > " << c.less;
    }
    EXPECT_EQ(CompareCp1251(Cp("Ария"), Cp("Ария")), 0);
}

}  // namespace
}  // namespace tally
