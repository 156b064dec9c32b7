#pragma once
// A lookup from a stored text key to the positions of the rows that hold it, in table order. It
// returns exactly what a full scan comparing the stored (cut) value with the search text returns:
// stored values never exceed their width, so a longer search text is never found.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tally {

class TextIndex {
  public:
    using Positions = std::vector<std::uint32_t>;

    bool IsCurrent(std::uint64_t layoutVersion) const { return built_ && version_ == layoutVersion; }
    void Reset(std::uint64_t layoutVersion) {
        map_.clear();
        version_ = layoutVersion;
        built_ = true;
    }
    void Add(std::string_view key, std::size_t pos) {
        auto it = map_.find(key);
        if (it == map_.end())
            it = map_.emplace(std::string(key), Positions{}).first;
        it->second.push_back(static_cast<std::uint32_t>(pos));
    }
    // Rebuilds the index from the table when its rows moved since the index was built.
    template <class TableT, class KeyOf>
    void Follow(const TableT& table, KeyOf&& keyOf) {
        if (IsCurrent(table.LayoutVersion()))
            return;
        Reset(table.LayoutVersion());
        for (std::size_t pos = 0; pos < table.RowCount(); ++pos)
            Add(keyOf(table.At(pos)), pos);
    }
    // Takes in a row just added at the end; a stale index is rebuilt on its next use anyway.
    template <class TableT, class KeyOf>
    void FollowAppend(const TableT& table, std::size_t pos, KeyOf&& keyOf) {
        if (IsCurrent(table.LayoutVersion()))
            Add(keyOf(table.At(pos)), pos);
    }
    const Positions& Find(std::string_view key) const {
        const auto it = map_.find(key);
        return it == map_.end() ? kNone : it->second;
    }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    static inline const Positions kNone{};
    std::unordered_map<std::string, Positions, Hash, std::equal_to<>> map_;
    std::uint64_t version_ = 0;
    bool built_ = false;
};

}  // namespace tally
