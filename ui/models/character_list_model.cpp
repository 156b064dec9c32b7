#include "models/character_list_model.h"

#include "models/cp1251_text.h"
#include "tallyscope/fights.h"

namespace tally::ui {
namespace {

// The total-damage field has no layout width of its own; this is the width it gets.
constexpr int kDefaultNumberWidth = 64;
// Damage per second needs about as many digits as the DoT damage.
constexpr int kDpsWidth = 50;

std::vector<GridColumn> Columns() {
    // The damage per second stands under the same upper title as the damage columns, so that "Урон"
    // stays one cell over every damage column shown.
    return {
        {"CharClass", QStringLiteral("Класс"), 30, CellDisplay::Icon, 0},
        {"CharName", QStringLiteral("Персонаж"), 205, CellDisplay::Text, static_cast<int>(kNameWidth)},
        {"DmgAll", QStringLiteral("Урон|Обший"), kDefaultNumberWidth, CellDisplay::Integer, 0},
        {CharacterListModel::kDpsField, QStringLiteral("Урон|ДПС"), kDpsWidth, CellDisplay::Integer, 0},
        {"CharDamage", QStringLiteral("Урон|Скилы"), 59, CellDisplay::Integer, 0},
        {"CharDots", QStringLiteral("Урон|Доты"), 50, CellDisplay::Integer, 0},
        {"Critical", QStringLiteral("% крита"), 50, CellDisplay::Percent, 0},
    };
}

}  // namespace

CharacterListModel::CharacterListModel(CharacterTable& mtList, QObject* parent)
    : TableModel(mtList, Columns(), parent) {}

void CharacterListModel::setCombatSeconds(std::optional<std::int64_t> seconds) {
    if (seconds == combatSeconds_)
        return;
    combatSeconds_ = seconds;
    if (rowCount() > 0)
        emit dataChanged(index(0, DpsColumn), index(rowCount() - 1, DpsColumn));
}

QVariant CharacterListModel::rowValue(const CharacterRow& row, int section) const {
    switch (section) {
        case CharClassColumn:
            return qlonglong{row.charClass};
        case CharNameColumn:
            return FromCp1251(row.charName);
        case DmgAllColumn:
            return qlonglong{row.dmgAll};
        case DpsColumn:
            if (!combatSeconds_ || *combatSeconds_ <= 0)
                return {};
            return qlonglong{DamagePerSecond(row.dmgAll, *combatSeconds_)};
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
