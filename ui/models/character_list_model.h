#pragma once
// The main grid's model over mtList: class icon, name, the total damage and the damage per second,
// the skill and DoT damage, and the critical rate.

#include <cstdint>
#include <optional>

#include "models/table_model.h"
#include "tallyscope/result_tables.h"

namespace tally::ui {

class CharacterListModel final : public TableModel<CharacterRow> {
  public:
    // The columns in layout order.
    enum Column {
        CharClassColumn,
        CharNameColumn,
        DmgAllColumn,
        DpsColumn,
        CharDamageColumn,
        CharDotsColumn,
        CriticalColumn,
        ColumnCount
    };

    // The damage-per-second column has no field of its own: it is DmgAll over the time in combat of the
    // table shown. Its title sorts by this field name.
    static constexpr std::string_view kDpsField = "DPS";

    explicit CharacterListModel(CharacterTable& mtList, QObject* parent = nullptr);

    // The seconds in combat that the damage per second divides DmgAll by; none, or 0, leaves the
    // column empty.
    std::optional<std::int64_t> combatSeconds() const { return combatSeconds_; }
    void setCombatSeconds(std::optional<std::int64_t> seconds);

  protected:
    QVariant rowValue(const CharacterRow& row, int section) const override;

  private:
    std::optional<std::int64_t> combatSeconds_;
};

}  // namespace tally::ui
