#pragma once
// The statistics window's model over mtAdv. Unlike the other grid models it can be edited: cells take
// new values (texts cut to their width, numbers checked against their field's range) and rows can be
// inserted and removed, all of which changes mtAdv.

#include "models/table_model.h"
#include "tallyscope/result_tables.h"

namespace tally::ui {

class SkillStatModel final : public TableModel<SkillStatRow> {
  public:
    enum Column {
        CharColumn,
        ClassColumn,
        SkillColumn,
        AttCntColumn,
        CritCntColumn,
        AttDmgColumn,
        ColumnCount
    };

    explicit SkillStatModel(SkillStatTable& mtAdv, QObject* parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Takes the text typed into a cell. An empty text empties a number field; a text that is not a
    // decimal integer within the field's range is refused and the row keeps its value.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Inserts empty rows in front of a row (at the end for row == rowCount()).
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

  protected:
    QVariant rowValue(const SkillStatRow& row, int section) const override;
};

}  // namespace tally::ui
