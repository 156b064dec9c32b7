#pragma once
// The reference-list window's models: the skill list mtSkills and the DoT list mtDots, shown in the
// same three columns. The skill list has no last user, so its third column stays empty.

#include "models/table_model.h"
#include "tallyscope/reference_tables.h"

namespace tally::ui {

enum ReferenceListColumn { ClassNoColumn, SkillNameColumn, LastUsedColumn, ReferenceListColumnCount };

std::vector<GridColumn> ReferenceListColumns();

class SkillListModel final : public TableModel<SkillRow> {
  public:
    explicit SkillListModel(SkillTable& mtSkills, QObject* parent = nullptr);

  protected:
    QVariant rowValue(const SkillRow& row, int section) const override;
};

class DotListModel final : public TableModel<DotRow> {
  public:
    explicit DotListModel(DotTable& mtDots, QObject* parent = nullptr);

  protected:
    QVariant rowValue(const DotRow& row, int section) const override;
};

}  // namespace tally::ui
