#pragma once
// Reads a text file line by line in large blocks, the way the chat log is read: LF and CR LF end a
// line, a carriage return not followed by a line feed is dropped, a byte 26 (Ctrl-Z) ends the file,
// a last line without a line end counts, and a line may be of any length. Memory stays bounded by
// the longest line, never the whole file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/byte_source.h"

namespace tally {

// The text of a line without its carriage returns: the one of a CR LF line end and any lone one. The
// result is the bytes themselves when they hold none, otherwise scratch.
std::string_view WithoutCarriageReturns(const char* data, std::size_t size, std::string& scratch);

class LineReader {
  public:
    explicit LineReader(ByteSource& source, std::size_t blockSize = 1 << 20);

    // The next line, valid until the next call; false at the end of the file.
    bool Next(std::string_view& line);

    // Where the line last returned by Next stands in the data: the offset of its first byte, and the
    // offset just past its line end (or past its last byte, when the data ends without one).
    std::uint64_t LineBegin() const { return lineBegin_; }
    std::uint64_t LineEnd() const { return lineEnd_; }

  private:
    // Moves the unread bytes to the front and reads more behind them; false when nothing was added.
    bool Fill();
    std::string_view Emit(std::size_t begin, std::size_t end);

    ByteSource& source_;
    std::vector<char> buffer_;
    std::string withoutCarriageReturns_;
    // The unread bytes are buffer_[begin_, end_). Everything from an end-of-file mark on is never
    // put into that range, so no position has to be remembered across refills.
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t bufferOffset_ = 0;  // offset in the data of buffer_[0]
    std::uint64_t lineBegin_ = 0;
    std::uint64_t lineEnd_ = 0;
    bool atEndOfData_ = false;
    bool finished_ = false;
};

}  // namespace tally
