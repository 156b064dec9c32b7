// Throughput of the per-line work of an analysis: the two accounting routines over a chat log written
// by tallyscope-loggen, and the six line functions they are built on. Bytes per second count the
// bytes of the lines as the routines receive them (without line ends).
//
// The log is the one the build writes beside this program; TALLYSCOPE_BENCH_LOG names another one.
// Without a readable log the benchmark falls back to a few lines of every shape, which measures the
// same code but not the mix of a real fight.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/accounting.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/codepage.h"
#include "tallyscope/fights.h"
#include "tallyscope/line_fields.h"
#include "tallyscope/reference_tables.h"
#include "tallyscope/vocabulary.h"

namespace {

// One line of every shape the accounting knows, for when no generated log can be read.
constexpr std::string_view kFallbackLines[] = {
    "2026.12.09 21:14:03 : Ария использует: Ледяной шип IV. Манекен получает 300 ед. урона.",
    "2026.12.09 21:14:03 : Ария использует Ледяной шип IV. Манекен получает 300 ед. урона.",
    "2026.12.09 21:14:04 : Критический удар! Ария использует: Огненный шар IV. Манекен получает 2468 ед. "
    "урона.",
    "2026.12.09 21:14:04 : Мира использует Тлеющая метка II.",
    "2026.12.09 21:14:05 : Алрик наносит 130 ед. урона цели Манекен.",
    "2026.12.09 21:14:05 : Критический удар! Алрик наносит 260 ед. урона цели Манекен.",
    "2026.12.09 21:14:06 : Ледяной шип IV: Манекен получает 300 ед. урона.",
    "2026.12.09 21:14:06 : Критический удар! Ледяной шип IV: Манекен получает 440 ед. урона.",
    "2026.12.09 21:14:07 : Тлеющая метка II: Манекен получает 45 ед. урона.",
    "2026.12.09 21:14:07 : Ядовитый надрез III: Манекен получает 60 ед. урона.",
    "2026.12.09 21:14:08 : Вы нанесли 70 ед. урона цели Манекен.",
    "2026.12.09 21:14:08 : Дух бури: Магический урон. Манекен получает 200 ед. урона.",
    "2026.12.09 21:14:09 : Команда: Разложение (огонь): Манекен получает 210 ед. урона.",
    "2026.12.09 21:14:09 : Дух бури использует Дух бури. Манекен получает 160 ед. урона.",
    "2026.12.09 21:14:10 : Тлеющая метка II использует Тлеющая метка II. Манекен получает 30 ед. урона.",
    "2026.12.09 21:14:10 : Тотем пламени II: появляется по зову персонажа Мира.",
    "2026.12.09 21:14:11 : Элементаль огня наносит 300 ед. урона цели Манекен.",
    "2026.12.09 21:14:11 : Святая энергия использует: Кара II. Святая энергия наносит 200 ед. урона.",
    "2026.12.09 21:14:12 : Святая мощь использует: Гнев I. Манекен получает 150 ед. урона.",
    "2026.12.09 21:14:12 : Ария отражает атаку и наносит 120 ед. урона.",
    "2026.12.09 21:14:13 : Манекен наносит 900 ед. урона цели Ария.",
    "2026.12.09 21:14:13 : [Группа] Ария: держим его у стены",
};

struct Corpus {
    std::vector<std::string> lines;
    std::vector<std::string> damageLines;  // the lines the amount is read from
    std::vector<std::string> skillNames;   // skill names as written, rank numerals included
};

std::string LogPath() {
    const char* path = std::getenv("TALLYSCOPE_BENCH_LOG");
    return path && *path ? path : BENCH_LOG_PATH;
}

Corpus LoadCorpus() {
    Corpus corpus;
    const std::string path = LogPath();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        corpus.lines.push_back(line);
    }
    if (corpus.lines.empty()) {
        std::cerr << "No chat log at " << path << "; measuring a few built-in lines instead.\n";
        for (const auto text : kFallbackLines)
            corpus.lines.push_back(tally::Utf8ToCp1251(text));
    }
    for (const auto& text : corpus.lines) {
        if (tally::Contains(text, tally::phrase::kUnits) && tally::Contains(text, tally::phrase::kOfDamage))
            corpus.damageLines.push_back(text);
        const auto skill = tally::ExtractSkillName(text);
        if (!skill.empty())
            corpus.skillNames.emplace_back(skill);
    }
    return corpus;
}

const Corpus& TheCorpus() {
    static const Corpus corpus = LoadCorpus();
    return corpus;
}

void LoadLists(tally::AnalysisTables& tables) {
    tally::LoadReferenceTables(tables.mtDots, tables.mtSkills, BENCH_RESOURCES "/dots.txt",
                               BENCH_RESOURCES "/skills.txt");
}

