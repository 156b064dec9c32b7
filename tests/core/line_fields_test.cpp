#include "tallyscope/line_fields.h"

#include <gtest/gtest.h>

#include "phrase_search.h"
#include "tallyscope/errors.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::U8;

TEST(ExtractBetween, CutsTheLastCompleteSegment) {
    struct Case {
        const char* text;
        const char* start;
        const char* end;
        const char* expected;
    };
    const Case cases[] = {
        {"x [A] y", "[", "]", "A"},
        {"x [A] y [B] z", "[", "]", "B"},
        {"x [A] y [B z", "[", "]", ""},
        {"[A [B] C]", "[", "]", "A [B"},
        {"[] y", "[", "]", ""},
        {"x A] y", "[", "]", ""},
        {"a : b : 7 ед. d", " : ", " ед. ", "b : 7"},
        {"a : b", " : ", ": ", ""},
        {"x [A] y", "", "]", ""},
        {"x [A] y", "[", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(ExtractBetween(Cp(c.text), Cp(c.start), Cp(c.end))), c.expected) << c.text;
}

TEST(StripRankNumerals, RemovesLatinCapitalsIVXAndTrims) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Огненный шар IV", "Огненный шар"},
        {" Щит II ", "Щит"},
        {"VIKING", "KNG"},
        {"Удар X молнии", "Удар  молнии"},
        {"XIV", ""},
        {"ВХ vix", "ВХ vix"},  // Cyrillic letters and lower case stay
        {"\tЩит\x01", "Щит"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(StripRankNumerals(Cp(c.text))), c.expected) << c.text;
}

// Long names are copied sixteen bytes at a time where they hold no numeral: a numeral at any place of
// any length up to three such blocks must still go, as a plain byte-by-byte copy drops it.
TEST(StripRankNumerals, AgreesWithAPlainCopyAtEveryLengthAndPlace) {
    // The texts below hold no blank but ' '.
    const auto plain = [](const std::string& text) {
        std::string kept;
        for (const char c : text)
            if (c != 'I' && c != 'V' && c != 'X')
                kept += c;
        const auto first = kept.find_first_not_of(' ');
        return first == std::string::npos ? std::string()
                                          : kept.substr(first, kept.find_last_not_of(' ') - first + 1);
    };
    for (std::size_t length = 0; length <= 48; ++length)
        for (std::size_t place = 0; place <= length; ++place)
            for (const char numeral : {'I', 'V', 'X', ' '}) {
                std::string text(length, '\xc0');  // А
                if (place < length)
                    text[place] = numeral;
                if (length > 20)
                    text[length - 17] = 'X';  // a second numeral in another block
                EXPECT_EQ(StripRankNumerals(text), plain(text)) << "length " << length << ", place " << place;
            }
}

// A name is the skill's key when it strips to it: names longer than the key, by numerals or blanks,
// can; names shorter than it never do.
TEST(StripsTo, IsStrippingThenComparing) {
    struct Case {
        const char* text;
        const char* key;
        bool expected;
    };
    const Case cases[] = {
        {"Мощь предков X", "Мощь предков", true},
        {"Мощь предков", "Мощь предков", true},
        {" Щит II ", "Щит", true},
        {"Щи", "Щит", false},
        {"Щит", "Щи", false},
        {"", "", true},
        {"XIV", "", true},
        {"Щ", "", false},
        {"Щит IIIIIIII", "Щит", true},
        {"Щит IIIIIIII", "Щит I", false},
    };
    std::string room = "left from another line";
    for (const auto& c : cases) {
        EXPECT_EQ(StripsTo(Cp(c.text), Cp(c.key), room), c.expected) << c.text << " / " << c.key;
        EXPECT_EQ(StripsTo(Cp(c.text), Cp(c.key), room), StripRankNumerals(Cp(c.text)) == Cp(c.key))
            << c.text;
    }
}

TEST(ParseDamageAmount, ReadsTheLastNumberBeforeUnits) {
    struct Case {
        const char* segment;
        std::int32_t amount;
    };
    const Case cases[] = {
        {"Моб получает 1234", 1234},
        {"Моб получает 007", 7},
        {"Моб получает 1 234", 234},
        {"Моб получает 1,234", 1234},
        {"Моб получает -50", 50},
        {"1234", 1234},
        {"Моб получает 2147483647", 2147483647},
        {"Моб получает 12\xC2\xA0"
         "34",
         1234},
    };
    for (const auto& c : cases) {
        const std::string line = Cp(std::string("10:00:00 : ") + c.segment + " ед. урона.");
        EXPECT_EQ(ParseDamageAmount(line), c.amount) << c.segment;
    }
}

