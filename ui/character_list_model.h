#pragma once
// The main grid's model over mtList: class icon, name, the three damage totals and the critical rate.

#include "table_model.h"
#include "tallyscope/result_tables.h"

namespace tally::ui {

class CharacterListModel final : public TableModel<CharacterRow> {
  public:
    // The columns in layout order.
    enum Column {
        CharClassColumn,
        CharNameColumn,
        DmgAllColumn,
        CharDamageColumn,
        CharDotsColumn,
        CriticalColumn,
        ColumnCount
    };

    explicit CharacterListModel(CharacterTable& mtList, QObject* parent = nullptr);

  protected:
    QVariant rowValue(const CharacterRow& row, int section) const override;
};

}  // namespace tally::ui
