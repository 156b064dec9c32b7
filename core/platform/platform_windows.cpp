// Windows implementation of the platform layer: the log is opened with read sharing only, so that no
// other process can write or delete it during a run.
#ifdef _WIN32

#include <windows.h>

#include <iterator>
#include <string>

#include "tallyscope/errors.h"
#include "tallyscope/platform.h"

namespace tally::platform {

bool FileExists(const std::filesystem::path& path) {
    if (path.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::string Utf8FromWide(const wchar_t* text, int length) {
    if (length <= 0)
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

// The system's message in the user's language, as UTF-8 like every message of the program (the 8-bit
// message functions would give it in the system code page).
std::string FileErrorMessage(int code) {
    if (code == kNotARegularFileError)
        return "Not a file on disk: a pipe or a device";
    wchar_t text[512] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), 0, text, static_cast<DWORD>(std::size(text)), nullptr);
    std::string message =
        length > 0 ? Utf8FromWide(text, static_cast<int>(length)) : "System error " + std::to_string(code);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

namespace {
FileIdentity IdentityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info))
        return {};
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
}  // namespace

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    if (path.empty())
        return std::nullopt;
    // Opened for no access at all, so that nobody else is hindered.
    HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const FileIdentity identity = IdentityOfHandle(h);
    ::CloseHandle(h);
    return identity;
}

SharedReadFile::SharedReadFile(const std::filesystem::path& path, Sharing sharing)
    : path_(path), handle_(-1) {
    const DWORD share = sharing == Sharing::ReadOnly ? FILE_SHARE_READ
                                                     : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int code = static_cast<int>(::GetLastError());
        throw FileError("Cannot open file \"" + PathToUtf8(path) + "\". " + FileErrorMessage(code), code);
    }
    // A pipe or a device (a console, a serial port) may never end or may wait for a writer forever.
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        throw FileError(
            "Cannot open file \"" + PathToUtf8(path) + "\". It is a pipe or a device, not a file on disk",
            kNotARegularFileError);
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

SharedReadFile::~SharedReadFile() {
    Close();
}

void SharedReadFile::Close() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

std::uint64_t SharedReadFile::Size() const {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(reinterpret_cast<HANDLE>(handle_), &size)
               ? static_cast<std::uint64_t>(size.QuadPart)
               : 0;
}

std::size_t SharedReadFile::Read(char* buffer, std::size_t capacity) {
    DWORD got = 0;
    const DWORD want = capacity > 0x40000000 ? 0x40000000 : static_cast<DWORD>(capacity);
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) {
        const int code = static_cast<int>(::GetLastError());
        throw FileError("Read error on \"" + PathToUtf8(path_) + "\". " + FileErrorMessage(code), code);
    }
    return got;
}

FileIdentity SharedReadFile::Identity() const {
    return IdentityOfHandle(reinterpret_cast<HANDLE>(handle_));
}

bool SharedReadFile::IsDeleted() const {
    FILE_STANDARD_INFO info{};
    return ::GetFileInformationByHandleEx(reinterpret_cast<HANDLE>(handle_), FileStandardInfo, &info,
                                          sizeof info) &&
           (info.DeletePending || info.NumberOfLinks == 0);
}

void SharedReadFile::Seek(std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), to, nullptr, FILE_BEGIN)) {
        const int code = static_cast<int>(::GetLastError());
        throw FileError("Read error on \"" + path_.string() + "\". " + FileErrorMessage(code), code);
    }
}

unsigned long DeleteFileReportingError(const std::filesystem::path& path) {
    return ::DeleteFileW(path.c_str()) ? 0 : ::GetLastError();
}

bool StandardOutputIsTerminal() {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out == INVALID_HANDLE_VALUE || !::GetConsoleMode(out, &mode))
        return false;
    return ::SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

WorkingSetCalls SystemWorkingSetCalls() {
    return {
        [] { return static_cast<unsigned long>(::GetCurrentProcessId()); },
        [](unsigned long access, int inherit, unsigned long id) -> void* {
            return ::OpenProcess(access, inherit, id);
        },
        [](void* process, std::size_t minimum, std::size_t maximum) -> int {
            return ::SetProcessWorkingSetSize(process, minimum, maximum);
        },
        [](void* handle) -> int { return ::CloseHandle(handle); },
    };
}

// The own process opened with all access rights (0x1FFFFF, PROCESS_ALL_ACCESS of the NT family), both
// limits at -1 so that the system removes as many pages as it can, the handle closed; no result is
// examined.
void TrimWorkingSet(const WorkingSetCalls& calls) {
    constexpr unsigned long kAllAccess = 0x1FFFFF;
    if (void* process = calls.openProcess(kAllAccess, FALSE, calls.getCurrentProcessId())) {
        calls.setProcessWorkingSetSize(process, static_cast<std::size_t>(-1), static_cast<std::size_t>(-1));
        calls.closeHandle(process);
    }
}

void TrimWorkingSet() {
    TrimWorkingSet(SystemWorkingSetCalls());
}

std::string FormatElapsedAsLongTime(std::int64_t milliseconds) {
    const std::int64_t seconds = (milliseconds < 0 ? 0 : milliseconds / 1000) % 86400;
    SYSTEMTIME time{};
    time.wHour = static_cast<WORD>(seconds / 3600);
    time.wMinute = static_cast<WORD>(seconds / 60 % 60);
    time.wSecond = static_cast<WORD>(seconds % 60);
    wchar_t text[64] = {};
    const int n = ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text, 64);
    return Utf8FromWide(text, n - 1);  // n counts the terminating zero
}

}  // namespace tally::platform

#endif
