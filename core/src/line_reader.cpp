#include "line_reader.h"

#include <cstring>

namespace tally {
namespace {
constexpr char kEndOfFileMark = 26;  // Ctrl-Z
}

LineReader::LineReader(ByteSource& source, std::size_t blockSize)
    : source_(source), buffer_(blockSize > 0 ? blockSize : 1) {}

bool LineReader::Fill() {
    if (atEndOfData_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        bufferOffset_ += begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
    char* const fresh = buffer_.data() + end_;
    const std::size_t got = source_.Read(fresh, buffer_.size() - end_);
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
    return WithoutCarriageReturns(buffer_.data() + begin, end - begin, withoutCarriageReturns_);
}

bool LineReader::Next(std::string_view& line) {
    if (finished_)
        return false;
    std::size_t searchFrom = begin_;
    for (;;) {
        const void* lf = std::memchr(buffer_.data() + searchFrom, '\n', end_ - searchFrom);
        if (lf) {
            const auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.data());
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
