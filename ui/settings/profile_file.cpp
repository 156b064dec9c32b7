#include "settings/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace tally::ui {

namespace {

// Byte offsets [begin, end) into the file text.
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

enum class LineKind { Section, Key, Other };

struct Line {
    qsizetype begin = 0;
    qsizetype contentEnd = 0;  // where the line break starts
    qsizetype end = 0;         // after the line break
    LineKind kind = LineKind::Other;
    Span name;   // section or key name, blanks dropped
    Span value;  // key value, blanks dropped
    bool blank = true;
};

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype kUtf8BomLength = 3;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

Span Trimmed(const QByteArray& text, qsizetype begin, qsizetype end) {
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return {begin, end};
}

qsizetype BomLength(const QByteArray& text) {
    return text.startsWith(kUtf8Bom) ? kUtf8BomLength : 0;
}

// The file's text encoding: UTF-8, except on Windows, where it is the 8-bit system code page in which the
// system's own profile routines write, unless the file starts with the UTF-8 byte-order mark.
bool IsUtf8(const QByteArray& text) {
#ifdef Q_OS_WIN
    return BomLength(text) > 0;
#else
    Q_UNUSED(text);
    return true;
#endif
}

QString Decode(const QByteArray& text, Span span) {
    const char* bytes = text.constData() + span.begin;
    const qsizetype size = span.end - span.begin;
    return IsUtf8(text) ? QString::fromUtf8(bytes, size) : QString::fromLocal8Bit(bytes, size);
}

// A value may begin with U+FEFF, which QString::fromUtf8 would drop as a byte order mark.
QString DecodeValue(const QByteArray& text, Span span) {
    if (!IsUtf8(text))
        return Decode(text, span);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(text.constData() + span.begin, span.end - span.begin));
}

QByteArray Encode(const QByteArray& text, QStringView value) {
    return IsUtf8(text) ? value.toUtf8() : value.toLocal8Bit();
}

Line ParseLine(const QByteArray& text, qsizetype begin, qsizetype contentEnd, qsizetype end) {
    Line line;
    line.begin = begin;
    line.contentEnd = contentEnd;
    line.end = end;
    const Span content = Trimmed(text, begin, contentEnd);
    line.blank = content.begin == content.end;
    if (line.blank)
        return line;
    if (text[content.begin] == '[') {
        qsizetype close = text.indexOf(']', content.begin + 1);
        if (close < 0 || close > contentEnd)
            close = contentEnd;
        line.kind = LineKind::Section;
        line.name = Trimmed(text, content.begin + 1, close);
        return line;
    }
    const qsizetype equals = text.indexOf('=', content.begin);
    if (equals < 0 || equals >= contentEnd)
        return line;
    line.kind = LineKind::Key;
    line.name = Trimmed(text, content.begin, equals);
    line.value = Trimmed(text, equals + 1, contentEnd);
    return line;
}

// A line ends at LF, at CR LF or at a lone CR.
std::vector<Line> ParseLines(const QByteArray& text) {
    std::vector<Line> lines;
    qsizetype pos = BomLength(text);
    while (pos < text.size()) {
        qsizetype contentEnd = pos;
        while (contentEnd < text.size() && text[contentEnd] != '\n' && text[contentEnd] != '\r')
            ++contentEnd;
        qsizetype end = contentEnd;
        if (end < text.size()) {
            if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
                ++end;
            ++end;
        }
        lines.push_back(ParseLine(text, pos, contentEnd, end));
        pos = end;
    }
    return lines;
}

QByteArray LineBreakOf(const QByteArray& text) {
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\n')
            return "\n";
        if (text[pos] == '\r')
            return pos + 1 < text.size() && text[pos + 1] == '\n' ? "\r\n" : "\r";
    }
#ifdef Q_OS_WIN
    return "\r\n";
#else
    return "\n";
#endif
}

bool NameIs(const QByteArray& text, Span span, QStringView name) {
    const QString found = Decode(text, span);
    return QStringView(found).compare(name, Qt::CaseInsensitive) == 0;
}

// Where a key is, or would go, in the file. Only the first section of a name counts, and in it the first
// key of a name.
struct KeyLocation {
    std::optional<std::size_t> section;
    std::optional<std::size_t> key;
    std::size_t lastFilledLine = 0;  // last non-blank line of the section
};

KeyLocation Locate(const QByteArray& text, const std::vector<Line>& lines, QStringView section,
                   QStringView key) {
    KeyLocation location;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == LineKind::Section) {
            if (location.section)
                break;
            if (NameIs(text, line.name, section)) {
                location.section = i;
                location.lastFilledLine = i;
            }
            continue;
        }
        if (!location.section)
            continue;
        if (!line.blank)
            location.lastFilledLine = i;
        if (!location.key && line.kind == LineKind::Key && NameIs(text, line.name, key))
            location.key = i;
    }
    return location;
}

