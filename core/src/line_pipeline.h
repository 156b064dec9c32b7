#pragma once
// The two stages of a run on several threads. Worker threads take turns reading the log in blocks of
// whole lines (the line-end rules and the end-of-file mark as LineReader keeps them), then work out
// every line of their block at the same time as the others (ComputeLine). The calling thread takes
// the computed lines in log order and books them. A bounded number of blocks is in flight, so memory
// stays flat whatever the size of the log.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "byte_buffer.h"
#include "computed_line.h"
#include "line_reader.h"
#include "tallyscope/byte_source.h"

namespace tally {

class LinePipeline {
  public:
    // A line longer than maxLineLength bytes, or one for which there is not enough memory, ends the
    // log with LineTooLongError, raised by Next after every line before it, as the line reader raises
    // it. blockSize stays well below maxLineLength: the limit is checked as a line grows past blocks.
    LinePipeline(ByteSource& source, const LineWork& work, const ReferenceLookup& lookup, unsigned workers,
                 std::size_t blockSize = 1 << 20, std::size_t maxLineLength = kMaxLineLength);
    ~LinePipeline();
    LinePipeline(const LinePipeline&) = delete;
    LinePipeline& operator=(const LinePipeline&) = delete;

    // The next line in log order, valid until the next call; false at the end of the log. What reading
    // the log raised is raised here, after every line read before it.
    bool Next(const ComputedLine*& line);

  private:
    struct Block {
        std::uint64_t number = 0;
        std::uint64_t offset = 0;  // of its first byte in the log
        ByteBuffer bytes;
        std::vector<ComputedLine> lines;
        TextStore texts;
        std::exception_ptr error;  // reading failed here: the log ends with this error
        // The block's last line outgrew the limit or the memory, with these bytes of it read.
        enum class LongLine { None, TooLong, OutOfMemory } longLine = LongLine::None;
        std::size_t longLineBytes = 0;
        bool last = false;
    };

    void Work();
    // Reads the next block of whole lines; called with the reading lock held.
    std::unique_ptr<Block> ReadBlock();
    void ComputeLines(Block& block, LineScratch& scratch);
    std::unique_ptr<Block> TakeSpareBlock();

    ByteSource& source_;
    const LineWork work_;
    const ReferenceLookup& lookup_;
    const std::size_t blockSize_;
    const std::size_t blocksInFlight_;

    // Reading, one worker at a time.
    std::mutex readLock_;
    const std::size_t maxLineLength_;
    ByteBuffer carry_;  // the bytes after the last line end read so far
    std::uint64_t readOffset_ = 0;
    std::uint64_t blocksRead_ = 0;
    bool readEnded_ = false;

    // Handing computed blocks over in order, and spare blocks back.
    std::mutex handLock_;
    std::condition_variable handed_;
    std::condition_variable roomFreed_;
    std::vector<std::unique_ptr<Block>> ready_;  // by number modulo blocksInFlight_
    std::vector<std::unique_ptr<Block>> spare_;
    std::uint64_t blocksTaken_ = 0;  // blocks the calling thread has finished with
    std::size_t slotsInUse_ = 0;     // blocks being read, worked on, or waiting to be taken
    bool stopping_ = false;

    std::unique_ptr<Block> current_;
    std::size_t nextLine_ = 0;
    std::uint64_t linesHanded_ = 0;
    bool finished_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace tally
