#pragma once
// Reads a text file line by line in large blocks, the way the chat log is read: LF and CR LF end a
// line, a carriage return not followed by a line feed is dropped, a byte 26 (Ctrl-Z) ends the file,
// a last line without a line end counts, and a line may be of any length up to kMaxLineLength.
// Memory stays bounded by the longest line, never the whole file: a line is held once, in the
// reader's buffer, and its carriage returns are dropped in place.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "tallyscope/byte_source.h"

namespace tally {

// The longest line the reader holds, in bytes of the file. A chat-log line is a few hundred bytes; a
// line beyond this is no chat log (a disk image, an archive), and holding it could exhaust the
// memory of the machine before anything fails cleanly.
inline constexpr std::size_t kMaxLineLength = std::size_t{1} << 30;  // 1 GiB

// The errors that end the reading of a line that is too long, or for which memory ran out after
// heldBytes of it.
[[noreturn]] void ThrowLineTooLong(std::uint64_t lineNumber, std::size_t maxLineLength);
[[noreturn]] void ThrowOutOfMemory(std::uint64_t lineNumber, std::size_t heldBytes);

// The text of a line without its carriage returns: the one of a CR LF line end and any lone one. The
// result is the bytes themselves when they hold none, otherwise scratch.
std::string_view WithoutCarriageReturns(const char* data, std::size_t size, std::string& scratch);

class LineReader {
  public:
    static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;
    // The buffer starts this small and doubles at every refill up to the block size, so that a small
    // file, such as a reference list, costs a small buffer and a large log is read in large blocks.
    static constexpr std::size_t kFirstBlockSize = std::size_t{64} << 10;

    // A line longer than maxLineLength bytes, or one for which there is not enough memory, throws
    // LineTooLongError from Next.
    explicit LineReader(ByteSource& source, std::size_t blockSize = kDefaultBlockSize,
                        std::size_t maxLineLength = kMaxLineLength);

    // The next line, valid until the next call; false at the end of the file.
    bool Next(std::string_view& line);

    // Where the line last returned by Next stands in the data: the offset of its first byte, and the
    // offset just past its line end (or past its last byte, when the data ends without one).
    std::uint64_t LineBegin() const { return lineBegin_; }
    std::uint64_t LineEnd() const { return lineEnd_; }

  private:
    struct FreeBuffer {
        void operator()(char* bytes) const { std::free(bytes); }
    };

    // Moves the unread bytes to the front and reads more behind them; false when nothing was added.
    bool Fill();
    // Makes room for a line that fills the whole buffer.
    void Grow();
    // Resizes the buffer; false when there is no memory for it.
    bool Resize(std::size_t capacity);
    std::string_view Emit(std::size_t begin, std::size_t end);

    ByteSource& source_;
    // Allocated with malloc, so that growing it can move the pages of a huge line (realloc) instead of
    // copying them, and fresh capacity stays untouched until the line reaches it.
    std::unique_ptr<char, FreeBuffer> buffer_;
    std::size_t capacity_ = 0;
    std::size_t blockSize_;
    std::size_t maxLineLength_;
    // The unread bytes are buffer_[begin_, end_). Everything from an end-of-file mark on is never
    // put into that range, so no position has to be remembered across refills.
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t bufferOffset_ = 0;  // offset in the data of buffer_[0]
    std::uint64_t lineBegin_ = 0;
    std::uint64_t lineEnd_ = 0;
    std::uint64_t lineNumber_ = 0;  // of the line being read, from 1
    bool lastReadWasFull_ = false;  // the data may go on: worth a larger block
    bool atEndOfData_ = false;
    bool finished_ = false;
};

}  // namespace tally
