#pragma once
// Every event handler runs inside this guard: an error that escapes it is shown in the
// application-wide error box (its message, a full stop added where it ends in a letter, the
// application title as caption, an error icon, OK), and the program goes on with the next event.

#include <exception>
#include <string>

#include "app/error_text.h"
#include "app/modal_seams.h"

namespace tally::ui {

inline void ShowApplicationError(QWidget* parent, const std::string& message) {
    ShowMessageBox({parent, QString::fromUtf8(kApplicationTitle),
                    ErrorBoxText(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()))),
                    QMessageBox::Critical, false});
}

// Runs the handler; returns false when an error ended it.
template <class Handler>
bool Guarded(QWidget* parent, Handler&& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ShowApplicationError(parent, error.what());
    } catch (...) {
        ShowApplicationError(parent, "Unknown error");
    }
    return false;
}

}  // namespace tally::ui
