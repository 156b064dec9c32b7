// Files that fight back on a POSIX system: a path that names a named pipe, a socket or a device
// passes the existence test, but the chat log and the reference lists are files on disk, so the run
// refuses them at once with a message that says what the path names, instead of waiting forever for a
// writer or reading a device that never ends. Also a log that cannot be read, a log deleted while runs
// start, and a line that cannot be held in memory.

#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <random>
#include <thread>

#include "endless_line.h"
#include "line_reader.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/errors.h"
#include "tallyscope/platform.h"
#include "tallyscope/reference_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::EndlessLine;
using test::RecordingFeedback;
using test::ScratchDir;

// Ends the test process if a refusal ever turns into a wait again, so that the suite fails instead
// of hanging.
class Watchdog {
  public:
    Watchdog() { ::alarm(30); }
    ~Watchdog() { ::alarm(0); }
};

// A UNIX socket bound at path for as long as the object lives.
class BoundSocket {
  public:
    explicit BoundSocket(const std::filesystem::path& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bound_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool bound() const { return bound_; }

  private:
    int fd_;
    bool bound_ = false;
};

struct SpecialFile {
    const char* name;
    const char* says;  // what the message tells the user the path is
};

class SpecialFiles : public ::testing::Test {
  protected:
    // Makes the special file at path; false when this system cannot.
    bool Make(const std::string& name, const std::filesystem::path& path) {
        if (name == "named pipe")
            return ::mkfifo(path.c_str(), 0600) == 0;
        if (name == "socket") {
            socket_ = std::make_unique<BoundSocket>(path);
            return socket_->bound();
        }
        if (name == "endless device") {
            std::filesystem::create_symlink("/dev/zero", path);
            return true;
        }
        return false;
    }

    ScratchDir dir;
    std::unique_ptr<BoundSocket> socket_;
};

const SpecialFile kSpecialFiles[] = {
    {"named pipe", "It is a named pipe, not a file on disk"},
    {"socket", "It is a socket, not a file on disk"},
    {"endless device", "It is a device, not a file on disk"},
};

TEST_F(SpecialFiles, TheRunRefusesThemAtOnceAndSaysWhatTheyAre) {
    Watchdog watchdog;
    for (const SpecialFile& special : kSpecialFiles) {
        const auto path = dir.path() / (std::string(special.name) + ".log");
        ASSERT_TRUE(Make(special.name, path)) << special.name;
        ASSERT_TRUE(platform::FileExists(path)) << special.name << " passes the existence test";

        AnalysisTables t;
        AddCharacterDamage(t.mtList, t.ownerClassVotes, 1, "x", 1, 0);
        t.mtList.SetFiltered(true);
        RecordingFeedback feedback;
        try {
            AnalysisRun(path, t, AppSettings{}, feedback);
            ADD_FAILURE() << special.name << " was read as a log";
        } catch (const FileError& error) {
            EXPECT_EQ(error.what(), "Cannot open file \"" + path.string() + "\". " + special.says);
            EXPECT_EQ(error.code(), platform::kNotARegularFileError);
        }
        EXPECT_EQ(t.mtList.RowCount(), 0u) << "the previous results are gone, as for any failed open";
        EXPECT_TRUE(t.mtList.IsFiltered());
        EXPECT_TRUE(feedback.statuses.empty()) << "nothing was shown as being analysed";

        EXPECT_THROW(SplitLogIntoFights(path, kDefaultFightGap), FileError) << special.name;
    }
}

TEST_F(SpecialFiles, AReferenceListStopsTheLoadingWithTheSystemsWords) {
    Watchdog watchdog;
    for (const SpecialFile& special : kSpecialFiles) {
        const auto dots = dir.path() / (std::string(special.name) + "-dots.txt");
        ASSERT_TRUE(Make(special.name, dots)) << special.name;
        DotTable mtDots;
        SkillTable mtSkills;
        try {
            LoadReferenceTables(mtDots, mtSkills, dots, dir.Write("skills.txt", Cp("[Волшебник]\nЩит\n")));
            ADD_FAILURE() << special.name << " was read as a list";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), "Not a file on disk: a named pipe, a socket or a device");
        }
        EXPECT_EQ(mtSkills.RowCount(), 0u) << "skills.txt is not read after dots.txt failed";
    }
}

