// The settings file options.ini over arbitrary bytes: the file is saved with values the input
// chooses for every key, then read again. Every key reads back as written (a text value cut at its
// first line break, without blanks at its ends and at most 2047 characters long), and every line of
// the original file is still there, in order and unchanged, except for the value of a key that was
// written; the only new lines are the written keys and their section headers.

#include <QFile>
#include <QString>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"

namespace tally::fuzz {
namespace {

struct FakeWindow final : ui::MainWindowSide {
    int top = 0, left = 0, width = 0, height = 0;
    QString path;

    int Top() const override { return top; }
    int Left() const override { return left; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetTop(int value) override { top = value; }
    void SetLeft(int value) override { left = value; }
    void SetWidth(int value) override { width = value; }
    void SetHeight(int value) override { height = value; }
    QString PathText() const override { return path; }
    void SetPathText(const QString& text) override { path = text; }
};

std::int32_t Int32(Bytes& input) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | input.Byte();
    std::int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

// The lines of a profile file with their line breaks: LF, CR LF and a lone CR end a line.
std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(text.substr(begin, i + 1 - begin));
        begin = i + 1;
    }
    if (begin < text.size())
        lines.push_back(text.substr(begin));
    return lines;
}

std::string_view Content(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A line the writer adds: "Key=value" of a written key, or the header of its section.
bool IsWrittenLine(std::string_view line) {
    const std::string_view content = Content(line);
    if (content.size() == line.size())
        return false;  // the writer ends every line it adds
    for (const ui::SettingsKey& key : ui::kSettingsKeys) {
        const std::string name = QString::fromUtf16(key.key).toStdString();
        // Built from a QString: GCC 12 warns falsely (-Wrestrict) on "[" + std::string.
        const std::string section = (u'[' + QString::fromUtf16(key.section) + u']').toStdString();
        if (content == section || content.starts_with(name + "="))
            return true;
    }
    return false;
}

// The original line with another value: everything but the value between its blanks stays.
bool IsSameKeyLineWithNewValue(std::string_view original, std::string_view now) {
    const std::string_view content = Content(original);
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return false;
    std::size_t name = 0;
    while (name < equals && IsBlank(content[name]))
        ++name;
    if (name < equals && content[name] == '[')
        return false;
    std::size_t valueBegin = equals + 1;
    while (valueBegin < content.size() && IsBlank(content[valueBegin]))
        ++valueBegin;
    std::size_t valueEnd = content.size();
    while (valueEnd > valueBegin && IsBlank(content[valueEnd - 1]))
        --valueEnd;
    const std::string_view prefix = original.substr(0, valueBegin);
    const std::string_view suffix = original.substr(valueEnd);
    return now.size() >= prefix.size() + suffix.size() && now.starts_with(prefix) && now.ends_with(suffix);
}

// Whether the original line is still there as now: unchanged, with a new value, or, as the last line
// of the file, with the line break it lacked.
bool Survives(std::string_view original, std::string_view now) {
    const bool gainedBreak = Content(original).size() == original.size() && Content(now).size() < now.size();
    const std::string_view nowKept = gainedBreak ? Content(now) : now;
    return original == nowKept || IsSameKeyLineWithNewValue(original, nowKept);
}

// What a value written into the file reads back as. On Windows a file without the UTF-8 byte order mark
// is text in the system code page, as the system's own profile routines keep it, and characters beyond
// the code page read back as the code page's stand-in.
QString ExpectedText(QString value, [[maybe_unused]] bool utf8File) {
#ifdef Q_OS_WIN
    if (!utf8File)
        value = QString::fromLocal8Bit(value.toLocal8Bit());
#endif
    qsizetype cut = value.size();
    for (const QChar breakChar : {QChar(u'\n'), QChar(u'\r')})
        if (const qsizetype at = value.indexOf(breakChar); at >= 0 && at < cut)
            cut = at;
    QString text = value.left(cut);
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove(0, 1);
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
    if (text.size() > ui::kProfileTextLimit) {
        text.truncate(ui::kProfileTextLimit);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

std::string ReadBytes(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    Bytes input(data, size);
    FakeWindow window;
    window.top = Int32(input);
    window.left = Int32(input);
    window.width = Int32(input);
    window.height = Int32(input);
    AppSettings settings;
    settings.calcType = Int32(input);
    settings.showDots = Int32(input);
    settings.hideMobs = Int32(input);
    settings.showAdvanced = Int32(input);
    const std::string_view pathBytes = input.Piece(4096);
    window.path = QString::fromUtf8(pathBytes.data(), static_cast<qsizetype>(pathBytes.size()));
    const std::string_view original = input.Rest();

    const auto file = Scratch::Get().Write("options.ini", original);
    const QString path = QString::fromStdString(file.string());
    try {
        ui::SaveSettings(path, window, settings);
    } catch (const ui::ProfileWriteError&) {
        FUZZ_CHECK(false, "a settings file that can be read can be written");
    }

    const ui::ProfileFile profile(path);
    const std::int32_t written[] = {
        window.top,        window.left,       window.width,      window.height,        0,
        settings.calcType, settings.showDots, settings.hideMobs, settings.showAdvanced};
    for (std::size_t i = 0; i < ui::kSettingsKeys.size(); ++i) {
        const ui::SettingsKey key = ui::kSettingsKeys[i];
        if (key.key == ui::kPathKey.key)
            continue;
        FUZZ_CHECK_EQ(profile.ReadInteger(key.section, key.key, -7), written[i], "an integer reads back");
    }
    const QString expectedPath = ExpectedText(window.path, original.starts_with("\xEF\xBB\xBF"));
    FUZZ_CHECK_EQ(
        profile.ReadString(ui::kPathKey.section, ui::kPathKey.key, QStringLiteral("?")).toStdString(),
        expectedPath.toStdString(), "the path reads back");

    FakeWindow loaded;
    AppSettings loadedSettings;
    ui::LoadSettings(path, loaded, loadedSettings);
    FUZZ_CHECK_EQ(loaded.top, window.top);
    FUZZ_CHECK_EQ(loaded.left, window.left);
    FUZZ_CHECK_EQ(loaded.width, std::max(ui::kMainWindowMinWidth, window.width));
    FUZZ_CHECK_EQ(loaded.height, std::max(ui::kMainWindowMinHeight, window.height));
    FUZZ_CHECK_EQ(loaded.path.toStdString(), expectedPath.toStdString());
    FUZZ_CHECK_EQ(loadedSettings.calcType, settings.calcType);
    FUZZ_CHECK_EQ(loadedSettings.showDots, settings.showDots);
    FUZZ_CHECK_EQ(loadedSettings.hideMobs, settings.hideMobs);
    FUZZ_CHECK_EQ(loadedSettings.showAdvanced, settings.showAdvanced);

    // Every line of the original survives in order; the writer only adds its own lines. The byte order
    // mark at the start of a UTF-8 file marks the file, not its first line: it stays where it is, and
    // the lines are compared after it.
    const std::string now = ReadBytes(path);
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const bool bom = original.starts_with(kBom);
    FUZZ_CHECK_EQ(std::string_view(now).starts_with(kBom), bom, "the byte order mark stays as it was");
    const std::vector<std::string_view> before = LinesOf(original.substr(bom ? kBom.size() : 0));
    const std::vector<std::string_view> after = LinesOf(std::string_view(now).substr(bom ? kBom.size() : 0));
    std::size_t kept = 0;
    for (const std::string_view line : after) {
        if (kept < before.size() && Survives(before[kept], line)) {
            ++kept;
            continue;
        }
        FUZZ_CHECK(IsWrittenLine(line), "a line of the original was lost or changed");
    }
    FUZZ_CHECK_EQ(kept, before.size(), "a line of the original was lost");

    // Writing the same values again changes nothing.
    ui::SaveSettings(path, window, settings);
    FUZZ_CHECK_EQ(ReadBytes(path), now, "a second save of the same values changes no byte");
    return 0;
}