enum class FileState { Read, Missing, Unreadable };

FileState ReadWholeFile(const QString& path, QByteArray& text) {
    const QFileInfo info(path);
    if (!info.exists())
        return FileState::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return FileState::Unreadable;
    text = file.readAll();
    return file.error() == QFileDevice::NoError ? FileState::Read : FileState::Unreadable;
}

std::optional<std::int32_t> ParseHexadecimal(QStringView digits) {
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit;
        if (u >= u'0' && u <= u'9') {
            digit = u - u'0';
        } else if (u >= u'a' && u <= u'f') {
            digit = u - u'a' + 10;
        } else if (u >= u'A' && u <= u'F') {
            digit = u - u'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    // Hexadecimal gives the 32 bits of the number, so "$FFFFFFFF" is -1.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(QStringView text) {
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<std::int32_t> ParseInteger(QStringView text) {
    if (text.startsWith(u'$'))
        return ParseHexadecimal(text.mid(1));
    if (text.size() > 2 && (text.startsWith(u"0x") || text.startsWith(u"0X")))
        return ParseHexadecimal(text.mid(2));
    return ParseDecimal(text);
}

// The value as a line of the file holds it: cut at its first line break, and without the blanks at its
// ends, which a read drops. Written with them, they would stand beside the blanks kept around the old
// value, and every save of the same value would make the line longer.
QString StoredValue(const QString& value) {
    const qsizetype lf = value.indexOf(u'\n');
    const qsizetype cr = value.indexOf(u'\r');
    qsizetype end = value.size();
    if (lf >= 0)
        end = lf;
    if (cr >= 0 && cr < end)
        end = cr;
    qsizetype begin = 0;
    while (begin < end && (value[begin] == u' ' || value[begin] == u'\t'))
        ++begin;
    while (end > begin && (value[end - 1] == u' ' || value[end - 1] == u'\t'))
        --end;
    return value.mid(begin, end - begin);
}

}  // namespace

QString ProfileFile::ReadString(QStringView section, QStringView key, const QString& defaultValue) const {
    QByteArray text;
    if (ReadWholeFile(path_, text) != FileState::Read)
        return defaultValue;
    const std::vector<Line> lines = ParseLines(text);
    const KeyLocation location = Locate(text, lines, section, key);
    if (!location.key)
        return defaultValue;
    const Span value = lines[*location.key].value;
    QString result = DecodeValue(text, value);
    if (result.size() > kProfileTextLimit) {
        result.truncate(kProfileTextLimit);
        // Half a surrogate pair is no character; drop it rather than hand on broken text.
        if (result.back().isHighSurrogate())
            result.chop(1);
    }
    return result;
}

std::int32_t ProfileFile::ReadInteger(QStringView section, QStringView key, std::int32_t defaultValue) const {
    const QString text = ReadString(section, key, QString());
    return ParseInteger(text).value_or(defaultValue);
}

void ProfileFile::WriteString(QStringView section, QStringView key, const QString& value) {
    const auto failure = [this] {
        return ProfileWriteError((QStringLiteral("Unable to write to ") + path_ + u'.').toStdString());
    };
    QByteArray text;
    // A file that exists but cannot be read must not be replaced by one holding the single key.
    if (ReadWholeFile(path_, text) == FileState::Unreadable)
        throw failure();

    const std::vector<Line> lines = ParseLines(text);
    const KeyLocation location = Locate(text, lines, section, key);
    const QByteArray lineBreak = LineBreakOf(text);
    const QByteArray valueBytes = Encode(text, StoredValue(value));
    const QByteArray keyLine = Encode(text, key) + '=' + valueBytes + lineBreak;

    if (location.key) {
        const Span old = lines[*location.key].value;
        text.replace(old.begin, old.end - old.begin, valueBytes);
    } else if (location.section) {
        const Line& last = lines[location.lastFilledLine];
        if (last.end == last.contentEnd) {
            text.insert(last.end, lineBreak + keyLine);  // the last line of the file, without its break
        } else {
            // The new line ends as the line before it does. Ended as the file's first line is, with a lone
            // CR, it would join a blank LF line after it into one CR LF, and that line would be lost.
            const QByteArray breakBefore = text.mid(last.contentEnd, last.end - last.contentEnd);
            text.insert(last.end, Encode(text, key) + '=' + valueBytes + breakBefore);
        }
    } else {
        const bool open = text.size() > BomLength(text) && !text.endsWith('\n') && !text.endsWith('\r');
        text += (open ? lineBreak : QByteArray()) + '[' + Encode(text, section) + ']' + lineBreak + keyLine;
    }

    QSaveFile file(path_);
    // A file in a directory that takes no new files can still be rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw failure();
}

void ProfileFile::WriteInteger(QStringView section, QStringView key, std::int32_t value) {
    WriteString(section, key, QString::number(value));
}

}  // namespace tally::ui
