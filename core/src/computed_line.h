#pragma once
// The per-line stage of a run: for each line, everything the accounting rules and the fight splitter
// may ask, worked out from the line and the reference lists alone, so that it can be done on several
// threads at once. The accounting stage then books the lines in log order through ComputedFacts, which
// answers exactly as LineFacts would, a failed amount included: the conversion error is kept and
// raised where the rules first ask for the amount.

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "line_scan.h"
#include "tallyscope/line_time.h"
#include "tallyscope/reference_tables.h"
#include "tallyscope/text_index.h"

namespace tally {

// A read-only copy of the lookups the per-line stage makes in mtSkills and mtDots, taken when a run
// starts: safe to share between threads, and untouched by whatever happens to the tables meanwhile.
class ReferenceLookup {
  public:
    ReferenceLookup(const SkillTable& mtSkills, const DotTable& mtDots);
    bool IsDot(std::string_view key, std::size_t hash) const { return !dots_.Find(key, hash).empty(); }
    std::int32_t SkillClass(std::string_view key, std::size_t hash) const {
        return LastOf(skills_.Find(key, hash), skillClasses_);
    }
    std::int32_t DotClass(std::string_view key, std::size_t hash) const {
        return LastOf(dots_.Find(key, hash), dotClasses_);
    }

  private:
    static std::int32_t LastOf(const TextIndex::Positions& positions,
                               const std::vector<std::int32_t>& classes) {
        return positions.empty() ? 0 : classes[positions.back()];
    }
    TextIndex skills_;
    TextIndex dots_;
    std::vector<std::int32_t> skillClasses_;
    std::vector<std::int32_t> dotClasses_;
};

// Texts the stage builds (skill keys, lines without their carriage returns), kept in chunks that never
// move, so that views into them stay valid while the block is booked.
class TextStore {
  public:
    std::string_view Keep(std::string_view text);
    void Clear();

  private:
    static constexpr std::size_t kChunk = 1 << 16;
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::vector<std::size_t> sizes_;
    std::size_t used_ = 0;  // in the last chunk
    std::size_t chunkSize_ = 0;
};

struct ComputedLine {
    std::string_view text;
    std::uint64_t beginOffset = 0;
    std::uint64_t endOffset = 0;
    std::uint32_t marks = 0;  // bit m: the line holds the phrase of Mark m
    bool damage = false;      // a damage line: both "ед. " and "урона"
    bool actorIsSkill = false;
    bool isDot = false;
    bool amountFailed = false;
    std::int8_t critical = 0;
    std::int32_t lineClass = 0;
    std::int32_t amount = 0;
    std::size_t skillKeyHash = 0;
    std::size_t actorHash = 0;
    std::string_view actor;
    std::string_view skillKey;
    std::string_view magicSource;
    std::string_view elemental;
    std::exception_ptr amountError;  // what parsing the amount raised
    // For the fight splitter.
    std::optional<LineTime> time;
    std::string_view receiver;
};

// Strings a thread reuses from line to line. Each worker owns one: thread_local strings would be freed
// at the thread's end, which MinGW's runtime does after it has let their memory go.
struct LineScratch {
    std::string skillKey;
    std::string actorKey;
    std::string text;  // a line without its carriage returns
};

struct LineWork {
    bool dividing = false;     // Method 2: lines that are not damage lines need nothing
    bool splitFights = false;  // the time and the receiver for the fight splitter
};

// Works out one line. Texts it has to build go into store.
void ComputeLine(std::string_view line, const LineWork& work, const ReferenceLookup& lookup, TextStore& store,
                 LineScratch& scratch, ComputedLine& out);

struct AnalysisTables;
// Books a computed line with Method 2 (dividing) or Method 1, as ProcessLineDotsDividing and
// ProcessLineDotsToLast book the line it was computed from.
void BookComputedLine(const ComputedLine& line, AnalysisTables& tables, bool dividing, bool withStatistics);

// The answers of a computed line, as the accounting rules ask for them.
class ComputedFacts {
  public:
    explicit ComputedFacts(const ComputedLine& line) : line_(line) {}
    std::string_view Line() const { return line_.text; }
    bool Has(Mark mark) const { return (line_.marks >> static_cast<unsigned>(mark)) & 1u; }
    std::string_view Actor() const { return line_.actor; }
    std::string_view SkillKey() const { return line_.skillKey; }
    HashedText HashedSkillKey() const { return {line_.skillKey, line_.skillKeyHash}; }
    HashedText HashedActor() const { return {line_.actor, line_.actorHash}; }
    bool ActorIsSkill() const { return line_.actorIsSkill; }
    bool IsDot() const { return line_.isDot; }
    std::int32_t Class() const { return line_.lineClass; }
    int Critical() const { return line_.critical; }
    std::int32_t Amount() const {
        if (line_.amountFailed)
            std::rethrow_exception(line_.amountError);
        return line_.amount;
    }
    std::string_view MagicSource() const { return line_.magicSource; }
    std::string_view Elemental() const { return line_.elemental; }

  private:
    const ComputedLine& line_;
};

}  // namespace tally
