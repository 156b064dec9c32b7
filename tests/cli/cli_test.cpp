// The command-line tool as a user runs it: arguments, exit codes and the four output formats.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <fstream>

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

// Which of the tool's streams a test reads.
enum class Captured { Output, Errors };

// The tool started by the shell in the given directory; its standard output (or its error output) as
// bytes.
Result RunTool(const std::string& arguments, const std::filesystem::path& directory,
               Captured captured = Captured::Output) {
    // Absolute, so that it still names the tool after the change of directory (under Wine a path of the
    // build machine becomes one on the drive of the build directory).
    const auto tool = std::filesystem::absolute(TALLYSCOPE_CLI).make_preferred();
    Result result{-1, {}};
#ifdef _WIN32
    // cmd.exe runs the line; the pipe is read in binary mode, so that the bytes are compared as written.
    const std::wstring command = L"cd /d \"" + directory.wstring() + L"\" && \"" + tool.wstring() + L"\" " +
                                 platform::PathFromUtf8(arguments).wstring() +
                                 (captured == Captured::Output ? L" 2>NUL" : L" 2>&1 1>NUL");
    FILE* pipe = ::_wpopen(command.c_str(), L"rb");
#else
    const std::string command = "cd '" + directory.string() + "' && '" + tool.string() + "' " + arguments +
                                (captured == Captured::Output ? " 2>/dev/null" : " 2>&1 >/dev/null");
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

#ifndef _WIN32
// A pipe made with mkfifo; on Windows a pipe is no path of the file system.
TEST_F(Tool, ANamedPipeIsRefusedAtOnce) {
    ::alarm(60);  // a wait for the pipe's writer fails the suite instead of hanging it
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.log").c_str(), 0600), 0);
    const auto json = RunTool("analyze pipe.log --format json", dir.path());
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find(
                  "\"error\": \"Cannot open file \\\"pipe.log\\\". It is a named pipe, not a file on disk\""),
              std::string::npos)
        << json.out;
    EXPECT_EQ(RunTool("analyze pipe.log --fight 1", dir.path()).exitCode, 1);
    EXPECT_EQ(RunTool("fights pipe.log", dir.path()).exitCode, 1);
    ::alarm(0);
}
#endif

TEST_F(Tool, MissingDotListLoadsNothingAndTheRunStillCompletes) {
    std::filesystem::remove(dir.path() / "dots.txt");
    const auto result = RunTool("analyze Chat.log --format json", dir.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("\"dots\": [\n  ]"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"skills\": [\n  ]"), std::string::npos);
}

// A log of three fights: two close together, then one after a pause of more than the idle gap.
class Fights : public Tool {
  protected:
    void SetUp() override {
        Tool::SetUp();
        dir.Write("Chat.log",
                  LogText({"2026.12.09 21:14:00 : Мира использует Тлеющая метка II.",
                           "2026.12.09 21:14:03 : Тлеющая метка II: Манекен получает 45 ед. урона.",
                           "2026.12.09 21:16:40 : Ледяной шип IV: Манекен получает 300 ед. урона.",
                           "2026.12.09 21:16:41 : Вы одержали победу.",
                           "2026.12.09 21:20:00 : Ледяной шип IV: Волк получает 100 ед. урона.",
                           "2026.12.09 21:20:09 : Ледяной шип IV: Волк получает 90 ед. урона.",
                           "2026.12.09 21:30:00 : Моб наносит много ед. урона."}));
    }
};

TEST_F(Fights, ListsEveryFightWithItsOwnRun) {
    const auto json = RunTool("fights Chat.log --gap 180 --format json", dir.path());
    EXPECT_EQ(json.exitCode, 1) << "the third fight's run ends with an error";
    EXPECT_EQ(
        json.out,
        "{\"gap\": 180, \"fights\": [\n"
        "  {\"number\": 1, \"first_line\": 1, \"last_line\": 3, \"start\": \"2026.12.09 21:14:03\", "
        "\"end\": \"2026.12.09 21:16:40\", \"duration\": 157, \"damage\": 345, \"target\": \"Манекен\", "
        "\"error\": null},\n"
        "  {\"number\": 2, \"first_line\": 4, \"last_line\": 6, \"start\": \"2026.12.09 21:20:00\", "
        "\"end\": \"2026.12.09 21:20:09\", \"duration\": 9, \"damage\": 190, \"target\": \"Волк\", "
        "\"error\": null},\n"
        "  {\"number\": 3, \"first_line\": 7, \"last_line\": 7, \"start\": \"2026.12.09 21:30:00\", "
        "\"end\": \"2026.12.09 21:30:00\", \"duration\": 1, \"damage\": 0, \"target\": \"\", "
        "\"error\": \"'' is not a valid integer value\"}\n"
        "]}\n");
    EXPECT_NE(RunTool("fights Chat.log --format json", dir.path()).out.find("\"number\": 4"),
              std::string::npos)
        << "with the default gap of 30 s the first fight splits in two";
    const auto csv = RunTool("fights Chat.log --gap 180 --format csv", dir.path());
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n2,")),
              "number,first_line,last_line,start,end,duration,damage,target,error\r\n"
              "1,1,3,2026.12.09 21:14:03,2026.12.09 21:16:40,157,345,Манекен,");
    const auto table = RunTool("fights Chat.log --gap 180", dir.path());
    EXPECT_NE(table.out.find("№1  1–3     21:14:03  21:16:40    2:37   345  Манекен"), std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("Ошибка в бою №3: '' is not a valid integer value"), std::string::npos);
}

