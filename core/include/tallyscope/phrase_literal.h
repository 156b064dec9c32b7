#pragma once
// Compile-time Windows-1251 phrases written as readable UTF-8 literals: "использует"_cp is the byte
// string the game client writes into its log. Only ASCII and the Russian alphabet are accepted; any
// other character stops the build.

#include <array>
#include <cstddef>
#include <string_view>

namespace tally::detail {

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
constexpr std::string_view operator""_cp() {
    return {detail::EncodedPhrase<S>::value.data(), detail::EncodedPhrase<S>::value.size()};
}

}  // namespace tally::literals
