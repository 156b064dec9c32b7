#pragma once
// Compile-time Windows-1251 phrases written as readable UTF-8 literals: "использует"_cp is the byte
// string the game client writes into its log. Only ASCII and the Russian alphabet are accepted; any
// other character stops the build.

#include <array>
#include <cstddef>
#include <string_view>

namespace tally {

// A fixed phrase of the vocabulary with the positions of its two least common bytes, which a search
// tests before it compares the whole phrase (see FindPhrase).
struct Phrase {
    std::string_view text;
    std::size_t anchor = 0;
    std::size_t second = 0;
    constexpr operator std::string_view() const { return text; }
    constexpr std::size_t size() const { return text.size(); }
};

}  // namespace tally

namespace tally::detail {

// How common a Windows-1251 byte is in a chat log; higher is more common, unlisted bytes are rare.
constexpr std::array<unsigned char, 256> MakeByteCommonness() {
    std::array<unsigned char, 256> rank{};
    // From most to least common: blank, о е а и н т с р в л к м д п у, digits, punctuation, then the
    // rarer letters.
    constexpr unsigned char ordered[] = {
        ' ',  0xEE, 0xE5, 0xE0, 0xE8, 0xED, 0xF2, 0xF1, 0xF0, 0xE2, 0xEB, 0xEA, 0xEC, 0xE4, 0xEF, 0xF3,
        '0',  '1',  '2',  '3',  '4',  '5',  '6',  '7',  '8',  '9',  '.',  ':',  0xFF, 0xFB, 0xFC, 0xE3,
        0xE7, 0xE1, 0xF7, 0xE9, 0xF5, 0xE6, 0xF8, 0xFE, 0xF6, 0xF9, 0xFD, 0xF4, 0xFA, 0xB8};
    unsigned char value = 250;
    for (const unsigned char byte : ordered) {
        rank[byte] = value;
        value = static_cast<unsigned char>(value - 5);
    }
    return rank;
}
inline constexpr std::array<unsigned char, 256> kByteCommonness = MakeByteCommonness();

constexpr std::size_t AnchorOf(std::string_view phrase) {
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < phrase.size(); ++i)
        if (kByteCommonness[static_cast<unsigned char>(phrase[i])] <
            kByteCommonness[static_cast<unsigned char>(phrase[anchor])])
            anchor = i;
    return anchor;
}

// The least common byte after the anchor's, preferably of another value: two rare bytes at their places
// rule out nearly every position before the phrase is compared.
constexpr std::size_t SecondAnchorOf(std::string_view phrase, std::size_t anchor) {
    std::size_t second = anchor;
    auto rank = [&](std::size_t i) {
        const int sameByte = phrase[i] == phrase[anchor] ? 256 : 0;
        return kByteCommonness[static_cast<unsigned char>(phrase[i])] + sameByte;
    };
    for (std::size_t i = 0; i < phrase.size(); ++i)
        if (i != anchor && (second == anchor || rank(i) < rank(second)))
            second = i;
    return second;
}

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    consteval Utf8Literal(const char (&text)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            bytes[i] = text[i];
    }
};

constexpr char32_t DecodeUtf8At(const char* s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0) {
        const auto b1 = static_cast<unsigned char>(s[i + 1]);
        i += 2;
        return (char32_t(b0 & 0x1F) << 6) | (b1 & 0x3F);
    }
    throw "phrase literal: only ASCII and Cyrillic are supported";
}

constexpr char ToCp1251(char32_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x410 && c <= 0x44F)
        return static_cast<char>(c - 0x410 + 0xC0);
    if (c == 0x401)
        return static_cast<char>(0xA8);  // Ё
    if (c == 0x451)
        return static_cast<char>(0xB8);  // ё
    throw "phrase literal: character has no Windows-1251 byte";
}

template <Utf8Literal S>
consteval std::size_t EncodedLength() {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < sizeof(S.bytes);) {
        DecodeUtf8At(S.bytes, i);
        ++n;
    }
    return n;
}

template <Utf8Literal S>
struct EncodedPhrase {
    static constexpr std::array<char, EncodedLength<S>()> value = [] {
        std::array<char, EncodedLength<S>()> out{};
        std::size_t o = 0;
        for (std::size_t i = 0; i + 1 < sizeof(S.bytes);)
            out[o++] = ToCp1251(DecodeUtf8At(S.bytes, i));
        return out;
    }();
};

}  // namespace tally::detail

namespace tally::literals {

template <detail::Utf8Literal S>
constexpr Phrase operator""_cp() {
    constexpr std::string_view text{detail::EncodedPhrase<S>::value.data(),
                                    detail::EncodedPhrase<S>::value.size()};
    constexpr std::size_t anchor = detail::AnchorOf(text);
    return {text, anchor, detail::SecondAnchorOf(text, anchor)};
}

}  // namespace tally::literals
