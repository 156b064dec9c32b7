#pragma once
// Where the line reader takes its bytes from: an open file, or, in tests and tools, memory.

#include <cstddef>

namespace tally {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to capacity bytes into buffer; 0 at the end of the data.
    virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
};

}  // namespace tally
