// The pipelined run against the run on one thread: blocks of every size, any number of workers, lines
// that cross blocks, end-of-file marks and carriage returns, and a conversion error: the same lines
// with the same places in the log, booked into the same tables, the error raised at the same line.

#include "line_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "computed_line.h"
#include "line_reader.h"
#include "tallyscope/accounting.h"
#include "tallyscope/errors.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::DescribeTables;

class MemorySource : public ByteSource {
  public:
    MemorySource(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, chunk_, bytes_.size() - at_});
        std::copy_n(bytes_.data() + at_, n, buffer);
        at_ += n;
        return n;
    }

  private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::size_t at_ = 0;
};

// Every shape of line the rules tell apart, for a log of random order and line ends.
const char* const kShapes[] = {
    "21:14:03 : Алрик использует Рассекающий удар III. Манекен получает 312 ед. урона.",
    "21:14:04 : Алрик наносит 130 ед. урона цели Манекен.",
    "21:14:05 : Критический удар! Алрик наносит 260 ед. урона цели Манекен.",
    "21:14:06 : Мира использует Тлеющая метка II.",
    "21:14:07 : Тлеющая метка II: Манекен получает 45 ед. урона.",
    "21:14:08 : Ледяной шип IV: Манекен получает 300 ед. урона.",
    "21:14:09 : Критический удар! Ледяной шип IV: Манекен получает 440 ед. урона.",
    "21:14:10 : Ядовитый надрез III: Манекен получает 60 ед. урона.",
    "21:14:11 : Вы нанесли 70 ед. урона цели Манекен.",
    "21:14:12 : Огненный идол: Магический урон. Манекен получает 200 ед. урона.",
    "21:14:13 : Команда: Разложение (огонь): Манекен получает 210 ед. урона.",
    "21:14:14 : Дух бури использует Дух бури. Манекен получает 160 ед. урона.",
    "21:14:15 : Тлеющая метка II использует Тлеющая метка II. Манекен получает 30 ед. урона.",
    "21:14:16 : Тотем пламени II: появляется по зову персонажа Мира.",
    "21:14:17 : Тотем пламени II: Манекен получает 20 ед. урона.",
    "21:14:18 : Лиса использует Ледяной шип IV. Манекен получает 200 ед. урона.",
    "21:14:19 : Элементаль огня наносит 170 ед. урона цели Манекен.",
    "21:14:20 : Святая энергия использует: Кара VIII. Святая энергия наносит 643 ед. урона.",
    "21:14:21 : Святая мощь использует: Кара VIII. Манекен получает 12 ед. урона.",
    "21:14:22 : Велена отражает атаку и наносит 381 ед. урона.",
    "21:14:23 : [Группа] Злата: бафы через минуту",
    "",
};

std::string RandomLog(unsigned seed, std::size_t lines) {
    std::mt19937 random(seed);
    std::string log;
    for (std::size_t i = 0; i < lines; ++i) {
        log += Cp(kShapes[random() % std::size(kShapes)]);
        switch (random() % 8) {
            case 0:
                log += "\n";
                break;
            case 1:
                // A lone CR somewhere near the end of the line.
                log.insert(
                    log.end() - static_cast<std::ptrdiff_t>(std::min<std::size_t>(log.size(), random() % 20)),
                    '\r');
                log += "\r\n";
                break;
            default:
                log += "\r\n";
        }
    }
    return log;
}

// A line with its place in the log, "text@begin-end".
std::string Placed(std::string_view text, std::uint64_t begin, std::uint64_t end) {
    std::string placed(text);
    placed += '@';
    placed += std::to_string(begin);
    placed += '-';
    placed += std::to_string(end);
    return placed;
}

class Pipeline : public ::testing::Test {
  protected:
    void SetUp() override {
        t.mtSkills.Append({1, Cp("Рассекающий удар")});
        t.mtSkills.Append({6, Cp("Ледяной шип")});
        t.mtDots.Append({6, Cp("Тлеющая метка"), ""});
        t.mtDots.Append({3, Cp("Ядовитый надрез"), ""});
        t.mtDots.Append({6, Cp("Тотем пламени"), ""});
    }
    void Reset() {
        t.mtList.Clear();
        t.mtAdv.Clear();
        t.ownerClassVotes.fill(0);
        t.classDotPool.fill(0);
        t.mtDots.ClearLastUsed();
    }
    struct Outcome {
        std::string tables;
        std::string error;
        std::vector<std::string> lines;
    };
    Outcome OnOneThread(const std::string& log, bool dividing, bool statistics) {
        Reset();
        MemorySource source(log, std::string::npos);
        LineReader reader(source);
        Outcome outcome;
        std::string_view line;
        try {
            while (reader.Next(line)) {
                outcome.lines.push_back(Placed(line, reader.LineBegin(), reader.LineEnd()));
                if (dividing)
                    ProcessLineDotsDividing(line, t);
                else
                    ProcessLineDotsToLast(line, t, statistics);
            }
        } catch (const std::exception& error) {
            outcome.error = error.what();
        }
        outcome.tables = DescribeTables(t);
        return outcome;
    }
    Outcome Pipelined(const std::string& log, bool dividing, bool statistics, std::size_t block,
                      unsigned workers, std::size_t chunk) {
        Reset();
        MemorySource source(log, chunk);
        const ReferenceLookup lookup(t.mtSkills, t.mtDots);
        LinePipeline pipeline(source, LineWork{dividing, true}, lookup, workers, block);
        Outcome outcome;
        const ComputedLine* line = nullptr;
        try {
            while (pipeline.Next(line)) {
                outcome.lines.push_back(std::string(line->text) + "@" + std::to_string(line->beginOffset) +
                                        "-" + std::to_string(line->endOffset));
                BookComputedLine(*line, t, dividing, statistics);
            }
        } catch (const std::exception& error) {
            outcome.error = error.what();
        }
        outcome.tables = DescribeTables(t);
        return outcome;
    }
    AnalysisTables t;
};

