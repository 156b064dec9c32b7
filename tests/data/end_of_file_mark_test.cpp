// A byte 26 ends the log wherever it stands: a log of a few MiB with the mark beyond the reader's
// first block gives exactly the tables of the same log cut at the mark.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "tallyscope/analysis_run.h"
#include "tallyscope/reference_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::DescribeTables;
using test::RecordingFeedback;
using test::ScratchDir;

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EndOfFileMark : public ::testing::Test {
  protected:
    std::string Analyse(const std::filesystem::path& log, const AppSettings& settings) {
        AnalysisTables t;
        LoadReferenceTables(t.mtDots, t.mtSkills, TALLYSCOPE_RESOURCES "/dots.txt",
                            TALLYSCOPE_RESOURCES "/skills.txt");
        RecordingFeedback feedback;
        AnalysisRun(log, t, settings, feedback);
        return DescribeTables(t);
    }
    ScratchDir dir;
};

TEST_F(EndOfFileMark, BeyondTheFirstMebibyteEndsTheLog) {
    const std::string sample = ReadBytes(TALLYSCOPE_RESOURCES "/samples/Chat.log");
    ASSERT_FALSE(sample.empty());
    std::mt19937 random(26);
    for (int trial = 0; trial < 4; ++trial) {
        std::string log;
        const std::size_t size = (2u << 20) + random() % (3u << 20);
        while (log.size() < size)
            log += sample;
        const std::size_t markAt = (1u << 20) + random() % (log.size() - (1u << 20));
        log.insert(markAt, 1, '\x1a');
        AppSettings settings;
        settings.showAdvanced = 1;
        settings.calcType = trial % 2;
        const auto whole = dir.Write("whole.log", log);
        const auto cut = dir.Write("cut.log", log.substr(0, markAt));
        EXPECT_EQ(Analyse(whole, settings), Analyse(cut, settings)) << "mark at " << markAt;
    }
}

}  // namespace
}  // namespace tally
