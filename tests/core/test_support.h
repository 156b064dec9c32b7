#pragma once
// Shared helpers of the core tests: Russian literals as Windows-1251 bytes, scratch files, and a
// RunFeedback that records what the run reported.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/codepage.h"

namespace tally::test {

// A UTF-8 literal of the test as the Windows-1251 bytes the game client writes.
inline std::string Cp(std::string_view utf8) {
    return Utf8ToCp1251(utf8);
}
inline std::string U8(std::string_view cp1251) {
    return Cp1251ToUtf8(cp1251);
}
inline std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// A directory of its own for one test, removed afterwards.
class ScratchDir {
  public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("tallyscope-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const {
        const auto file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

  private:
    std::filesystem::path path_;
};

// Joins UTF-8 lines into Windows-1251 log text with CR LF line ends.
inline std::string LogText(const std::vector<std::string_view>& utf8Lines) {
    std::string text;
    for (const auto line : utf8Lines)
        text += Cp(line) + "\r\n";
    return text;
}

// Every row and counter a run leaves behind, one line each, so that two runs can be compared with a
// readable difference.
inline std::string DescribeTables(const AnalysisTables& t) {
    auto number = [](const auto& value) { return value ? std::to_string(*value) : std::string("-"); };
    std::string out;
    // Appended piece by piece: GCC 12 warns falsely about chains of operator+ on strings at -O3.
    auto line = [&out](const auto&... parts) {
        ((out += parts, out += ' '), ...);
        out.back() = '\n';
    };
    for (const auto& row : t.mtList.Rows())
        line("list", std::to_string(row.charClass), U8(row.charName), std::to_string(row.charDamage),
             std::to_string(row.charDots), std::to_string(row.dmgAll), number(row.critical));
    for (const auto& row : t.mtAdv.Rows())
        line("adv", U8(row.charName), U8(row.skill), number(row.attCnt), number(row.critCnt),
             number(row.attDmg), number(row.skillClass));
    for (const auto& row : t.mtDots.Rows())
        line("dot", std::to_string(row.classNo), U8(row.skillName), U8(row.lastUsed));
    out += "votes";
    for (const auto vote : t.ownerClassVotes) {
        out += ' ';
        out += std::to_string(vote);
    }
    out += "\npool";
    for (const auto share : t.classDotPool) {
        out += ' ';
        out += std::to_string(share);
    }
    out += '\n';
    return out;
}

class RecordingFeedback : public RunFeedback {
  public:
    std::vector<std::string> calls;
    std::vector<std::string> statuses;
    int pumps = 0;
    int steps = 0;
    std::int32_t progressMax = -1;
    std::int32_t progressPosition = -1;
    std::function<void()> onPump;

    void ShowStatus(std::string_view text) override {
        statuses.emplace_back(text);
        calls.push_back("ShowStatus");
    }
    void SetProgressPosition(std::int32_t position) override {
        progressPosition = position;
        calls.push_back("SetProgressPosition " + std::to_string(position));
    }
    void SetProgressMax(std::int32_t maximum) override {
        progressMax = maximum;
        calls.push_back("SetProgressMax " + std::to_string(maximum));
    }
    void StepProgress() override { ++steps; }
    void PumpEvents() override {
        ++pumps;
        if (onPump)
            onPump();
    }
    void SetDataViewEnabled(DataView view, bool enabled) override {
        static const char* names[] = {"MainGrid", "ReferenceList", "Statistics"};
        calls.push_back(std::string("View ") + names[static_cast<int>(view)] + (enabled ? " on" : " off"));
    }
    void SetStatisticsWindowVisible(bool visible) override {
        calls.push_back(visible ? "Statistics shown" : "Statistics hidden");
    }
    void MarkTotalDamageSorted() override { calls.push_back("MarkTotalDamageSorted"); }
    void TrimWorkingSet() override { calls.push_back("TrimWorkingSet"); }
};

}  // namespace tally::test