TEST_F(Pipeline, BooksWhatTheRunOnOneThreadBooks) {
    const std::string bad = Cp("21:14:30 : Алрик наносит много ед. урона цели Манекен.\r\n");
    struct Log {
        const char* name;
        std::string bytes;
    };
    const std::string random = RandomLog(1, 300);
    const Log logs[] = {
        {"random shapes and line ends", random},
        {"an end-of-file mark inside a line", random.substr(0, 5000) + "\x1a" + random.substr(5000)},
        {"no final line end", random + Cp(kShapes[5])},
        {"a conversion error", random.substr(0, random.find('\n', 4000) + 1) + bad + random},
        {"a line longer than the blocks",
         random.substr(0, 2000) + std::string(9000, 'x') + Cp(kShapes[1]) + "\n"},
        {"empty", ""},
    };
    for (const Log& log : logs)
        for (const bool dividing : {false, true})
            for (const bool statistics : {false, true}) {
                const Outcome expected = OnOneThread(log.bytes, dividing, statistics);
                for (const std::size_t block : {1, 7, 64, 4096, 1 << 20})
                    for (const unsigned workers : {1u, 2u, 4u}) {
                        const std::size_t chunk = block == 7 ? 3 : std::string::npos;
                        const Outcome got = Pipelined(log.bytes, dividing, statistics, block, workers, chunk);
                        const std::string what =
                            std::string(log.name) + (dividing ? ", method 2" : ", method 1") +
                            (statistics ? ", statistics" : "") + ", block " + std::to_string(block) +
                            ", workers " + std::to_string(workers);
                        EXPECT_EQ(got.lines, expected.lines) << what;
                        EXPECT_EQ(got.tables, expected.tables) << what;
                        EXPECT_EQ(got.error, expected.error) << what;
                    }
            }
    EXPECT_EQ(OnOneThread(logs[3].bytes, false, true).error, "'' is not a valid integer value");
}

// A reading error after some blocks: every line read before it is booked, then it is raised.
TEST_F(Pipeline, AReadingErrorEndsTheLinesAfterThoseReadBeforeIt) {
    class FailingSource : public ByteSource {
      public:
        explicit FailingSource(std::string_view bytes) : bytes_(bytes) {}
        std::size_t Read(char* buffer, std::size_t capacity) override {
            if (at_ >= bytes_.size())
                throw FileError("Read error", 5);
            const std::size_t n = std::min(capacity, bytes_.size() - at_);
            std::copy_n(bytes_.data() + at_, n, buffer);
            at_ += n;
            return n;
        }

      private:
        std::string_view bytes_;
        std::size_t at_ = 0;
    };
    const std::string log = RandomLog(2, 50);
    FailingSource source(log);
    const ReferenceLookup lookup(t.mtSkills, t.mtDots);
    LinePipeline pipeline(source, LineWork{}, lookup, 2, 256);
    const ComputedLine* line = nullptr;
    std::size_t lines = 0;
    EXPECT_THROW(
        {
            while (pipeline.Next(line))
                ++lines;
        },
        FileError);
    EXPECT_EQ(lines, static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n')));
}

// A line without end beyond the limit: the lines before it are booked, then the run ends with the
// line reader's message and the line's number, and the line is never held whole.
TEST_F(Pipeline, ALineBeyondTheLimitEndsTheLinesWithItsNumber) {
    class LinesThenEndless final : public ByteSource {
      public:
        std::size_t Read(char* buffer, std::size_t capacity) override {
            const std::string_view head = "first\r\nsecond\r\n";
            std::size_t n = 0;
            for (; n < capacity && at_ < head.size(); ++n)
                buffer[n] = head[at_++];
            std::fill_n(buffer + n, capacity - n, 'x');
            return capacity;
        }

      private:
        std::size_t at_ = 0;
    };
    const ReferenceLookup lookup(t.mtSkills, t.mtDots);
    for (const std::size_t block : {std::size_t{7}, std::size_t{64}, std::size_t{999}}) {
        LinesThenEndless source;
        LinePipeline pipeline(source, LineWork{}, lookup, 2, block, 1000);
        const ComputedLine* line = nullptr;
        std::vector<std::string> read;
        try {
            while (pipeline.Next(line))
                read.emplace_back(line->text);
            ADD_FAILURE() << "an endless line was read, block " << block;
        } catch (const LineTooLongError& error) {
            EXPECT_STREQ(error.what(), "Line 3 is longer than 1000 bytes and cannot be read") << block;
        }
        EXPECT_EQ(read, (std::vector<std::string>{"first", "second"})) << block;
    }
}

}  // namespace
}  // namespace tally
