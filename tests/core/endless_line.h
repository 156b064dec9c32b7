#pragma once
#include <cstring>

#include "tallyscope/byte_source.h"

namespace tally::test {

// Hands out the same byte without end, as a line that never ends would.
class EndlessLine final : public ByteSource {
  public:
    std::size_t Read(char* buffer, std::size_t capacity) override {
        std::memset(buffer, 'x', capacity);
        return capacity;
    }
};

}  // namespace tally::test
