#pragma once
// The tables keep their texts as Windows-1251 bytes; the windows show and edit them as QString.

#include <QString>
#include <string>
#include <string_view>

#include "tallyscope/codepage.h"

namespace tally::ui {

inline QString FromCp1251(std::string_view bytes) {
    return QString::fromStdU16String(DecodeCp1251(bytes));
}

inline std::string ToCp1251(const QString& text) {
    return EncodeCp1251(text.toStdU16String());
}

}  // namespace tally::ui
