#include "tallyscope/log_follower.h"

#include <algorithm>
#include <cstring>

#include "line_reader.h"
#include "tallyscope/errors.h"

namespace tally {
namespace {
constexpr char kEndOfFileMark = 26;  // Ctrl-Z
constexpr std::size_t kBlock = 1 << 16;
// Enough of the file's start to tell a rewritten log: its first line holds a date and time.
constexpr std::size_t kHeadSize = 64;
}  // namespace

LogFollower::LogFollower(std::filesystem::path path) : path_(std::move(path)), buffer_(kBlock) {}

LogFollower::~LogFollower() = default;

void LogFollower::Rewind() {
    // The next read opens the file again, and every opening after the first is a restart.
    file_.reset();
}

void LogFollower::Forget() {
    position_ = 0;
    lastSize_ = 0;
    ended_ = false;
    head_.clear();
    held_.clear();
    heldBegin_ = 0;
    lineNumber_ = 0;
}

bool LogFollower::Open(Progress& progress, FollowSink& sink) {
    if (!platform::FileExists(path_)) {
        progress.missing = true;
        return false;
    }
    try {
        file_ = std::make_unique<platform::SharedReadFile>(path_, platform::Sharing::WithWriters);
    } catch (const FileError& error) {
        progress.missing = true;
        progress.error = error.what();
        return false;
    }
    identity_ = file_->Identity();
    Forget();
    if (everOpened_) {
        sink.Restart();
        progress.restarted = true;
    }
    everOpened_ = true;
    return true;
}

bool LogFollower::StillTheSameFile() {
    if (file_->IsDeleted())
        return false;  // on Windows the name may stay until this handle lets the file go
    const auto now = platform::IdentityOf(path_);
    if (!now || !(*now == identity_))
        return false;
    const std::uint64_t size = file_->Size();
    if (size < position_)
        return false;  // cut: the game started the log anew
    if (size != lastSize_ && !head_.empty()) {
        // A file rewritten from its start to beyond the old size has another beginning.
        std::string head(head_.size(), '\0');
        file_->Seek(0);
        std::size_t got = 0;
        while (got < head.size()) {
            const std::size_t n = file_->Read(head.data() + got, head.size() - got);
            if (n == 0)
                break;
            got += n;
        }
        file_->Seek(position_);
        if (got != head.size() || head != head_)
            return false;
    }
    lastSize_ = size;
    return true;
}

LogFollower::Progress LogFollower::Read(std::uint64_t maxBytes, FollowSink& sink) {
    Progress progress;
    try {
        if (file_ && !StillTheSameFile())
            file_.reset();  // a deleted file is let go, so that the game can create the log again
        if (!file_ && !Open(progress, sink))
            return progress;
        while (!ended_ && progress.bytesRead < maxBytes) {
            const std::size_t want = static_cast<std::size_t>(
                std::min<std::uint64_t>(buffer_.size(), maxBytes - progress.bytesRead));
            const std::size_t got = file_->Read(buffer_.data(), want);
            if (got == 0)
                break;
            progress.bytesRead += got;
            Take(buffer_.data(), got, sink);
        }
        progress.caughtUp = ended_ || file_->Size() <= position_;
        lastSize_ = file_->Size();
    } catch (const FileError& error) {
        // Reading failed: let the file go and open it again next time, from the start.
        file_.reset();
        progress.error = error.what();
    }
    return progress;
}

void LogFollower::Take(const char* data, std::size_t size, FollowSink& sink) {
    const std::uint64_t at = position_;
    if (head_.size() < kHeadSize)
        head_.append(data, std::min(size, kHeadSize - head_.size()));
    // Nothing after an end-of-file mark counts, and the line it stands in is complete.
    if (const void* mark = std::memchr(data, kEndOfFileMark, size)) {
        size = static_cast<std::size_t>(static_cast<const char*>(mark) - data);
        ended_ = true;
    }
    position_ += size;
    std::size_t begin = 0;
    while (begin < size) {
        const void* lf = std::memchr(data + begin, '\n', size - begin);
        if (!lf)
            break;
        const auto end = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
        if (held_.empty()) {
            HandOver(data + begin, end - 1 - begin, at + begin, at + end, sink);
        } else {
            held_.append(data + begin, end - 1 - begin);
            HandOver(held_.data(), held_.size(), heldBegin_, at + end, sink);
            held_.clear();
        }
        begin = end;
    }
    if (begin < size) {
        if (held_.empty())
            heldBegin_ = at + begin;
        held_.append(data + begin, size - begin);
    }
    if (ended_ && !held_.empty()) {
        const std::string last = std::move(held_);
        held_.clear();
        HandOver(last.data(), last.size(), heldBegin_, at + size, sink);
    }
}

void LogFollower::HandOver(const char* data, std::size_t size, std::uint64_t begin, std::uint64_t end,
                           FollowSink& sink) {
    sink.Line({WithoutCarriageReturns(data, size, scratch_), ++lineNumber_, begin, end});
}

}  // namespace tally
