#pragma once
// The text the help window shows: what the game client needs for the program to work, and how the two
// DoT crediting methods differ.

#include <QString>

namespace tally::ui {

// Nineteen lines joined by "\n", without a final line break.
QString HelpText();

}  // namespace tally::ui
