#pragma once
// The visual theme "Aqua Light Slate", applied to all windows before any is created: the Fusion
// style with a light slate-blue palette and matching accents.

class QApplication;

namespace tally::ui {

void ApplyAquaLightSlate(QApplication& application);

}  // namespace tally::ui
