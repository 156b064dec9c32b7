#pragma once
// The chat log, the reference lists and the 8-bit text fields of the tables hold Windows-1251 text,
// one byte per character. The core keeps that text as raw bytes in std::string; these helpers convert
// it at the edges (command-line output, the windows) and order it by 16-bit code value.

#include <cstdint>
#include <string>
#include <string_view>

namespace tally {

// The UTF-16 code unit of one Windows-1251 byte. The byte 0x98, which has no character in the code
// page, decodes to U+0098 so that it round-trips.
char16_t Cp1251ToUtf16(unsigned char byte);

std::u16string DecodeCp1251(std::string_view cp1251);
// Characters without a Windows-1251 byte become '?'.
std::string EncodeCp1251(std::u16string_view utf16);

std::string Cp1251ToUtf8(std::string_view cp1251);
// Invalid UTF-8 and characters without a Windows-1251 byte become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// Ordinal comparison by 16-bit code value, as the tables sort text: <0, 0 or >0.
int CompareCp1251(std::string_view a, std::string_view b);

}  // namespace tally
