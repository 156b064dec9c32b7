// The platform layer on the system it was built for: on Windows (and under Wine) the sharing mode of the
// log, the error codes of deleting a file, the working-set trim and the system's messages are the real
// ones, not stand-ins.
#include "tallyscope/platform.h"

#include <gtest/gtest.h>

#include "tallyscope/analysis_run.h"
#include "tallyscope/errors.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tally {
namespace {

using test::LogText;
using test::ScratchDir;

// A name with Cyrillic letters, a blank and a character that no 8-bit code page holds.
constexpr char kUnicodeName[] = "Журнал боя \xE2\x98\xBA.log";

TEST(Platform, PathsKeepEveryCharacter) {
    ScratchDir dir;
    const auto path = dir.path() / platform::PathFromUtf8(kUnicodeName);
    EXPECT_EQ(platform::PathToUtf8(path.filename()), kUnicodeName);
    EXPECT_FALSE(platform::FileExists(path));
    std::filesystem::rename(dir.Write("plain.log", LogText({"21:14:09 : Моб наносит 7 ед. урона."})), path);
    ASSERT_TRUE(platform::FileExists(path));

    AnalysisTables tables;
    test::RecordingFeedback feedback;
    AnalysisRun(path, tables, AppSettings{}, feedback);
    ASSERT_EQ(tables.mtList.RowCount(), 1u);
    EXPECT_EQ(tables.mtList.At(0).dmgAll, 7);
    EXPECT_EQ(platform::DeleteFileReportingError(path), 0u);
    EXPECT_FALSE(platform::FileExists(path));
}

TEST(Platform, MessagesAreUtf8WithoutLineEndOrFullStop) {
    for (const int code : {2, 5, 32}) {
        const std::string message = platform::FileErrorMessage(code);
        ASSERT_FALSE(message.empty()) << code;
        EXPECT_NE(message.back(), '.') << message;
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
        EXPECT_EQ(platform::PathToUtf8(platform::PathFromUtf8(message)), message) << message;
    }
}

#ifdef _WIN32

// Opens the file as another program that wants to change it would.
HANDLE OpenForWriting(const std::filesystem::path& path) {
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs a command line in a process of its own and waits for it.
void RunProcess(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process))
        return;
    ::WaitForSingleObject(process.hProcess, 60000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

// While a run reads the log, other programs may read it but neither write nor delete it: the clear
// button then fails with the sharing violation, code 32.
TEST(WindowsPlatform, TheLogIsSharedForReadingOnlyWhileARunHoldsIt) {
    ScratchDir dir;
    std::vector<std::string_view> lines(40, "21:14:09 : Моб наносит 7 ед. урона.");
    const auto log = dir.Write("Chat.log", LogText(lines));

    AnalysisTables tables;
    test::RecordingFeedback feedback;
    int checks = 0;
    feedback.onPump = [&] {
        if (checks++ > 0)
            return;
        const HANDLE writer = OpenForWriting(log);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (writer != INVALID_HANDLE_VALUE)
            ::CloseHandle(writer);
        EXPECT_EQ(platform::DeleteFileReportingError(log), 32u);

        const HANDLE reader = ::CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "another reader is let in";
        if (reader != INVALID_HANDLE_VALUE)
            ::CloseHandle(reader);

        // Another process: the command processor cannot append to the log (Wine's says so but still exits
        // with 0, so the size of the log after the run tells).
        RunProcess(L"cmd.exe /c echo x>>\"" + log.wstring() + L"\"");
    };
    AnalysisRun(log, tables, AppSettings{}, feedback);
    EXPECT_EQ(checks, 2) << "a run of 40 lines pumps events twice";
    EXPECT_EQ(std::filesystem::file_size(log), LogText(lines).size()) << "the other process wrote nothing";

    // After the run the log is free again.
    const HANDLE writer = OpenForWriting(log);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    ::CloseHandle(writer);
    EXPECT_EQ(platform::DeleteFileReportingError(log), 0u);
}

// A log that another program holds open for writing cannot be opened by a run: the error reaches the
// front end with the system's code and message.
TEST(WindowsPlatform, ALogHeldForWritingCannotBeOpened) {
    ScratchDir dir;
    const auto log = dir.Write("Chat.log", LogText({"21:14:09 : Моб наносит 7 ед. урона."}));
    const HANDLE writer = OpenForWriting(log);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    try {
        platform::SharedReadFile file(log);
        ADD_FAILURE() << "opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), ERROR_SHARING_VIOLATION);
        EXPECT_NE(std::string(error.what()).find(platform::FileErrorMessage(error.code())),
                  std::string::npos);
    }
    ::CloseHandle(writer);
}

TEST(WindowsPlatform, DeletingReportsTheSystemErrorCode) {
    ScratchDir dir;
    const auto existing = dir.Write("Chat.log", "x");
    const struct {
        std::filesystem::path path;
        unsigned long code;
    } cases[] = {
        {existing, 0},                                                // deleted
        {existing, ERROR_FILE_NOT_FOUND},                             // 2: already gone
        {dir.path() / "missing" / "Chat.log", ERROR_PATH_NOT_FOUND},  // 3
        {dir.path(), ERROR_ACCESS_DENIED},                            // 5: a directory
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::DeleteFileReportingError(c.path), c.code) << c.path;
}

// The calls the trim makes, recorded on their way to the system's own functions.
struct TrimRecord {
    std::vector<std::string> calls;
    unsigned long processId = 0;
    void* handle = nullptr;
    bool allSucceeded = true;
};
TrimRecord trim;

TEST(WindowsPlatform, TrimWorkingSetOpensItsOwnProcessTrimsAndClosesTheHandle) {
    static const platform::WorkingSetCalls system = platform::SystemWorkingSetCalls();
    const platform::WorkingSetCalls recording{
        [] {
            trim.calls.push_back("GetCurrentProcessId");
            return trim.processId = system.getCurrentProcessId();
        },
        [](unsigned long access, int inherit, unsigned long id) {
            trim.calls.push_back("OpenProcess " + std::to_string(access) + " " + std::to_string(inherit) +
                                 " " + (id == trim.processId ? "own" : "other"));
            trim.handle = system.openProcess(access, inherit, id);
            trim.allSucceeded &= trim.handle != nullptr;
            return trim.handle;
        },
        [](void* process, std::size_t minimum, std::size_t maximum) {
            trim.calls.push_back(std::string("SetProcessWorkingSetSize ") +
                                 (process == trim.handle ? "opened" : "?") + " " +
                                 std::to_string(minimum == static_cast<std::size_t>(-1)) + " " +
                                 std::to_string(maximum == static_cast<std::size_t>(-1)));
            const int result = system.setProcessWorkingSetSize(process, minimum, maximum);
            trim.allSucceeded &= result != 0;
            return result;
        },
        [](void* handle) {
            trim.calls.push_back(std::string("CloseHandle ") + (handle == trim.handle ? "opened" : "?"));
            const int result = system.closeHandle(handle);
            trim.allSucceeded &= result != 0;
            return result;
        },
    };
    DWORD handlesBefore = 0, handlesAfter = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handlesBefore);
    platform::TrimWorkingSet(recording);
    ::GetProcessHandleCount(::GetCurrentProcess(), &handlesAfter);

    EXPECT_EQ(trim.calls,
              (std::vector<std::string>{"GetCurrentProcessId", "OpenProcess 2097151 0 own",
                                        "SetProcessWorkingSetSize opened 1 1", "CloseHandle opened"}));
    EXPECT_TRUE(trim.allSucceeded);
    EXPECT_EQ(handlesAfter, handlesBefore);
    platform::TrimWorkingSet();  // the system's functions themselves
}

#endif

}  // namespace
}  // namespace tally
