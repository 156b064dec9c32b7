#pragma once
// An in-memory table: an ordered list of rows with named, typed fields. Rows added by the upserts go
// to the end, sorting reorders the rows once (stable, by a sort spec such as "Char Asc,Skill Asc"),
// 8-bit text fields are cut at their width when stored, and a table may carry a row filter that
// traversals and views skip. Views follow a table through TableObserver.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/table_fields.h"

namespace tally {

// Receives every change of a table. Positions are positions in the whole table, hidden rows included.
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    virtual void BeforeReset() {}
    virtual void AfterReset() {}
    virtual void BeforeInsert(std::size_t /*pos*/, std::size_t /*count*/) {}
    virtual void AfterInsert() {}
    virtual void BeforeRemove(std::size_t /*pos*/, std::size_t /*count*/) {}
    virtual void AfterRemove() {}
    virtual void RowChanged(std::size_t /*pos*/) {}
    virtual void CurrentChanged(std::size_t /*pos*/) {}
};

inline constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

// Row must provide:
//   static const std::vector<FieldInfo<Row>>& Fields();   the fields, in table order
//   void Normalize();                                     cuts text fields at their width
//   static bool PassesFilter(const Row&);                 the row filter's test
template <class Row>
class Table {
  public:
    using RowType = Row;

    std::size_t RowCount() const { return rows_.size(); }
    const Row& At(std::size_t pos) const { return rows_[pos]; }
    const std::vector<Row>& Rows() const { return rows_; }

    // The row filter. Only the character table uses it; other tables never switch it on.
    bool IsFiltered() const { return filtered_; }
    void SetFiltered(bool on) {
        if (on == filtered_)
            return;
        Notify([](TableObserver& o) { o.BeforeReset(); });
        filtered_ = on;
        if (current_ != kNoRow && !IsVisible(current_))
            current_ = FirstVisible();
        Notify([](TableObserver& o) { o.AfterReset(); });
    }
    bool IsVisible(std::size_t pos) const { return !filtered_ || Row::PassesFilter(rows_[pos]); }
    std::size_t VisibleCount() const {
        if (!filtered_)
            return rows_.size();
        return static_cast<std::size_t>(std::count_if(rows_.begin(), rows_.end(), &Row::PassesFilter));
    }
    std::size_t FirstVisible() const { return NextVisible(0); }
    std::size_t LastVisible() const {
        for (std::size_t pos = rows_.size(); pos-- > 0;)
            if (IsVisible(pos))
                return pos;
        return kNoRow;
    }
    std::size_t NextVisible(std::size_t from) const {
        for (std::size_t pos = from; pos < rows_.size(); ++pos)
            if (IsVisible(pos))
                return pos;
        return kNoRow;
    }

    // The current row, shown highlighted by a view; kNoRow when there is none.
    std::size_t Current() const { return current_; }
    void SetCurrent(std::size_t pos) {
        if (pos == current_)
            return;
        current_ = pos;
        Notify([pos](TableObserver& o) { o.CurrentChanged(pos); });
    }

    void Append(Row row) {
        row.Normalize();
        const std::size_t pos = rows_.size();
        Notify([pos](TableObserver& o) { o.BeforeInsert(pos, 1); });
        rows_.push_back(std::move(row));
        OnAppended(pos);
        Notify([](TableObserver& o) { o.AfterInsert(); });
    }
    void Insert(std::size_t pos, Row row) {
        row.Normalize();
        Notify([pos](TableObserver& o) { o.BeforeInsert(pos, 1); });
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(row));
        if (current_ != kNoRow && current_ >= pos)
            ++current_;
        ++layoutVersion_;
        Notify([](TableObserver& o) { o.AfterInsert(); });
    }
    void Remove(std::size_t pos) {
        Notify([pos](TableObserver& o) { o.BeforeRemove(pos, 1); });
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(pos));
        if (current_ != kNoRow && (current_ > pos || current_ >= rows_.size()))
            current_ = rows_.empty() ? kNoRow : current_ - (current_ > pos ? 1 : 0);
        ++layoutVersion_;
        Notify([](TableObserver& o) { o.AfterRemove(); });
    }
    // Replaces the values of one row and saves it; the row does not move.
    void Set(std::size_t pos, Row row) {
        row.Normalize();
        rows_[pos] = std::move(row);
        ++layoutVersion_;
        Notify([pos](TableObserver& o) { o.RowChanged(pos); });
    }
    void Clear() {
        Notify([](TableObserver& o) { o.BeforeReset(); });
        rows_.clear();
        current_ = kNoRow;
        ++layoutVersion_;
        Notify([](TableObserver& o) { o.AfterReset(); });
    }

    // Sorts once by a sort spec; a table with no visible row stays as it is. Throws
    // std::invalid_argument for a field the table does not have.
    void Sort(std::string_view spec) {
        const auto keys = ParseSortSpec<Row>(spec);
        if (VisibleCount() == 0)
            return;
        Notify([](TableObserver& o) { o.BeforeReset(); });
        std::stable_sort(rows_.begin(), rows_.end(), [&keys](const Row& a, const Row& b) {
            for (const auto& key : keys) {
                const int c = key.field->compare(a, b);
                if (c != 0)
                    return key.descending ? c > 0 : c < 0;
            }
            return false;
        });
        ++layoutVersion_;
        current_ = FirstVisible();
        Notify([](TableObserver& o) { o.AfterReset(); });
    }

    void AddObserver(TableObserver* observer) { observers_.push_back(observer); }
    void RemoveObserver(TableObserver* observer) { std::erase(observers_, observer); }

    // Changes whenever rows move or key values may have changed, so that indexes know to rebuild.
    std::uint64_t LayoutVersion() const { return layoutVersion_; }

    // Updates values of one row in place and saves it; the row does not move. The update must not
    // change the values the table is looked up by (use Set for that).
    template <class Change>
    void Update(std::size_t pos, Change&& update) {
        update(rows_[pos]);
        Notify([pos](TableObserver& o) { o.RowChanged(pos); });
    }

  protected:
    virtual void OnAppended(std::size_t /*pos*/) {}
    ~Table() = default;

  private:
    template <class F>
    void Notify(F&& f) {
        for (auto* o : observers_)
            f(*o);
    }

    std::vector<Row> rows_;
    std::vector<TableObserver*> observers_;
    std::size_t current_ = kNoRow;
    std::uint64_t layoutVersion_ = 0;
    bool filtered_ = false;
};

}  // namespace tally