TEST_F(SpecialFiles, ADirectoryAsAReferenceListIsReportedAsOne) {
    DotTable mtDots;
    SkillTable mtSkills;
    const auto skills = dir.Write("skills.txt", "");
    try {
        LoadReferenceTables(mtDots, mtSkills, dir.path(), skills);
        ADD_FAILURE() << "a directory was read as a list";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), EISDIR);
        EXPECT_EQ(error.what(), platform::FileErrorMessage(EISDIR));
    }
}

// Runs body in a child process and returns its exit code.
template <class Body>
int InChildProcess(Body&& body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The size of the process's address space now.
std::size_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

TEST(UnreadableLog, EndsTheRunWithTheSystemsMessage) {
    ScratchDir dir;
    const auto log = dir.Write("Chat.log", Cp("21:14:09 : Моб наносит 5 ед. урона.\r\n"));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);  // the child may search it
    std::filesystem::permissions(log, std::filesystem::perms::none);
    const int code = InChildProcess([&log] {
        // Root reads every file: the child gives up that right first.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 99;
        if (!platform::FileExists(log))
            return 1;
        AnalysisTables t;
        RecordingFeedback feedback;
        try {
            AnalysisRun(log, t, AppSettings{}, feedback);
        } catch (const FileError& error) {
            const std::string expected =
                "Cannot open file \"" + log.string() + "\". " + std::strerror(EACCES);
            return error.what() == expected && error.code() == EACCES ? 0 : 2;
        }
        return 3;
    });
    EXPECT_EQ(code, 0) << "1: not found, 2: another error, 3: no error, 99: could not drop root";
}

// The game client, or the clear button of another copy of the program, deletes and writes the log
// while runs start: each run finds no file, reads the file, or fails to open the file it saw a
// moment before, and says which.
TEST(VanishingLog, EveryRunEndsCleanlyWhateverMomentTheLogGoes) {
    ScratchDir dir;
    const auto log = dir.path() / "Chat.log";
    const std::string text = Cp("21:14:09 : Моб наносит 5 ед. урона.\r\n");
    std::atomic<bool> done{false};
    std::thread game([&] {
        while (!done) {
            dir.Write("Chat.log", text);
            std::filesystem::remove(log);
        }
    });
    int read = 0, missing = 0, vanished = 0;
    for (int i = 0; i < 300; ++i) {
        AnalysisTables t;
        RecordingFeedback feedback;
        try {
            AnalysisRun(log, t, AppSettings{}, feedback);
            if (feedback.statuses == std::vector<std::string>{std::string(kStatusNoFile)}) {
                ++missing;
            } else {
                EXPECT_TRUE(feedback.statuses.back().starts_with(kStatusDonePrefix));
                ++read;
            }
        } catch (const FileError& error) {
            EXPECT_EQ(error.what(),
                      "Cannot open file \"" + log.string() + "\". The specified file was not found");
            ++vanished;
        }
    }
    done = true;
    game.join();
    EXPECT_EQ(read + missing + vanished, 300);
}

TEST(HugeLine, BeyondTheMemoryLeftEndsTheReadingWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit leaves";
#elif defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer's allocator ends the process where malloc would fail";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit leaves";
#elif __has_feature(thread_sanitizer)
    GTEST_SKIP() << "ThreadSanitizer's allocator ends the process where malloc would fail";
#endif
#endif
    const int code = InChildProcess([] {
        // Room for the program and 256 MiB more: the line's buffer cannot grow to a gibibyte.
        const rlim_t room = AddressSpaceInUse() + (std::size_t{256} << 20);
        const rlimit limit{room, room};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            return 4;
        EndlessLine source;
        LineReader reader(source);
        std::string_view line;
        try {
            reader.Next(line);
        } catch (const LineTooLongError& error) {
            return std::string(error.what()).starts_with("Line 1 does not fit into memory (") ? 0 : 2;
        }
        return 3;
    });
    EXPECT_EQ(code, 0) << "2: another message, 3: no error, 4: no limit";
}

}  // namespace
}  // namespace tally
