// The line reader against the line-end rules read off the whole input at once, for buffers and reads
// of every size: whatever falls on a block boundary (a CR LF, an end-of-file mark, a long line), every
// block size gives exactly the same lines.

#include "line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace tally {
namespace {

// Hands out at most chunk bytes per read, as a file or pipe may.
class MemorySource : public ByteSource {
  public:
    MemorySource(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, chunk_, bytes_.size() - at_});
        std::copy_n(bytes_.data() + at_, n, buffer);
        at_ += n;
        ++reads;
        return n;
    }
    std::size_t consumed() const { return at_; }
    int reads = 0;

  private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::size_t at_ = 0;
};

// The rules, applied to the whole input: the data ends at the first byte 26, lines end at LF, every
// carriage return is dropped (the one of a CR LF and lone ones alike), and what follows the last LF
// is a line when there is anything.
std::vector<std::string> ExpectedLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (const char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (c != '\r')
            line += c;
    }
    if (open)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> ReadAll(std::string_view bytes, std::size_t blockSize, std::size_t chunk) {
    MemorySource source(bytes, chunk);
    LineReader reader(source, blockSize);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    EXPECT_FALSE(reader.Next(line)) << "a finished reader stays finished";
    return lines;
}

struct Input {
    const char* name;
    std::string bytes;
};

std::vector<Input> Inputs() {
    const std::string longLine(3000, 'x');
    return {
        {"empty", ""},
        {"LF lines", "one\ntwo\nthree\n"},
        {"CR LF lines", "one\r\ntwo\r\nthree\r\n"},
        {"no final line end", "one\r\ntwo"},
        {"lone CRs inside lines", "o\rne\r\n\rtwo\r\r\nthree\r"},
        {"empty lines", "\n\r\n\n"},
        {"ends LF CR", "one\n\r"},
        {"mark inside a line", "one\r\ntw\x1ao\r\nthree\r\n"},
        {"mark at the start of a line", "one\r\n\x1atwo\r\n"},
        {"mark as the very first byte", "\x1aone\r\n"},
        {"mark as the very last byte", "one\r\ntwo\r\n\x1a"},
        {"mark in the last line without a line end",
         "one\r\n03:58:\x1a"
         "11 : more"},
        {"mark after a lone CR", "one\r\x1a\ntwo\n"},
        {"mark between CR and LF", "one\r\x1a\n"},
        {"two marks",
         "a\n\x1a"
         "b\n\x1a"
         "c\n"},
        {"mark in a line longer than the buffer", "a\n" + longLine + "\x1a" + longLine + "\nb\n"},
        {"mark late in a long log",
         std::string(test::Repeat("line of text\r\n", 500)) + "cut\x1ahere\r\nlost\r\n"},
        {"a line longer than the buffer", longLine + "\r\n" + longLine},
    };
}

TEST(LineReader, EveryBlockSizeGivesTheLinesOfTheWholeInput) {
    for (const Input& input : Inputs()) {
        const auto expected = ExpectedLines(input.bytes);
        for (const std::size_t blockSize : {1, 2, 3, 7, 64, 1 << 20})
            for (const std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::string::npos})
                EXPECT_EQ(ReadAll(input.bytes, blockSize, chunk), expected)
                    << input.name << ", block " << blockSize << ", read " << chunk;
    }
}

TEST(LineReader, StopsReadingAtTheEndOfFileMark) {
    const std::string bytes = "one\r\ntwo\x1a" + std::string(1 << 16, 'z');
    MemorySource source(bytes, 64);
    LineReader reader(source, 64);
    std::string_view line;
    while (reader.Next(line)) {
    }
    EXPECT_LT(source.consumed(), 200u) << "nothing after the mark needs to be read";
}

}  // namespace
}  // namespace tally
