#include "line_reader.h"

#include <cstring>

namespace tally {
namespace {
constexpr char kEndOfFileMark = 26;  // Ctrl-Z
}

LineReader::LineReader(platform::SharedReadFile& file, std::size_t blockSize)
    : file_(file), buffer_(blockSize) {}

bool LineReader::Fill() {
    if (atEndOfData_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
    const std::size_t got = file_.Read(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0)
        atEndOfData_ = true;
    end_ += got;
    return got > 0;
}

std::string_view LineReader::Emit(std::size_t begin, std::size_t end) {
    const char* data = buffer_.data() + begin;
    std::size_t size = end - begin;
    // The usual CR LF line end leaves one carriage return at the end: drop it without copying.
    if (size > 0 && data[size - 1] == '\r')
        --size;
    const void* carriageReturn = std::memchr(data, '\r', size);
    if (!carriageReturn)
        return {data, size};
    withoutCarriageReturns_.assign(data, static_cast<const char*>(carriageReturn));
    for (std::size_t i = withoutCarriageReturns_.size() + 1; i < size; ++i)
        if (data[i] != '\r')
            withoutCarriageReturns_ += data[i];
    return withoutCarriageReturns_;
}

bool LineReader::Next(std::string_view& line) {
    if (finished_)
        return false;
    std::size_t searchFrom = begin_;
    for (;;) {
        const void* lf = std::memchr(buffer_.data() + searchFrom, '\n', end_ - searchFrom);
        const std::size_t lineEnd = lf ? static_cast<const char*>(lf) - buffer_.data() : end_;
        if (!lf && !atEndOfData_) {
            const std::size_t scanned = end_ - begin_;
            Fill();
            searchFrom = begin_ + scanned;
            continue;
        }
        // The end-of-file mark cuts the line it stands in; a line that would start with it is no line.
        if (const void* mark = std::memchr(buffer_.data() + begin_, kEndOfFileMark, lineEnd - begin_)) {
            const std::size_t markAt = static_cast<const char*>(mark) - buffer_.data();
            finished_ = true;
            if (markAt == begin_)
                return false;
            line = Emit(begin_, markAt);
            return true;
        }
        if (!lf) {
            finished_ = true;
            if (begin_ == end_)
                return false;
            line = Emit(begin_, end_);
            begin_ = end_;
            return true;
        }
        line = Emit(begin_, lineEnd);
        begin_ = lineEnd + 1;
        return true;
    }
}

}  // namespace tally
