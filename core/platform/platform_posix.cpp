// POSIX implementation of the platform layer. There are no sharing modes for files here: the log is
// simply opened for reading.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <system_error>

#include "tallyscope/errors.h"
#include "tallyscope/platform.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tally::platform {

bool FileExists(const std::filesystem::path& path) {
    if (path.empty())
        return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string FileErrorMessage(int code) {
    if (code == ENOENT)
        return "The specified file was not found";
    if (code == kNotARegularFileError)
        return "Not a file on disk: a named pipe, a socket or a device";
    return std::strerror(code);
}

namespace {

// Why a file of this type, not a regular file, cannot be read as a text file.
const char* WhyNotReadable(mode_t mode) {
    if (S_ISDIR(mode))
        return "It is a directory";
    if (S_ISFIFO(mode))
        return "It is a named pipe, not a file on disk";
    if (S_ISSOCK(mode))
        return "It is a socket, not a file on disk";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "It is a device, not a file on disk";
    return "It is not a file on disk";
}

[[noreturn]] void ThrowNotReadable(const std::filesystem::path& path, mode_t mode) {
    throw FileError("Cannot open file \"" + path.string() + "\". " + WhyNotReadable(mode),
                    S_ISDIR(mode) ? EISDIR : kNotARegularFileError);
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// Files have no sharing modes here: writers, renames and deletes go on whatever the mode. Only a
// regular file is opened: reading a named pipe waits for a writer that may never come, and a device
// may never end. The type is looked at before the open, which a pipe would block and a device may
// answer with side effects, and again on the open file, in case the path changed in between; the
// open does not wait in that case.
SharedReadFile::SharedReadFile(const std::filesystem::path& path, Sharing) : path_(path), handle_(-1) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        ThrowNotReadable(path, info.st_mode);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    const auto fail = [&path](int code) {
        return FileError("Cannot open file \"" + path.string() + "\". " + FileErrorMessage(code), code);
    };
    if (fd < 0)
        throw fail(errno);
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        throw fail(code);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        ThrowNotReadable(path, info.st_mode);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    handle_ = fd;
}

SharedReadFile::~SharedReadFile() {
    Close();
}

void SharedReadFile::Close() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

std::uint64_t SharedReadFile::Size() const {
    struct stat info {};
    if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &info) != 0)
        return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t SharedReadFile::Read(char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, capacity);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno == EINTR)
            continue;
        const int code = errno;
        throw FileError("Read error on \"" + path_.string() + "\". " + FileErrorMessage(code), code);
    }
}

FileIdentity SharedReadFile::Identity() const {
    struct stat info {};
    if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &info) != 0)
        return {};
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool SharedReadFile::IsDeleted() const {
    struct stat info {};
    return handle_ >= 0 && ::fstat(static_cast<int>(handle_), &info) == 0 && info.st_nlink == 0;
}

void SharedReadFile::Seek(std::uint64_t offset) {
    if (::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) < 0) {
        const int code = errno;
        throw FileError("Read error on \"" + path_.string() + "\". " + FileErrorMessage(code), code);
    }
}

unsigned long DeleteFileReportingError(const std::filesystem::path& path) {
    if (path.empty())
        return ENOENT;
    return ::unlink(path.c_str()) == 0 ? 0 : static_cast<unsigned long>(errno);
}

bool StandardOutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

void TrimWorkingSet() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

std::string FormatElapsedAsLongTime(std::int64_t milliseconds) {
    const std::int64_t seconds = (milliseconds < 0 ? 0 : milliseconds / 1000) % 86400;
    std::tm time{};
    time.tm_hour = static_cast<int>(seconds / 3600);
    time.tm_min = static_cast<int>(seconds / 60 % 60);
    time.tm_sec = static_cast<int>(seconds % 60);
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, "%X", &time);  // the locale's time format
    return std::string(text, n);
}

}  // namespace tally::platform

#endif
