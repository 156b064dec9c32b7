#include "line_pipeline.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "line_reader.h"

namespace tally {
namespace {
constexpr char kEndOfFileMark = 26;  // Ctrl-Z
}

LinePipeline::LinePipeline(ByteSource& source, const LineWork& work, const ReferenceLookup& lookup,
                           unsigned workers, std::size_t blockSize, std::size_t maxLineLength)
    : source_(source),
      work_(work),
      lookup_(lookup),
      blockSize_(std::max<std::size_t>(blockSize, 1)),
      blocksInFlight_(2 * std::max(workers, 1u) + 1),
      maxLineLength_(maxLineLength),
      ready_(blocksInFlight_) {
    for (unsigned i = 0; i < std::max(workers, 1u); ++i)
        threads_.emplace_back([this] { Work(); });
}

LinePipeline::~LinePipeline() {
    {
        std::lock_guard<std::mutex> hand(handLock_);
        stopping_ = true;
    }
    roomFreed_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

std::unique_ptr<LinePipeline::Block> LinePipeline::TakeSpareBlock() {
    std::lock_guard<std::mutex> hand(handLock_);
    if (spare_.empty())
        return std::make_unique<Block>();
    std::unique_ptr<Block> block = std::move(spare_.back());
    spare_.pop_back();
    return block;
}

void LinePipeline::Work() {
    LineScratch scratch;
    for (;;) {
        {
            // A block may be read only when there is room for it among the blocks in flight.
            std::unique_lock<std::mutex> hand(handLock_);
            roomFreed_.wait(hand, [this] { return stopping_ || slotsInUse_ < blocksInFlight_; });
            if (stopping_)
                return;
            ++slotsInUse_;
        }
        std::unique_ptr<Block> block;
        {
            std::lock_guard<std::mutex> reading(readLock_);
            if (!readEnded_)
                block = ReadBlock();
        }
        if (!block) {
            std::lock_guard<std::mutex> hand(handLock_);
            --slotsInUse_;
            return;
        }
        if (!block->error) {
            try {
                ComputeLines(*block, scratch);
            } catch (...) {
                block->lines.clear();
                block->error = std::current_exception();
                block->last = true;
            }
        }
        {
            std::lock_guard<std::mutex> hand(handLock_);
            ready_[block->number % blocksInFlight_] = std::move(block);
        }
        handed_.notify_all();
    }
}

std::unique_ptr<LinePipeline::Block> LinePipeline::ReadBlock() {
    std::unique_ptr<Block> block = TakeSpareBlock();
    block->number = blocksRead_++;
    block->offset = readOffset_;
    block->error = nullptr;
    block->longLine = Block::LongLine::None;
    block->last = false;
    block->lines.clear();  // a spare block still holds the lines of its last use
    block->bytes.swap(carry_);
    carry_.clear();
    ByteBuffer& bytes = block->bytes;
    try {
        for (;;) {
            const std::size_t had = bytes.size();
            // Everything held so far is one line without its end (a line and its CR LF may reach
            // the limit plus two).
            if (had > maxLineLength_ + 2 || !bytes.Reserve(had + blockSize_)) {
                block->longLine =
                    had > maxLineLength_ + 2 ? Block::LongLine::TooLong : Block::LongLine::OutOfMemory;
                block->longLineBytes = had;
                bytes.clear();
                block->last = true;
                break;
            }
            const std::size_t got = source_.Read(bytes.data() + had, blockSize_);
            bytes.SetSize(had + got);
            if (got == 0) {
                block->last = true;  // what follows the last line end is the last line
                break;
            }
            const char* fresh = bytes.data() + had;
            if (const void* mark = std::memchr(fresh, kEndOfFileMark, got)) {
                bytes.SetSize(had + static_cast<std::size_t>(static_cast<const char*>(mark) - fresh));
                block->last = true;
                break;
            }
            // The block ends with its last line end; the rest starts the next block.
            std::size_t end = bytes.size();
            while (end > had && bytes.data()[end - 1] != '\n')
                --end;
            if (end > had) {
                if (!carry_.Assign(bytes.data() + end, bytes.data() + bytes.size()))
                    throw std::bad_alloc();
                bytes.SetSize(end);
                break;
            }
            // No line end yet: a line longer than the block; read on.
        }
    } catch (...) {
        bytes.clear();
        block->error = std::current_exception();
        block->last = true;
    }
    if (block->last)
        readEnded_ = true;
    readOffset_ += bytes.size();
    return block;
}

void LinePipeline::ComputeLines(Block& block, LineScratch& scratch) {
    block.lines.clear();
    block.texts.Clear();
    const char* const data = block.bytes.data();
    const std::size_t size = block.bytes.size();
    for (std::size_t begin = 0; begin < size;) {
        const void* lf = std::memchr(data + begin, '\n', size - begin);
        const std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        const std::size_t next = lf ? end + 1 : size;
        std::string_view text = WithoutCarriageReturns(data + begin, end - begin, scratch.text);
        if (text.data() == scratch.text.data())
            text = block.texts.Keep(text);
        ComputedLine& line = block.lines.emplace_back();
        ComputeLine(text, work_, lookup_, block.texts, scratch, line);
        line.beginOffset = block.offset + begin;
        line.endOffset = block.offset + next;
        begin = next;
    }
}

bool LinePipeline::Next(const ComputedLine*& line) {
    for (;;) {
        if (current_ && nextLine_ < current_->lines.size()) {
            line = &current_->lines[nextLine_++];
            ++linesHanded_;
            return true;
        }
        if (current_) {
            const bool last = current_->last;
            const std::exception_ptr error = current_->error;
            const Block::LongLine longLine = current_->longLine;
            const std::size_t longLineBytes = current_->longLineBytes;
            {
                std::lock_guard<std::mutex> hand(handLock_);
                spare_.push_back(std::move(current_));
                ++blocksTaken_;
                --slotsInUse_;
            }
            roomFreed_.notify_one();
            if (error)
                std::rethrow_exception(error);
            if (longLine == Block::LongLine::TooLong)
                ThrowLineTooLong(linesHanded_ + 1, maxLineLength_);
            if (longLine == Block::LongLine::OutOfMemory)
                ThrowOutOfMemory(linesHanded_ + 1, longLineBytes);
            if (last)
                finished_ = true;
        }
        if (finished_)
            return false;
        std::unique_lock<std::mutex> hand(handLock_);
        std::unique_ptr<Block>& slot = ready_[blocksTaken_ % blocksInFlight_];
        handed_.wait(hand, [&slot] { return slot != nullptr; });
        current_ = std::move(slot);
        nextLine_ = 0;
    }
}

}  // namespace tally
