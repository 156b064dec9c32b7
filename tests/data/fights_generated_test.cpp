// Fights of generated logs, through the command-line tool as its users drive it: for every fight,
// `analyze --fight N` prints what `analyze` prints for a file that holds only that fight's lines, with
// the fight and the damage per second added. The logs have rests around the idle gap, and lines
// without a date that cross midnight and the new year.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "test_support.h"

namespace tally {
namespace {

using test::ScratchDir;

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

// The output of a fight's run without what only a fight's output has, and without the elapsed time.
std::string WithoutFightKeys(std::string json) {
    json = std::regex_replace(json, std::regex(", \"DPS\": (null|-?[0-9]+)"), "");
    json = std::regex_replace(json, std::regex(",\n  \"fight\": \\{[^\n]*\\}"), "");
    return std::regex_replace(json, std::regex("\"status\": \"[^\"]*\""), "\"status\": \"\"");
}

struct Span {
    std::size_t first, last;
};

std::vector<Span> FightSpans(const std::string& listing) {
    std::vector<Span> spans;
    const std::regex entry("\"first_line\": ([0-9]+), \"last_line\": ([0-9]+)");
    for (std::sregex_iterator it(listing.begin(), listing.end(), entry), end; it != end; ++it)
        spans.push_back({std::stoul((*it)[1]), std::stoul((*it)[2])});
    return spans;
}

// The lines first..last (from 1) of the log, with their line ends.
std::string Lines(const std::string& log, std::size_t first, std::size_t last) {
    std::size_t begin = 0;
    for (std::size_t n = 1; n < first; ++n)
        begin = log.find('\n', begin) + 1;
    std::size_t end = begin;
    for (std::size_t n = first; n <= last; ++n)
        end = log.find('\n', end) + 1;
    return log.substr(begin, end - begin);
}

TEST(GeneratedFights, EachFightAnalysedAloneEqualsAFileOfItsLines) {
    const std::string tool = "'" TALLYSCOPE_CLI "'";
    const std::string lists =
        " --dots '" TALLYSCOPE_RESOURCES "/dots.txt' --skills '" TALLYSCOPE_RESOURCES "/skills.txt'";
    const char* logs[] = {
        "--size 200K --seed 7 --fight-lines 20:300 --rest 24:36",
        "--size 150K --seed 8 --fight-lines 20:200 --rest 10:60 --undated --start '2026.12.31 23:50:00'",
    };
    const char* switches[] = {"--method 1 --stats", "--method 2 --stats --hide-mobs",
                              "--method 1 --hide-mobs"};
    for (const char* generate : logs) {
        ScratchDir dir;
        const auto path = dir.path() / "Chat.log";
        ASSERT_EQ(std::system(("'" TALLYSCOPE_LOGGEN "' " + std::string(generate) + " -o '" + path.string() +
                               "' 2>/dev/null")
                                  .c_str()),
                  0);
        const std::string log = ReadBytes(path);
        const auto spans = FightSpans(Output(tool + " fights '" + path.string() + "' --format json" + lists));
        ASSERT_GE(spans.size(), 4u) << generate;
        for (const char* options : switches)
            for (std::size_t k = 0; k < spans.size(); ++k) {
                const auto cut = dir.Write("fight.log", Lines(log, spans[k].first, spans[k].last));
                const std::string common = std::string(" --format json ") + options + lists;
                const std::string alone = Output(tool + " analyze '" + path.string() + "' --fight " +
                                                 std::to_string(k + 1) + common);
                ASSERT_NE(alone.find("\"fight\": {\"number\": " + std::to_string(k + 1)), std::string::npos);
                EXPECT_EQ(WithoutFightKeys(alone),
                          WithoutFightKeys(Output(tool + " analyze '" + cut.string() + "'" + common)))
                    << generate << ", " << options << ", fight " << k + 1;
            }
    }
}

}  // namespace
}  // namespace tally
