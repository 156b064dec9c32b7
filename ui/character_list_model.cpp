#include "character_list_model.h"

#include "cp1251_text.h"

namespace tally::ui {
namespace {

// The total-damage field has no layout width of its own; this is the width it gets.
constexpr int kDefaultNumberWidth = 64;

std::vector<GridColumn> Columns() {
    return {
        {"CharClass", QStringLiteral("Класс"), 30, CellDisplay::Icon, 0},
        {"CharName", QStringLiteral("Персонаж"), 205, CellDisplay::Text, static_cast<int>(kNameWidth)},
        {"DmgAll", QStringLiteral("Урон|Обший"), kDefaultNumberWidth, CellDisplay::Integer, 0},
        {"CharDamage", QStringLiteral("Урон|Скилы"), 59, CellDisplay::Integer, 0},
        {"CharDots", QStringLiteral("Урон|Доты"), 50, CellDisplay::Integer, 0},
        {"Critical", QStringLiteral("% крита"), 50, CellDisplay::Percent, 0},
    };
}

}  // namespace

CharacterListModel::CharacterListModel(CharacterTable& mtList, QObject* parent)
    : TableModel(mtList, Columns(), parent) {}

QVariant CharacterListModel::rowValue(const CharacterRow& row, int section) const {
    switch (section) {
        case CharClassColumn:
            return qlonglong{row.charClass};
        case CharNameColumn:
            return FromCp1251(row.charName);
        case DmgAllColumn:
            return qlonglong{row.dmgAll};
        case CharDamageColumn:
            return qlonglong{row.charDamage};
        case CharDotsColumn:
            return qlonglong{row.charDots};
        case CriticalColumn:
            return row.critical ? QVariant(qlonglong{*row.critical}) : QVariant();
        default:
            return {};
    }
}

}  // namespace tally::ui
