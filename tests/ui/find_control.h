#pragma once
// Finds a window's control by its object name, as the front-end tests look up what they click.

#include <QWidget>

namespace tally::ui::test {

template <class Control = QWidget>
Control* Find(QWidget* window, const char* name) {
    auto* control = window->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qWarning("no control %s", name);
    return control;
}

}  // namespace tally::ui::test
