#pragma once
// A growable run of bytes for the blocks of a log. Unlike std::vector<char> it leaves fresh room
// untouched (no zero fill) and grows with realloc, which moves a large buffer's pages instead of
// copying them, so a huge line costs about its own size in memory, as in the line reader.

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace tally {

class ByteBuffer {
  public:
    ByteBuffer() = default;
    ~ByteBuffer() { std::free(data_); }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

    // Room for at least capacity bytes, doubling so that growing a line stays linear; false, with the
    // bytes kept, when there is no memory for it.
    bool Reserve(std::size_t capacity) {
        if (capacity <= capacity_)
            return true;
        const std::size_t wanted =
            capacity_ > capacity / 2 && capacity_ * 2 > capacity_ ? capacity_ * 2 : capacity;
        char* grown = static_cast<char*>(std::realloc(data_, wanted));
        if (!grown)
            return false;
        data_ = grown;
        capacity_ = wanted;
        return true;
    }
    // The first size bytes count; size stays within what Reserve made room for.
    void SetSize(std::size_t size) { size_ = size; }
    // Makes the buffer a copy of [begin, end), which lies in another buffer.
    bool Assign(const char* begin, const char* end) {
        const auto size = static_cast<std::size_t>(end - begin);
        if (!Reserve(size))
            return false;
        if (size > 0)
            std::memcpy(data_, begin, size);
        size_ = size;
        return true;
    }
    void swap(ByteBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace tally
