#pragma once
// The few operating-system facilities the program needs, one small function each, implemented once
// for POSIX systems and once for Windows.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "tallyscope/byte_source.h"

namespace tally::platform {

// True when the path names an existing file that is not a directory; links are followed. An empty
// path names no file.
bool FileExists(const std::filesystem::path& path);

// What other processes may do with a file while it is open for reading (where the platform has
// sharing modes): only read it, as during an analysis run, or also write, rename and delete it, as
// while the program follows a log that the game client is writing.
enum class Sharing { ReadOnly, WithWriters };

// Tells two files apart: the same identity means the same file, whatever its name is now.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file the path names now; none when there is no file there, or it cannot be
// opened (on Windows, a deleted file that is still open elsewhere).
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// The error code of a FileError for a path that names something other than a file on disk: a named
// pipe, a socket or a device (on Windows, a handle of any type but a disk file). Reading one could wait
// forever for a writer or never reach an end, so it is refused when it is opened.
inline constexpr int kNotARegularFileError = -1;

// A file opened for reading. Throws FileError when it cannot be opened, also for a path that names no
// file on disk (a directory, a pipe, a socket or a device); Read throws FileError on failure.
class SharedReadFile final : public ByteSource {
  public:
    explicit SharedReadFile(const std::filesystem::path& path, Sharing sharing = Sharing::ReadOnly);
    ~SharedReadFile() override;
    SharedReadFile(const SharedReadFile&) = delete;
    SharedReadFile& operator=(const SharedReadFile&) = delete;

    std::uint64_t Size() const;
    // Reads up to capacity bytes; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t capacity) override;
    // Moves the read position to offset bytes from the start of the file.
    void Seek(std::uint64_t offset);
    void Close();
    FileIdentity Identity() const;
    // True once the file has been deleted while it is open here (its name may linger until every
    // handle to it is closed, as on Windows).
    bool IsDeleted() const;

  private:
    std::filesystem::path path_;
    std::intptr_t handle_;
};

// Deletes a file. Returns 0 on success, otherwise the error code the platform reports for the
// failure (GetLastError on Windows, errno elsewhere).
unsigned long DeleteFileReportingError(const std::filesystem::path& path);

// Asks the system to remove as many pages as possible from the process's working set.
void TrimWorkingSet();

#ifdef _WIN32
// The Windows calls of TrimWorkingSet, given as functions so that a test can watch the real calls go by.
struct WorkingSetCalls {
    unsigned long (*getCurrentProcessId)();
    void* (*openProcess)(unsigned long access, int inheritHandle, unsigned long processId);
    int (*setProcessWorkingSetSize)(void* process, std::size_t minimum, std::size_t maximum);
    int (*closeHandle)(void* handle);
};
// The system's own functions.
WorkingSetCalls SystemWorkingSetCalls();
void TrimWorkingSet(const WorkingSetCalls& calls);
#endif

// A duration written as a time of day in the user's long time format (fractions of a second and
// whole days dropped).
std::string FormatElapsedAsLongTime(std::int64_t milliseconds);

// True when standard output is a terminal that can be redrawn in place with the usual escape
// sequences (on Windows, a console switched to them).
bool StandardOutputIsTerminal();

// The process's current directory.
std::filesystem::path CurrentDirectory();

// Paths to and from UTF-8 text, whatever the platform's own encoding of paths (UTF-16 on Windows, where
// a path converted with the narrow string functions goes through the 8-bit code page and loses every
// character outside it).
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// The message the platform gives for an error code of a failed file operation.
std::string FileErrorMessage(int code);

}  // namespace tally::platform
