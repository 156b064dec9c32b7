#include "models/reference_list_models.h"

#include "models/cp1251_text.h"

namespace tally::ui {

std::vector<GridColumn> ReferenceListColumns() {
    // The layout gives these columns no widths; these share the window about as the texts need.
    return {
        {"ClassNo", QStringLiteral("Класс"), 40, CellDisplay::Icon, 0},
        {"SkillName", QStringLiteral("Скилл"), 200, CellDisplay::Text, 0},
        {"LastUsed", QStringLiteral("Использовал"), 140, CellDisplay::Text, static_cast<int>(kLastUsedWidth)},
    };
}

SkillListModel::SkillListModel(SkillTable& mtSkills, QObject* parent)
    : TableModel(mtSkills, ReferenceListColumns(), parent) {}

QVariant SkillListModel::rowValue(const SkillRow& row, int section) const {
    switch (section) {
        case ClassNoColumn:
            return qlonglong{row.classNo};
        case SkillNameColumn:
            return FromCp1251(row.skillName);
        default:
            return {};
    }
}

DotListModel::DotListModel(DotTable& mtDots, QObject* parent)
    : TableModel(mtDots, ReferenceListColumns(), parent) {}

QVariant DotListModel::rowValue(const DotRow& row, int section) const {
    switch (section) {
        case ClassNoColumn:
            return qlonglong{row.classNo};
        case SkillNameColumn:
            return FromCp1251(row.skillName);
        case LastUsedColumn:
            return FromCp1251(row.lastUsed);
        default:
            return {};
    }
}

}  // namespace tally::ui
