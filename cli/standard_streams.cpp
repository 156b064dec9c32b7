#include "standard_streams.h"

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

namespace tally::cli {
namespace {

// The complete UTF-8 characters at the front of text: a character cut by the end of a write waits
// for the rest.
std::size_t CompletePrefix(const std::string& text) {
    std::size_t end = text.size();
    std::size_t back = 0;
    while (back < 4 && back < end && (static_cast<unsigned char>(text[end - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back < end) {
        const auto lead = static_cast<unsigned char>(text[end - 1 - back]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length > back + 1)
            end -= back + 1;
    }
    return end;
}

// Writes UTF-8 to a console as UTF-16 characters.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

  protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof())
            pending_ += static_cast<char>(c);
        if (c == '\n')
            Flush();
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        Flush();
        return count;
    }
    int sync() override {
        Flush();
        return 0;
    }

  private:
    void Flush() {
        const std::size_t ready = CompletePrefix(pending_);
        if (ready == 0)
            return;
        const int wide =
            ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(ready), nullptr, 0);
        std::wstring text(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(ready), text.data(), wide);
        DWORD written = 0;
        ::WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        pending_.erase(0, ready);
    }

    HANDLE console_;
    std::string pending_;
};

void Prepare(std::FILE* file, DWORD handleId, std::ostream& stream) {
    std::fflush(file);
    ::_setmode(::_fileno(file), _O_BINARY);
    const HANDLE handle = ::GetStdHandle(handleId);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
        // Never freed: the stream may still be flushed while the program's statics go.
        stream.rdbuf(new ConsoleBuffer(handle));
    }
}

std::string Utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 1 ? size - 1 : 0), '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams() {
    Prepare(stdout, STD_OUTPUT_HANDLE, std::cout);
    Prepare(stderr, STD_ERROR_HANDLE, std::cerr);
}

}  // namespace tally::cli

#else

namespace tally::cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareStandardStreams() {}

}  // namespace tally::cli

#endif
