#pragma once
// The text of the application-wide error box: whatever error escapes an event handler is shown with the
// application title as caption.

#include <QString>
#include <string>
#include <string_view>

namespace tally::ui {

inline constexpr char kApplicationTitle[] = "Aion Tallyscope";

// The message with a full stop appended when its last character's code lies above that of the full stop
// (so "…log" gains one, while "….", "…)" or "…!" keep their ending).
QString ErrorBoxText(const QString& message);
// The same for a UTF-8 message, such as the what() of an error.
std::string ErrorBoxText(std::string_view message);

}  // namespace tally::ui
