// Input that fights back on every platform: a binary log, and a line without end.

#include <gtest/gtest.h>

#include <random>

#include "endless_line.h"
#include "line_reader.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/errors.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::EndlessLine;
using test::RecordingFeedback;
using test::ScratchDir;

TEST(BinaryLog, IsReadToItsEndWithoutFault) {
    ScratchDir dir;
    std::mt19937 random(12);
    std::string bytes(1 << 20, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    // Damage phrases among the noise, without an amount before the units: a clean conversion error.
    const std::string inputs[] = {bytes, bytes + Cp(" : Моб получает ед. урона.") + bytes};
    for (const std::string& input : inputs) {
        AnalysisTables t;
        RecordingFeedback feedback;
        std::string error;
        try {
            AnalysisRun(dir.Write("Chat.log", input), t, AppSettings{0, 0, 0, 1}, feedback);
        } catch (const ConversionError& failure) {
            error = failure.what();
        }
        if (error.empty()) {
            EXPECT_EQ(t.mtList.RowCount(), 0u);
            EXPECT_TRUE(feedback.statuses.back().starts_with(kStatusDonePrefix));
        } else {
            EXPECT_EQ(error, "'' is not a valid integer value");
        }
    }
}

TEST(HugeLine, LongerThanTheLimitEndsTheReadingWithAMessage) {
    EndlessLine source;
    LineReader reader(source, 64, 1000);
    std::string_view line;
    try {
        reader.Next(line);
        ADD_FAILURE() << "an endless line was read";
    } catch (const LineTooLongError& error) {
        EXPECT_STREQ(error.what(), "Line 1 is longer than 1000 bytes and cannot be read");
    }
    EXPECT_EQ(kMaxLineLength, std::size_t{1} << 30);
}

}  // namespace
}  // namespace tally
