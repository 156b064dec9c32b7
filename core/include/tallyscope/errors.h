#pragma once
// Errors the analysis core raises. It catches none of them: they end the analysis run and reach the
// front end, which shows their message. Messages are UTF-8.

#include <stdexcept>
#include <string>

namespace tally {

// A damage amount that cannot be read: "'<digits>' is not a valid integer value".
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const std::string& digits)
        : std::runtime_error("'" + digits + "' is not a valid integer value") {}
};

// A file that exists but cannot be opened or read, or a reference list that cannot be loaded.
class FileError : public std::runtime_error {
  public:
    FileError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// A line of a file that cannot be held in memory: longer than the line reader's limit, or longer
// than the memory left for it. It ends the reading at that line.
class LineTooLongError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace tally
