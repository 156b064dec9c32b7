// The line reader over arbitrary bytes, with small buffers and reads so that lines, CR LF pairs and
// end-of-file marks fall across block boundaries, and with a small line limit: it gives exactly the
// lines, and the offsets, of a plain reading of the whole input, and stops with LineTooLongError at
// the first line longer than the limit.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "line_reader.h"
#include "tallyscope/errors.h"

namespace tally::fuzz {
namespace {

// Hands out at most chunk bytes per read, as a pipe or a file being written may.
class ChunkedSource final : public ByteSource {
  public:
    ChunkedSource(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, chunk_, bytes_.size() - at_});
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return n;
    }

  private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::size_t at_ = 0;
};

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    Bytes input(data, size);
    const std::size_t blockSize = 1 + input.Byte() % 64;
    const std::size_t chunk = 1 + input.Byte();
    const std::uint8_t limitChoice = input.Byte();
    // Mostly no practical limit; otherwise one small enough for the fuzzer's lines to reach.
    const std::size_t maxLineLength = limitChoice < 128 ? kMaxLineLength : limitChoice - 128;
    const std::string_view bytes = input.Rest();

    const std::vector<PlainLine> expected = PlainLines(bytes);
    ChunkedSource source(bytes, chunk);
    LineReader reader(source, blockSize, maxLineLength);
    std::string_view line;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const bool tooLong = expected[i].rawLength > maxLineLength;
        try {
            FUZZ_CHECK(reader.Next(line), "a line of the plain reading is missing");
        } catch (const LineTooLongError& error) {
            FUZZ_CHECK(tooLong, "only a line longer than the limit is refused");
            FUZZ_CHECK_EQ(std::string(error.what()).substr(0, 5 + std::to_string(i + 1).size() + 1),
                          "Line " + std::to_string(i + 1) + " ", "the message names the line");
            return 0;
        }
        FUZZ_CHECK(!tooLong, "a line longer than the limit is refused");
        FUZZ_CHECK_EQ(std::string(line), expected[i].text);
        FUZZ_CHECK_EQ(reader.LineBegin(), expected[i].begin);
        FUZZ_CHECK_EQ(reader.LineEnd(), expected[i].end);
    }
    FUZZ_CHECK(!reader.Next(line), "the reader gives no more lines than the plain reading");
    FUZZ_CHECK(!reader.Next(line), "a finished reader stays finished");

    // The carriage-return rule of the follower, on every line of the input.
    std::string scratch;
    for (const PlainLine& plain : expected) {
        const std::string_view raw = bytes.substr(plain.begin, plain.rawLength);
        FUZZ_CHECK_EQ(std::string(WithoutCarriageReturns(raw.data(), raw.size(), scratch)), plain.text);
    }
    return 0;
}
