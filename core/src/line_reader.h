#pragma once
// Reads a text file line by line in large blocks, the way the chat log is read: LF and CR LF end a
// line, a carriage return not followed by a line feed is dropped, a byte 26 (Ctrl-Z) ends the file,
// a last line without a line end counts, and a line may be of any length. Memory stays bounded by
// the longest line, never the whole file.

#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/platform.h"

namespace tally {

class LineReader {
  public:
    explicit LineReader(platform::SharedReadFile& file, std::size_t blockSize = 1 << 20);

    // The next line, valid until the next call; false at the end of the file.
    bool Next(std::string_view& line);

  private:
    bool Fill();
    std::string_view Emit(std::size_t begin, std::size_t end);

    platform::SharedReadFile& file_;
    std::vector<char> buffer_;
    std::string withoutCarriageReturns_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    // Where the next end-of-file mark stands in the buffer (end_ when there is none), so that the
    // buffer is searched for it once per block rather than once per line.
    std::size_t nextMark_ = 0;
    bool markSearched_ = false;
    bool atEndOfData_ = false;
    bool finished_ = false;
};

}  // namespace tally