TEST_F(Fights, AnalyzesOneFightInEveryFormat) {
    const auto json = RunTool("analyze Chat.log --fight 2 --gap 180 --format json", dir.path());
    EXPECT_EQ(json.exitCode, 0);
    for (const char* expected :
         {"{\"CharClass\": 6, \"CharName\": \"ВЫ\", \"CharDamage\": 190, \"CharDots\": 0, \"DmgAll\": 190, "
          "\"Critical\": null, \"DPS\": 21}",
          "\"fight\": {\"number\": 2, \"first_line\": 4, \"last_line\": 6, \"start\": \"2026.12.09 "
          "21:20:00\", "
          "\"end\": \"2026.12.09 21:20:09\", \"duration\": 9, \"damage\": 190, \"target\": \"Волк\", "
          "\"error\": null}\n}\n",
          "\"progress_max\": 1,"})
        EXPECT_NE(json.out.find(expected), std::string::npos) << expected << "\n" << json.out;
    EXPECT_EQ(RunTool("analyze Chat.log --fight 1 --gap 180 --format report", dir.path()).out,
              "Урон персонажей(в т.ч. доты), бой №1 21:14:03–21:16:40 (2:37):\r\nВЫ - 300 (0) 2 ДПС\r\n"
              "Мира - 45 (45) 0 ДПС\r\n\r\r\nУрон от ГС:\r\n");
    EXPECT_EQ(RunTool("analyze Chat.log --fight 2 --gap 180 --format csv", dir.path()).out,
              "CharClass,CharName,CharDamage,CharDots,DmgAll,Critical,DPS\r\n6,ВЫ,190,0,190,,21\r\n");
    const auto table = RunTool("analyze Chat.log --fight 2 --gap 180", dir.path());
    EXPECT_NE(table.out.find("Бой №2  21:20:00–21:20:09  0:09  Волк"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("ВЫ          190   21"), std::string::npos) << table.out;
}

TEST_F(Fights, FightNumbersAndMissingLogs) {
    struct Case {
        const char* arguments;
        int exitCode;
    };
    for (const Case& c : {Case{"analyze Chat.log --fight 4 --gap 180", 2},
                          Case{"analyze Chat.log --fight 0", 2}, Case{"analyze Chat.log --fight x", 2},
                          Case{"fights Chat.log --gap -1", 2}, Case{"fights Chat.log --fight 1", 2},
                          Case{"fights Chat.log --format report", 2}, Case{"fights missing.log", 3},
                          Case{"analyze missing.log --fight 1", 3}, Case{"follow missing.log", 3}})
        EXPECT_EQ(RunTool(c.arguments, dir.path()).exitCode, c.exitCode) << c.arguments;
    const std::string message =
        RunTool("analyze Chat.log --fight 4 --gap 180", dir.path(), Captured::Errors).out;
    EXPECT_NE(message.find("the log has 3 fights"), std::string::npos) << message;
}

#ifndef _WIN32
// The follower runs until it is stopped: here by the shell's timeout, which Windows has no match for.
// The reading itself is tested on every platform with the core.
TEST_F(Fights, FollowPrintsTheFightInProgressAsTheLogGrows) {
    dir.Write("Chat.log", LogText({"2026.12.09 21:20:00 : Ледяной шип IV: Волк получает 100 ед. урона."}));
    const std::string command = "cd '" + dir.path().string() +
                                "' && timeout 3 '" TALLYSCOPE_CLI
                                "' follow Chat.log --interval 20 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    char line[1 << 16];
    ASSERT_TRUE(std::fgets(line, sizeof line, pipe));
    const std::string first = line;
    {
        std::ofstream more(dir.path() / "Chat.log", std::ios::app | std::ios::binary);
        more << Cp(
            "2026.12.09 21:20:05 : Ледяной шип IV: Волк получает 90 ед. урона.\r\n"
            "2026.12.09 21:20:06 : Ледяной шип IV: Волк получ");  // the game is still writing
    }
    ASSERT_TRUE(std::fgets(line, sizeof line, pipe));
    const std::string second = line;
    ::pclose(pipe);
    EXPECT_NE(first.find("\"DmgAll\": 100, \"Critical\": null, \"DPS\": 100}"), std::string::npos) << first;
    EXPECT_NE(second.find("\"DmgAll\": 190, \"Critical\": null, \"DPS\": 38}"), std::string::npos) << second;
    EXPECT_NE(second.find("\"fight\": {\"number\": 1, \"first_line\": 1, \"last_line\": 2,"),
              std::string::npos);
    EXPECT_EQ(second.find('\n'), second.size() - 1) << "one object a line";
}
#endif

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
        {{"fights", "a.log", "--gap", "45", "--method", "2"}, true, 1, 0},
        {{"analyze", "a.log", "--fight", "2", "--gap", "0"}, true, 0, 0},
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