// Runs body over the texts one per iteration, round and round, and reports their bytes.
template <class Body>
void OverTexts(benchmark::State& state, const std::vector<std::string>& texts, Body body) {
    if (texts.empty()) {
        state.SkipWithError("no texts to measure");
        return;
    }
    std::size_t i = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const std::string& text = texts[i];
        body(std::string_view(text));
        bytes += static_cast<std::int64_t>(text.size());
        if (++i == texts.size())
            i = 0;
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(state.iterations());
}

// The tables live on across passes over the log, as they would in a log that many times as long.
void BM_ProcessLineDotsToLast(benchmark::State& state) {
    tally::AnalysisTables tables;
    LoadLists(tables);
    const bool withStatistics = state.range(0) != 0;
    OverTexts(state, TheCorpus().lines,
              [&](std::string_view line) { tally::ProcessLineDotsToLast(line, tables, withStatistics); });
}
BENCHMARK(BM_ProcessLineDotsToLast)->ArgName("statistics")->Arg(1)->Arg(0);

void BM_ProcessLineDotsDividing(benchmark::State& state) {
    tally::AnalysisTables tables;
    LoadLists(tables);
    OverTexts(state, TheCorpus().lines,
              [&](std::string_view line) { tally::ProcessLineDotsDividing(line, tables); });
}
BENCHMARK(BM_ProcessLineDotsDividing);

// A whole run over the log file, as the calculate button makes it: with and without splitting the log
// into fights, on one thread and with the lines worked out on two.
void BM_AnalysisRun(benchmark::State& state) {
    struct Quiet : tally::RunFeedback {
        void ShowStatus(std::string_view) override {}
        void SetProgressPosition(std::int32_t) override {}
        void SetProgressMax(std::int32_t) override {}
        void StepProgress() override {}
        void PumpEvents() override {}
        void SetDataViewEnabled(tally::DataView, bool) override {}
        void SetStatisticsWindowVisible(bool) override {}
        void MarkTotalDamageSorted() override {}
        void TrimWorkingSet() override {}
    } feedback;
    tally::AnalysisTables tables;
    LoadLists(tables);
    tally::AppSettings settings;
    settings.showAdvanced = 1;
    const std::string path = LogPath();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        tally::FightSplitter fights;
        tally::RunScope scope;
        scope.fights = state.range(0) != 0 ? &fights : nullptr;
        scope.threads = static_cast<unsigned>(state.range(1));
        tally::AnalysisRun(path, tables, settings, feedback, scope);
        bytes += static_cast<std::int64_t>(std::filesystem::file_size(path));
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_AnalysisRun)
    ->ArgNames({"fights", "threads"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Splitting into fights, which the desktop program's run does beside the accounting of every line:
// compare with BM_ProcessLineDotsToLast over the same lines.
void BM_FightSplitter(benchmark::State& state) {
    tally::FightSplitter splitter;
    std::uint64_t number = 0;
    std::uint64_t offset = 0;
    OverTexts(state, TheCorpus().lines, [&](std::string_view line) {
        splitter.Add({line, ++number, offset, offset + line.size() + 2});
        offset += line.size() + 2;
    });
}
BENCHMARK(BM_FightSplitter);

void BM_ExtractBetween(benchmark::State& state) {
    // The damage segment, the cut every damage line needs.
    OverTexts(state, TheCorpus().lines, [](std::string_view line) {
        benchmark::DoNotOptimize(
            tally::ExtractBetween(line, tally::phrase::kSeparator, tally::phrase::kUnitsAmountEnd));
    });
}
BENCHMARK(BM_ExtractBetween);

void BM_StripRankNumerals(benchmark::State& state) {
    OverTexts(state, TheCorpus().skillNames,
              [](std::string_view skill) { benchmark::DoNotOptimize(tally::StripRankNumerals(skill)); });
}
BENCHMARK(BM_StripRankNumerals);

void BM_ParseDamageAmount(benchmark::State& state) {
    OverTexts(state, TheCorpus().damageLines,
              [](std::string_view line) { benchmark::DoNotOptimize(tally::ParseDamageAmount(line)); });
}
BENCHMARK(BM_ParseDamageAmount);

void BM_ExtractActorName(benchmark::State& state) {
    OverTexts(state, TheCorpus().lines,
              [](std::string_view line) { benchmark::DoNotOptimize(tally::ExtractActorName(line)); });
}
BENCHMARK(BM_ExtractActorName);

void BM_IsCriticalHit(benchmark::State& state) {
    OverTexts(state, TheCorpus().lines,
              [](std::string_view line) { benchmark::DoNotOptimize(tally::IsCriticalHit(line)); });
}
BENCHMARK(BM_IsCriticalHit);

void BM_ExtractSkillName(benchmark::State& state) {
    OverTexts(state, TheCorpus().lines,
              [](std::string_view line) { benchmark::DoNotOptimize(tally::ExtractSkillName(line)); });
}
BENCHMARK(BM_ExtractSkillName);

}  // namespace

BENCHMARK_MAIN();
