#pragma once
// Window fonts are drawn for the 120-DPI layout like every other size: the character height scales with
// the display. Where the named family is missing, a face of the same widths stands in, so that the
// captions still fit the layout's controls; failing those, the system's ordinary sans-serif face.

#include <QFont>
#include <QString>
#include <QStringList>

#include "app/layout_scale.h"

namespace tally::ui {

// On Windows "MS Sans Serif" is a bitmap font that Qt does not draw; its TrueType successor, which
// Windows itself puts in its place, is "Microsoft Sans Serif". "Tahoma" is there by its own name.
inline QString WindowsFamily(const QString& family) {
#ifdef Q_OS_WIN
    if (family == QStringLiteral("MS Sans Serif"))
        return QStringLiteral("Microsoft Sans Serif");
#endif
    return family;
}

inline QFont LayoutFont(const QString& family, int characterHeight, bool bold = false) {
    [[maybe_unused]] static const bool substitutesSet = [] {
        const QStringList narrowSans{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                     QStringLiteral("Nimbus Sans")};
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), narrowSans);
        QFont::insertSubstitutions(QStringLiteral("Tahoma"), narrowSans);
        // Wine has Tahoma but not Microsoft Sans Serif.
        QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"),
                                   QStringList{QStringLiteral("Tahoma")} + narrowSans);
        return true;
    }();
    QFont font(WindowsFamily(family));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(Scaled(characterHeight));
    font.setBold(bold);
    return font;
}

}  // namespace tally::ui
