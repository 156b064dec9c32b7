#include "line_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "tallyscope/errors.h"

namespace tally {
namespace {

constexpr char kEndOfFileMark = 26;  // Ctrl-Z
constexpr std::size_t kMebibyte = std::size_t{1} << 20;

std::string DescribeSize(std::size_t bytes) {
    if (bytes >= kMebibyte && bytes % kMebibyte == 0)
        return std::to_string(bytes / kMebibyte) + " MiB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace

[[noreturn]] void ThrowLineTooLong(std::uint64_t lineNumber, std::size_t maxLineLength) {
    throw LineTooLongError("Line " + std::to_string(lineNumber) + " is longer than " +
                           DescribeSize(maxLineLength) + " and cannot be read");
}

[[noreturn]] void ThrowOutOfMemory(std::uint64_t lineNumber, std::size_t heldBytes) {
    throw LineTooLongError("Line " + std::to_string(lineNumber) + " does not fit into memory (" +
                           std::to_string(heldBytes) + " bytes of it read) and cannot be read");
}

namespace {

char* Allocate(std::size_t size) {
    auto* bytes = static_cast<char*>(std::malloc(size));
    if (!bytes)
        throw std::bad_alloc();
    return bytes;
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t blockSize, std::size_t maxLineLength)
    : source_(source), blockSize_(blockSize > 0 ? blockSize : 1), maxLineLength_(maxLineLength) {
    capacity_ = std::min(blockSize_, kFirstBlockSize);
    buffer_.reset(Allocate(capacity_));
}

bool LineReader::Resize(std::size_t capacity) {
    char* resized = static_cast<char*>(std::realloc(buffer_.get(), capacity));
    if (!resized)
        return false;
    static_cast<void>(buffer_.release());  // realloc has freed or kept it; resized owns the bytes now
    buffer_.reset(resized);
    capacity_ = capacity;
    return true;
}

void LineReader::Grow() {
    // The buffer holds nothing but the start of one line, which goes on beyond it.
    if (end_ > maxLineLength_)
        ThrowLineTooLong(lineNumber_ + 1, maxLineLength_);
    // Doubling keeps the copies of a long line linear in its length; a line needs at most its limit
    // and one byte for its line feed.
    const std::size_t roomForLongest =
        maxLineLength_ < std::numeric_limits<std::size_t>::max() ? maxLineLength_ + 1 : maxLineLength_;
    const std::size_t wanted = capacity_ < roomForLongest / 2 ? capacity_ * 2 : roomForLongest;
    if (!Resize(wanted))
        ThrowOutOfMemory(lineNumber_ + 1, end_);
}

bool LineReader::Fill() {
    if (atEndOfData_)
        return false;
    char* const buffer = buffer_.get();
    if (begin_ > 0) {
        std::memmove(buffer, buffer + begin_, end_ - begin_);
        end_ -= begin_;
        bufferOffset_ += begin_;
        begin_ = 0;
    }
    if (end_ == capacity_)
        Grow();  // a line longer than the buffer
    else if (capacity_ < blockSize_ && lastReadWasFull_)
        Resize(std::min(capacity_ * 2, blockSize_));  // a larger file: larger blocks, when there is memory
    char* const fresh = buffer_.get() + end_;
    const std::size_t wanted = capacity_ - end_;
    const std::size_t got = source_.Read(fresh, wanted);
    lastReadWasFull_ = got == wanted;
    if (got == 0) {
        atEndOfData_ = true;
        return false;
    }
    // Only the bytes just read can hold a mark that has not been seen: the data ends at it.
    if (const void* mark = std::memchr(fresh, kEndOfFileMark, got)) {
        end_ += static_cast<std::size_t>(static_cast<const char*>(mark) - fresh);
        atEndOfData_ = true;
    } else {
        end_ += got;
    }
    return true;
}

std::string_view WithoutCarriageReturns(const char* data, std::size_t size, std::string& scratch) {
    // The usual CR LF line end leaves one carriage return at the end: drop it without copying.
    if (size > 0 && data[size - 1] == '\r')
        --size;
    const void* carriageReturn = std::memchr(data, '\r', size);
    if (!carriageReturn)
        return {data, size};
    scratch.assign(data, static_cast<const char*>(carriageReturn));
    for (std::size_t i = scratch.size() + 1; i < size; ++i)
        if (data[i] != '\r')
            scratch += data[i];
    return scratch;
}

std::string_view LineReader::Emit(std::size_t begin, std::size_t end) {
    ++lineNumber_;
    if (end - begin > maxLineLength_)
        ThrowLineTooLong(lineNumber_, maxLineLength_);
    // The line's bytes are read once and never again, so its carriage returns are dropped where it
    // stands instead of in a copy.
    char* const data = buffer_.get() + begin;
    std::size_t size = end - begin;
    if (size > 0 && data[size - 1] == '\r')
        --size;
    auto* carriageReturn = static_cast<char*>(std::memchr(data, '\r', size));
    if (!carriageReturn)
        return {data, size};
    char* out = carriageReturn;
    for (const char* in = carriageReturn + 1; in < data + size; ++in)
        if (*in != '\r')
            *out++ = *in;
    return {data, static_cast<std::size_t>(out - data)};
}

bool LineReader::Next(std::string_view& line) {
    if (finished_)
        return false;
    std::size_t searchFrom = begin_;
    for (;;) {
        const void* lf = std::memchr(buffer_.get() + searchFrom, '\n', end_ - searchFrom);
        if (lf) {
            const auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.get());
            line = Emit(begin_, lineEnd);
            lineBegin_ = bufferOffset_ + begin_;
            begin_ = lineEnd + 1;
            lineEnd_ = bufferOffset_ + begin_;
            return true;
        }
        if (!atEndOfData_) {
            const std::size_t scanned = end_ - begin_;
            Fill();
            searchFrom = begin_ + scanned;
            continue;
        }
        // The last line has no line end; a line that would start at the end-of-file mark is no line.
        finished_ = true;
        if (begin_ == end_)
            return false;
        line = Emit(begin_, end_);
        lineBegin_ = bufferOffset_ + begin_;
        begin_ = end_;
        lineEnd_ = bufferOffset_ + end_;
        return true;
    }
}

}  // namespace tally
