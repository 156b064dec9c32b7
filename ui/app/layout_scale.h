#pragma once
// The window layouts are drawn for a display of 120 pixels per inch. Layout sizes and positions scale
// to the display's logical DPI (at 96 DPI a width of 425 becomes 340); sizes and offsets that the
// handlers set at run time are screen pixels and are used as given.

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tally::ui {

inline constexpr double kLayoutDpi = 120.0;

inline double LayoutScaleFactor() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi / kLayoutDpi;
}

inline int Scaled(int layoutPixels) {
    return static_cast<int>(std::lround(layoutPixels * LayoutScaleFactor()));
}

}  // namespace tally::ui