TEST(ParseDamageAmount, FailsWithTheDigitsInTheMessage) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"10:00:00 : Моб получает 1234  ед. урона.", "'' is not a valid integer value"},
        {"10:00:00 : Моб получает много ед. урона.", "'' is not a valid integer value"},
        {"10:00:00 : 1234ед. урона.", "'' is not a valid integer value"},
        {"10:00:00 : Моб получает 2147483648 ед. урона.", "'2147483648' is not a valid integer value"},
        {"10:00:00 : Моб получает 99999999999999999999999999999999999999999999999999999999999999999999 ед. "
         "урона.",
         "'99999999999999999999999999999999999999999999999999999999999999999999' is not a valid integer "
         "value"},
    };
    for (const auto& c : cases) {
        try {
            ParseDamageAmount(Cp(c.line));
            ADD_FAILURE() << "no error for " << c.line;
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(LineFields, EveryLineShape) {
    struct Case {
        const char* line;
        const char* actor;
        const char* skill;
        std::int32_t amount;  // -1: not a damage line
        bool critical;
    };
    const Case cases[] = {
        {"10:00:00 : Ария использует: Огненный шар IV. Моб получает 1234 ед. урона.", "Ария",
         "Огненный шар IV", 1234, false},
        {"10:00:00 : Ария использует Огненный шар IV. Моб получает 1234 ед. урона.", "Ария",
         "Огненный шар IV", 1234, false},
        {"10:00:00 : Критический удар! Ария использует: Огненный шар IV. Моб получает 2468 ед. урона.",
         "Ария", "Огненный шар IV", 2468, true},
        {"10:00:00 : Ария использует: Щит II.", "Ария", "Щит II", -1, false},
        {"10:00:00 : Моб наносит 300 ед. урона.", "Моб", "", 300, false},
        {"10:00:00 : Критический удар! Моб наносит 600 ед. урона.", "Моб", "", 600, true},
        {"10:00:00 : Отравление III: Моб получает 85 ед. урона.", "", "Отравление III", 85, false},
        {"10:00:00 : Критический удар! Огненный шар IV: Моб получает 2468 ед. урона.", "", "Огненный шар IV",
         2468, true},
        {"10:00:00 : Вы нанесли 450 ед. урона.", "", "", 450, false},
        {"10:00:00 : Дух огня появляется у персонажа Ария.", "Ария", "", -1, false},
        {"10:00:00 : Ария отражает атаку и наносит 120 ед. урона.", "Ария", "", 120, false},
        {"10:00:00 : Дух огня: Магический урон 300 ед. урона.", "", "Дух огня", 300, false},
        {"10:00:00 : Команда: Разложение (огонь). Моб получает 150 ед. урона.", "", "Команда", 150, false},
        {"nothing to see here", "", "", -1, false},
        // both verbs: the actor is cut before " использует"
        {"10:00:00 : Ария использует: Удар. Ария наносит 5 ед. урона.", "Ария", "Удар", 5, false},
        // no "." after "использует": no skill
        {"10:00:00 : Ария использует Удар", "Ария", "", -1, false},
        // shows up with no "." after the name: the actor is empty even though step 2 found one
        {"10:00:00 : Дух использует появляется у персонажа Ария", "", "", -1, false},
        // critical phrase but no damage
        {"10:00:00 : Критический удар! Ария использует: Щит.", "Ария", "Щит", -1, false},
    };
    for (const auto& c : cases) {
        const std::string line = Cp(c.line);
        EXPECT_EQ(U8(ExtractActorName(line)), c.actor) << c.line;
        EXPECT_EQ(U8(ExtractSkillName(line)), c.skill) << c.line;
        EXPECT_EQ(IsCriticalHit(line), c.critical) << c.line;
        if (c.amount >= 0) {
            EXPECT_EQ(ParseDamageAmount(line), c.amount) << c.line;
        }
    }
}

TEST(LineFields, CriticalActorSameWithAndWithoutTheCriticalWords) {
    EXPECT_EQ(U8(ExtractActorName(
                  Cp("10:00:00 : Критический удар! Ария использует: Огненный шар IV. Моб получает 2468 "
                     "ед. урона."))),
              "Ария");
    EXPECT_EQ(
        U8(ExtractActorName(Cp("10:00:00 : Ария использует: Огненный шар IV. Моб получает 2468 ед. урона."))),
        "Ария");
}

}  // namespace
}  // namespace tally

namespace tally {
namespace {

// The phrase search tests sixteen positions at a time and the last ones from an overlapping block:
// every length of text, every place of the phrase and every starting point must give what a plain
// search gives, near-misses that share the phrase's rarest bytes included.
TEST(FindPhrase, AgreesWithAPlainSearchAtEveryPlace) {
    const std::string phrase = test::Cp("получает");
    const std::string nearMiss = test::Cp("полуЧает получаеТ почучает");
    for (std::size_t length = 0; length < 70; ++length)
        for (std::size_t at = 0; at + phrase.size() <= length + phrase.size(); ++at) {
            std::string text;
            while (text.size() < length)
                text += nearMiss;
            text.resize(length);
            if (at + phrase.size() <= length)
                text.replace(at, phrase.size(), phrase);
            for (std::size_t from = 0; from <= length + 1; ++from)
                ASSERT_EQ(detail::FindPhrase(text, phrase, from), std::string_view(text).find(phrase, from))
                    << "length " << length << ", phrase at " << at << ", from " << from;
        }
    EXPECT_EQ(detail::FindPhrase("a", "a"), 0u);
    EXPECT_EQ(detail::FindPhrase("", "a"), std::string_view::npos);
    EXPECT_EQ(detail::FindPhrase("aaaa", ""), std::string_view::npos);
}

}  // namespace
}  // namespace tally
