#include "app/error_text.h"

namespace tally::ui {

namespace {
constexpr char kFullStop = '.';
}

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > kFullStop)
        return message + QChar(kFullStop);
    return message;
}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    // Every byte of a multi-byte UTF-8 character lies above 0x7F, so testing the last byte answers for the
    // last character.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > kFullStop)
        text += kFullStop;
    return text;
}

}  // namespace tally::ui
