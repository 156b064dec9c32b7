#pragma once
// A grid model over one in-memory table. While linked it follows the table through TableObserver and
// shows the rows that pass the table's row filter, in table order; unlinked (as it starts, until a
// grid's data link switches it on) it shows no rows. The model can be turned to another table of the
// same kind, so that a grid shows other results without losing its columns' places, widths and
// visibility.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "models/linked_table_model.h"
#include "tallyscope/table.h"

namespace tally::ui {

template <class Row>
class TableModel : public LinkedTableModel, private TableObserver {
  public:
    using TableType = Table<Row>;

    TableModel(TableType& table, std::vector<GridColumn> columns, QObject* parent)
        : LinkedTableModel(std::move(columns), parent), table_(&table) {}
    ~TableModel() override {
        if (isLinked())
            table_->RemoveObserver(this);
    }

    TableType& table() const { return *table_; }
    // Shows another table from now on, with its rows and its current row; the link keeps its state.
    void setTable(TableType& table) {
        if (&table == table_)
            return;
        beginResetModel();
        if (isLinked())
            detach();
        table_ = &table;
        if (isLinked())
            attach();
        endResetModel();
        emit currentRowChanged(currentRow());
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(positions_.size());
    }

    // The table position shown in a row of the model.
    std::size_t position(int row) const { return positions_[static_cast<std::size_t>(row)]; }
    // The row of the model showing a table position; -1 when the position is not shown.
    int rowOf(std::size_t pos) const {
        const auto it = std::lower_bound(positions_.begin(), positions_.end(), pos);
        return it != positions_.end() && *it == pos ? static_cast<int>(it - positions_.begin()) : -1;
    }

    int currentRow() const override {
        return isLinked() && table_->Current() != kNoRow ? rowOf(table_->Current()) : -1;
    }
    void setCurrentRow(int row) override {
        if (isLinked() && row >= 0 && row < rowCount())
            table_->SetCurrent(position(row));
    }

  protected:
    // The value of a field of a row, or an invalid QVariant when it has none.
    virtual QVariant rowValue(const Row& row, int section) const = 0;

    QVariant value(int row, int section) const override {
        return rowValue(table_->At(position(row)), section);
    }

    void attach() override {
        table_->AddObserver(this);
        Rebuild();
    }
    void detach() override {
        table_->RemoveObserver(this);
        positions_.clear();
    }

  private:
    void Rebuild() {
        positions_.clear();
        for (std::size_t pos = table_->FirstVisible(); pos != kNoRow; pos = table_->NextVisible(pos + 1))
            positions_.push_back(pos);
    }
    // The first entry of positions_ at or after a table position.
    std::vector<std::size_t>::iterator LowerBound(std::size_t pos) {
        return std::lower_bound(positions_.begin(), positions_.end(), pos);
    }

    void BeforeReset() override { beginResetModel(); }
    void AfterReset() override {
        Rebuild();
        endResetModel();
        emit currentRowChanged(currentRow());
    }

    void BeforeInsert(std::size_t pos, std::size_t count) override {
        pendingPos_ = pos;
        pendingCount_ = count;
    }
    void AfterInsert() override {
        // First the rows below the new ones move down, which the model's rows do not see; then the
        // new rows that pass the filter are inserted.
        const auto first = LowerBound(pendingPos_);
        for (auto it = first; it != positions_.end(); ++it)
            *it += pendingCount_;
        std::vector<std::size_t> added;
        for (std::size_t pos = pendingPos_; pos < pendingPos_ + pendingCount_; ++pos)
            if (table_->IsVisible(pos))
                added.push_back(pos);
        if (added.empty())
            return;
        const int row = static_cast<int>(first - positions_.begin());
        beginInsertRows({}, row, row + static_cast<int>(added.size()) - 1);
        positions_.insert(positions_.begin() + row, added.begin(), added.end());
        endInsertRows();
    }

    void BeforeRemove(std::size_t pos, std::size_t count) override {
        pendingPos_ = pos;
        pendingCount_ = count;
        const auto first = LowerBound(pos);
        const auto last = LowerBound(pos + count);
        removing_ = first != last;
        if (removing_)
            beginRemoveRows({}, static_cast<int>(first - positions_.begin()),
                            static_cast<int>(last - positions_.begin()) - 1);
    }
    void AfterRemove() override {
        const auto first = positions_.erase(LowerBound(pendingPos_), LowerBound(pendingPos_ + pendingCount_));
        for (auto it = first; it != positions_.end(); ++it)
            *it -= pendingCount_;
        if (removing_)
            endRemoveRows();
        removing_ = false;
    }

    void RowChanged(std::size_t pos) override {
        // A changed row may have entered or left the row filter.
        const auto it = LowerBound(pos);
        const int row = static_cast<int>(it - positions_.begin());
        const bool shown = it != positions_.end() && *it == pos;
        const bool visible = table_->IsVisible(pos);
        if (shown && visible) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        } else if (visible) {
            beginInsertRows({}, row, row);
            positions_.insert(it, pos);
            endInsertRows();
        } else if (shown) {
            beginRemoveRows({}, row, row);
            positions_.erase(it);
            endRemoveRows();
        }
    }

    void CurrentChanged(std::size_t /*pos*/) override { emit currentRowChanged(currentRow()); }

    TableType* table_;                    // never null
    std::vector<std::size_t> positions_;  // the table positions shown, in table order
    std::size_t pendingPos_ = 0;
    std::size_t pendingCount_ = 0;
    bool removing_ = false;
};

}  // namespace tally::ui
