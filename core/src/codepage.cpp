#include "tallyscope/codepage.h"

#include <array>
#include <unordered_map>

namespace tally {
namespace {

// Upper half of Windows-1251; 0x98 has no character and keeps its own code so that it round-trips.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

const std::unordered_map<char16_t, char>& EncodeMap() {
    static const auto map = [] {
        std::unordered_map<char16_t, char> m;
        for (std::size_t i = 0; i < kUpperHalf.size(); ++i)
            m[kUpperHalf[i]] = static_cast<char>(0x80 + i);
        return m;
    }();
    return map;
}

char EncodeOne(char32_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    if (c > 0xFFFF)
        return '?';
    const auto& map = EncodeMap();
    const auto it = map.find(static_cast<char16_t>(c));
    return it == map.end() ? '?' : it->second;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char16_t Cp1251ToUtf16(unsigned char byte) {
    return byte < 0x80 ? byte : kUpperHalf[byte - 0x80];
}

std::u16string DecodeCp1251(std::string_view cp1251) {
    std::u16string out;
    out.reserve(cp1251.size());
    for (const char c : cp1251)
        out += Cp1251ToUtf16(static_cast<unsigned char>(c));
    return out;
}

std::string EncodeCp1251(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size())
            ++i;  // a surrogate pair is one character
        out += (c >= 0xD800 && c <= 0xDFFF) ? '?' : EncodeOne(c);
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251)
        AppendUtf8(out, Cp1251ToUtf16(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        int length = b0 < 0x80             ? 1
                     : (b0 & 0xE0) == 0xC0 ? 2
                     : (b0 & 0xF0) == 0xE0 ? 3
                     : (b0 & 0xF8) == 0xF0 ? 4
                                           : 0;
        if (length == 0 || i + length > utf8.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t c = length == 1 ? b0 : (b0 & (0x7F >> length));
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if ((b & 0xC0) != 0x80)
                valid = false;
            c = (c << 6) | (b & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += EncodeOne(c);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

int CompareCp1251(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i])
            continue;
        const char16_t ca = Cp1251ToUtf16(static_cast<unsigned char>(a[i]));
        const char16_t cb = Cp1251ToUtf16(static_cast<unsigned char>(b[i]));
        return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace tally
