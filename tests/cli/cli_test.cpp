// The command-line tool as a user runs it: arguments, exit codes and the four output formats.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>

#include "command_line.h"
#include "tallyscope/platform.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::LogText;
using test::ScratchDir;

struct Result {
    int exitCode;
    std::string out;
};

// The tool started by the shell in the given directory; its standard output as bytes.
Result RunTool(const std::string& arguments, const std::filesystem::path& directory) {
    // Absolute, so that it still names the tool after the change of directory (under Wine a path of the
    // build machine becomes one on the drive of the build directory).
    const auto tool = std::filesystem::absolute(TALLYSCOPE_CLI).make_preferred();
    Result result{-1, {}};
#ifdef _WIN32
    // cmd.exe runs the line; the pipe is read in binary mode, so that the bytes are compared as written.
    const std::wstring command = L"cd /d \"" + directory.wstring() + L"\" && \"" + tool.wstring() + L"\" " +
                                 platform::PathFromUtf8(arguments).wstring() + L" 2>NUL";
    FILE* pipe = ::_wpopen(command.c_str(), L"rb");
#else
    const std::string command =
        "cd '" + directory.string() + "' && '" + tool.string() + "' " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
#endif
    if (!pipe)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
#ifdef _WIN32
    result.exitCode = ::_pclose(pipe);
#else
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return result;
}

class Tool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.Write("dots.txt", LogText({"[Волшебник]", "Тлеющая метка"}));
        dir.Write("skills.txt", LogText({"[Волшебник]", "Ледяной шип"}));
        dir.Write("Chat.log",
                  LogText({"21:14:06 : Мира использует Тлеющая метка II.",
                           "21:14:07 : Тлеющая метка II: Манекен получает 45 ед. урона.",
                           "21:14:08 : Критический удар! Ледяной шип IV: Манекен получает 300 ед. урона.",
                           "21:14:09 : Моб наносит 7 ед. урона.",
                           "21:14:10 : Идол: Магический урон. Манекен получает 5 ед. урона."}));
    }
    ScratchDir dir;
};

TEST_F(Tool, JsonHoldsEveryTableAndTheCounters) {
    const auto result = RunTool("analyze Chat.log --format json --stats --hide-mobs", dir.path());
    EXPECT_EQ(result.exitCode, 0);
    for (const char* expected :
         {"\"error\": null", "\"hide_mobs\": true", "\"progress_max\": ",
          "{\"CharClass\": 6, \"CharName\": \"ВЫ\", \"CharDamage\": 300, \"CharDots\": 0, \"DmgAll\": 300, "
          "\"Critical\": \"100.0000\"}",
          "{\"CharClass\": 0, \"CharName\": \"Моб\", \"CharDamage\": 7, \"CharDots\": 0, \"DmgAll\": 7, "
          "\"Critical\": null}",
          "{\"Char\": \"Мира\", \"Skill\": \"Тлеющая метка\", \"AttCnt\": 1, \"CritCnt\": 0, \"AttDmg\": 45, "
          "\"Class\": 6}",
          "{\"ClassNo\": 6, \"SkillName\": \"Тлеющая метка\", \"LastUsed\": \"Мира\"}",
          "\"owner_class_votes\": [0,0,0,0,0,0,1,0,0,0,0,0,0]", "\"class_dot_pool\": [0,0,0,0,0,0,0,0,0,0,0]",
          "\"status\": \"Готов! Время выполнения: "})
        EXPECT_NE(result.out.find(expected), std::string::npos) << expected << "\n" << result.out;
}

TEST_F(Tool, ReportCsvAndTable) {
    EXPECT_EQ(RunTool("analyze Chat.log --format report", dir.path()).out,
              "Урон персонажей(в т.ч. доты):\r\nВЫ - 300 (0)\r\nМира - 45 (45)\r\n\r\r\nУрон от ГС:\r\nИдол "
              "- 5\r\n");
    EXPECT_EQ(
        RunTool("analyze Chat.log --format csv --method 1 --hide-mobs", dir.path()).out,
        "CharClass,CharName,CharDamage,CharDots,DmgAll,Critical\r\n6,ВЫ,300,0,300,\r\n6,Мира,0,45,45,\r\n"
        "12,Идол,5,0,5,\r\n");
    const auto table = RunTool("analyze Chat.log", dir.path());
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_NE(table.out.find("Волшебник     ВЫ"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("Готов! Время выполнения: "), std::string::npos);
}

TEST_F(Tool, ExitCodes) {
    dir.Write("bad.log",
              LogText({"21:14:09 : Моб наносит 7 ед. урона.", "21:14:09 : Моб наносит много ед. урона."}));
    const auto failed = RunTool("analyze bad.log --format json", dir.path());
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.out.find("\"error\": \"'' is not a valid integer value\""), std::string::npos)
        << failed.out;
    EXPECT_NE(failed.out.find("\"status\": \"Анализируем лог...\""), std::string::npos);
    const auto missing = RunTool("analyze missing.log --format json", dir.path());
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.out.find("\"status\": \"Файла не существует!\""), std::string::npos);
    EXPECT_EQ(RunTool("analyze", dir.path()).exitCode, 2);
    EXPECT_EQ(RunTool("analyze Chat.log --format xml", dir.path()).exitCode, 2);
    EXPECT_EQ(RunTool("--help", dir.path()).exitCode, 0);
}

TEST_F(Tool, MissingDotListLoadsNothingAndTheRunStillCompletes) {
    std::filesystem::remove(dir.path() / "dots.txt");
    const auto result = RunTool("analyze Chat.log --format json", dir.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("\"dots\": [\n  ]"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"skills\": [\n  ]"), std::string::npos);
}

TEST(CommandLine, Options) {
    struct Case {
        std::vector<std::string> arguments;
        bool valid;
        std::int32_t calcType, showAdvanced;
    };
    const Case cases[] = {
        {{"analyze", "a.log"}, true, 0, 0},
        {{"analyze", "a.log", "--calc-type", "2", "--show-advanced", "-1"}, true, 2, -1},
        {{"analyze", "--method", "2", "a.log", "--stats"}, true, 1, 1},
        {{"analyze", "a.log", "--calc-type", "x"}, false, 0, 0},
        {{"analyze", "a.log", "--method", "3"}, false, 0, 0},
        {{"analyze", "a.log", "b.log"}, false, 0, 0},
        {{"analyze", "a.log", "--bogus"}, false, 0, 0},
        {{"report", "a.log"}, false, 0, 0},
    };
    for (const auto& c : cases) {
        const auto parsed = cli::ParseCommandLine(c.arguments);
        ASSERT_EQ(parsed.options.has_value(), c.valid) << c.arguments.size();
        if (!c.valid)
            continue;
        EXPECT_EQ(parsed.options->logPath, "a.log");
        EXPECT_EQ(parsed.options->settings.calcType, c.calcType);
        EXPECT_EQ(parsed.options->settings.showAdvanced, c.showAdvanced);
    }
}

}  // namespace
}  // namespace tally
