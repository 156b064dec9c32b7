#pragma once
// A profile (INI) file read and written one key at a time: "[Section]" lines, "Key=Value" lines under
// them, section and key names matched without regard to letter case. A write changes the value of the
// one key written and leaves every other byte of the file as it was, so the user's own sections, comments
// and spacing survive. The file text is UTF-8; on Windows it is 8-bit text in the system code page, as the
// system's own profile routines read and write it, unless the file starts with the UTF-8 byte-order mark.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <stdexcept>

namespace tally::ui {

// A key that could not be written; the message is "Unable to write to <path>.".
class ProfileWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Longest text value a read returns, in UTF-16 code units; the rest of a longer value is cut off.
inline constexpr qsizetype kProfileTextLimit = 2047;

class ProfileFile {
  public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& Path() const { return path_; }

    // The value of the key with blanks around it dropped and cut at kProfileTextLimit; the default when
    // the file, the section or the key is missing or the file cannot be read. A key that is present with
    // an empty value reads as empty.
    QString ReadString(QStringView section, QStringView key, const QString& defaultValue) const;

    // The value read as a signed 32-bit integer: decimal with an optional sign, hexadecimal after "$" or,
    // for texts longer than two characters, after "0x" or "0X". The default for anything else, for an
    // empty value and for a missing key.
    std::int32_t ReadInteger(QStringView section, QStringView key, std::int32_t defaultValue) const;

    // Sets the key's value: replaces the value of an existing key, adds the key at the end of its section
    // or adds the section at the end of the file, creating the file when it is missing. A value cannot
    // span lines, so it is cut at its first line break, and blanks at its ends are not written, since a
    // read drops them. Throws ProfileWriteError when the file cannot be read back or written.
    void WriteString(QStringView section, QStringView key, const QString& value);
    void WriteInteger(QStringView section, QStringView key, std::int32_t value);

  private:
    QString path_;
};

}  // namespace tally::ui
