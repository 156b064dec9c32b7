#include "app/app_theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace tally::ui {

void ApplyAquaLightSlate(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QColor window(0xE6, 0xEB, 0xF2);   // light slate
    const QColor button(0xD5, 0xDF, 0xEB);   // a shade deeper for raised surfaces
    const QColor accent(0x4A, 0x6F, 0x9C);   // slate blue for selection and links
    const QColor text(0x1E, 0x27, 0x33);     // dark slate text
    const QColor tooltip(0xFF, 0xFB, 0xE6);  // the pale cream of tooltips and alternate rows
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xEE, 0xF2, 0xF7));
    palette.setColor(QPalette::ToolTipBase, tooltip);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Midlight, QColor(0xEE, 0xF2, 0xF7));
    palette.setColor(QPalette::Mid, QColor(0xA9, 0xB7, 0xC8));
    palette.setColor(QPalette::Dark, QColor(0x7D, 0x8D, 0xA1));
    palette.setColor(QPalette::Shadow, QColor(0x4B, 0x57, 0x66));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8A, 0x96, 0xA5));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8A, 0x96, 0xA5));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8A, 0x96, 0xA5));
    application.setPalette(palette);
}

}  // namespace tally::ui
