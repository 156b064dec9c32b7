#pragma once
// The fonts of the windows' layouts: a family that is used where it is installed (elsewhere the
// window keeps the system's family) and a character height in layout pixels.

#include <QFont>
#include <QFontDatabase>

#include "layout_scale.h"

namespace tally::ui {

inline QFont LayoutFont(QFont base, const QString& family, int layoutPixelHeight) {
    if (QFontDatabase::hasFamily(family))
        base.setFamilies({family});
    base.setPixelSize(Scaled(layoutPixelHeight));
    return base;
}

}  // namespace tally::ui
