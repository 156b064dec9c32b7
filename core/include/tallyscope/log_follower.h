#pragma once
// Follows a chat log while the game client writes it: each read takes only the bytes appended since
// the last one and hands over the lines that are complete. A last line whose line end has not arrived
// yet is held until it does, so no line is ever handed over in halves, and a CR LF split between two
// writes is still one line end. The log stays the game's: it is opened so that the game can go on
// writing, renaming and deleting it. A log that is truncated, deleted, or replaced by another file is
// noticed, and following starts again from the beginning of the file now at the path.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tallyscope/fights.h"
#include "tallyscope/platform.h"

namespace tally {

// Receives what the follower reads, in order.
class FollowSink {
  public:
    virtual ~FollowSink() = default;
    // The log starts again from its first byte: forget every line handed over so far.
    virtual void Restart() = 0;
    virtual void Line(const LogLine& line) = 0;
};

class LogFollower {
  public:
    explicit LogFollower(std::filesystem::path path);
    ~LogFollower();

    struct Progress {
        bool restarted = false;       // started again from the beginning of a new or cut file
        bool missing = false;         // no readable file at the path now
        std::uint64_t bytesRead = 0;  // what this read took
        bool caughtUp = true;         // false when more bytes are waiting than the read was allowed
        std::string error;            // why the file at the path cannot be read, when it cannot
    };

    // Reads at most maxBytes of what was appended and hands every complete line to sink. Never throws
    // for what happens to the file; a failure to read is reported in Progress and tried again next
    // time.
    Progress Read(std::uint64_t maxBytes, FollowSink& sink);

    // Starts again from the beginning of the file at the next read, as if it had been replaced.
    void Rewind();

    const std::filesystem::path& Path() const { return path_; }
    // Bytes of the current file read so far.
    std::uint64_t Position() const { return position_; }

  private:
    bool Open(Progress& progress, FollowSink& sink);
    bool StillTheSameFile();
    void Forget();
    void Take(const char* data, std::size_t size, FollowSink& sink);
    void HandOver(const char* data, std::size_t size, std::uint64_t begin, std::uint64_t end,
                  FollowSink& sink);

    std::filesystem::path path_;
    std::unique_ptr<platform::SharedReadFile> file_;
    platform::FileIdentity identity_;
    bool everOpened_ = false;
    std::uint64_t position_ = 0;
    std::uint64_t lastSize_ = 0;
    bool ended_ = false;  // the end-of-file mark was read: nothing after it counts
    // The first bytes of the file, read again to tell a file rewritten from its start.
    std::string head_;
    // The bytes of the line whose line end has not arrived yet, and where it starts.
    std::string held_;
    std::uint64_t heldBegin_ = 0;
    std::uint64_t lineNumber_ = 0;
    std::vector<char> buffer_;
    std::string scratch_;
};

}  // namespace tally
