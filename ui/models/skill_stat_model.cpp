#include "models/skill_stat_model.h"

#include <optional>
#include <utility>

#include "models/cp1251_text.h"

namespace tally::ui {
namespace {

std::vector<GridColumn> Columns() {
    return {
        {"Char", QStringLiteral("Персонаж"), 149, CellDisplay::Text, static_cast<int>(kNameWidth)},
        {"Class", QStringLiteral("Кл."), 45, CellDisplay::Icon, 0},
        {"Skill", QStringLiteral("Скилл"), 213, CellDisplay::Text, static_cast<int>(kNameWidth)},
        {"AttCnt", QStringLiteral("Атак"), 54, CellDisplay::Integer, 0},
        {"CritCnt", QStringLiteral("Критов"), 46, CellDisplay::Integer, 0},
        {"AttDmg", QStringLiteral("Урон"), 75, CellDisplay::Integer, 0},
    };
}

template <class T>
QVariant Optional(const std::optional<T>& value) {
    return value ? QVariant(qlonglong{*value}) : QVariant();
}

// Stores the typed text in an integer field of type T: empty text empties the field. False, and the
// field stays as it was, when the text is not a decimal integer that T can hold.
template <class T>
bool Assign(std::optional<T>& field, const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        field.reset();
        return true;
    }
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok, 10);
    if (!ok || !std::in_range<T>(number))
        return false;
    field = static_cast<T>(number);
    return true;
}

}  // namespace

SkillStatModel::SkillStatModel(SkillStatTable& mtAdv, QObject* parent)
    : TableModel(mtAdv, Columns(), parent) {}

QVariant SkillStatModel::rowValue(const SkillStatRow& row, int section) const {
    switch (section) {
        case CharColumn:
            return FromCp1251(row.charName);
        case ClassColumn:
            return Optional(row.skillClass);
        case SkillColumn:
            return FromCp1251(row.skill);
        case AttCntColumn:
            return Optional(row.attCnt);
        case CritCntColumn:
            return Optional(row.critCnt);
        case AttDmgColumn:
            return Optional(row.attDmg);
        default:
            return {};
    }
}

Qt::ItemFlags SkillStatModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags base = TableModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsEditable : base;
}

bool SkillStatModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const std::size_t pos = position(index.row());
    SkillStatRow row = table().At(pos);
    const QString typed = value.toString();
    bool accepted = true;
    switch (index.column()) {
        case CharColumn:
            row.charName = ToCp1251(typed);
            break;
        case SkillColumn:
            row.skill = ToCp1251(typed);
            break;
        case ClassColumn:
            accepted = Assign(row.skillClass, typed);
            break;
        case AttCntColumn:
            accepted = Assign(row.attCnt, typed);
            break;
        case CritCntColumn:
            accepted = Assign(row.critCnt, typed);
            break;
        case AttDmgColumn:
            accepted = Assign(row.attDmg, typed);
            break;
        default:
            accepted = false;
    }
    if (!accepted)
        return false;
    // Set cuts the texts to their width and tells every view of the table, this one included.
    table().Set(pos, std::move(row));
    return true;
}

bool SkillStatModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || !isLinked() || row < 0 || row > rowCount() || count < 1)
        return false;
    std::size_t pos = row < rowCount() ? position(row) : table().RowCount();
    for (int i = 0; i < count; ++i)
        table().Insert(pos++, SkillStatRow{});
    return true;
}

bool SkillStatModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || !isLinked() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    // From the last to the first, so that the positions still to remove stay where they are.
    for (int i = row + count - 1; i >= row; --i)
        table().Remove(position(i));
    return true;
}

}  // namespace tally::ui
