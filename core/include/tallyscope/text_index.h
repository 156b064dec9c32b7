#pragma once
// A lookup from a stored text key to the positions of the rows that hold it, in table order. It
// returns exactly what a full scan comparing the stored (cut) value with the search text returns:
// stored values never exceed their width, so a longer search text is never found.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tally {

class TextIndex;

// A text to look up with its hash, worked out once (TextIndex::Hash) for all the indexes it is looked
// up in.
struct HashedText {
    std::string_view text;
    std::size_t hash = 0;
};

class TextIndex {
  public:
    using Positions = std::vector<std::uint32_t>;

    bool IsCurrent(std::uint64_t layoutVersion) const { return built_ && version_ == layoutVersion; }
    void Reset(std::uint64_t layoutVersion) {
        slots_.assign(kInitialSlots, Slot{});
        used_ = 0;
        version_ = layoutVersion;
        built_ = true;
    }
    void Add(std::string_view key, std::size_t pos) { Add(key, Hash(key), pos); }
    void Add(std::string_view key, std::size_t hash, std::size_t pos) {
        if ((used_ + 1) * 4 > slots_.size() * 3)
            Grow();
        Slot& slot = slots_[SlotIndex(key, hash)];
        if (!slot.occupied) {
            slot.occupied = true;
            slot.hash = hash;
            slot.key.assign(key);
            ++used_;
        }
        slot.positions.push_back(static_cast<std::uint32_t>(pos));
    }
    const Positions& Find(std::string_view key) const { return Find(key, Hash(key)); }
    const Positions& Find(const HashedText& key) const { return Find(key.text, key.hash); }
    // The same, with the key's hash already worked out (Hash), so that a key looked up in several
    // indexes is hashed once.
    const Positions& Find(std::string_view key, std::size_t hash) const {
        if (slots_.empty())
            return kNone;
        const Slot& slot = slots_[SlotIndex(key, hash)];
        return slot.occupied ? slot.positions : kNone;
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
    // The same with the hash of each key worked out by hashOf(row).
    template <class TableT, class KeyOf, class HashOf>
    void Follow(const TableT& table, KeyOf&& keyOf, HashOf&& hashOf) {
        if (IsCurrent(table.LayoutVersion()))
            return;
        Reset(table.LayoutVersion());
        for (std::size_t pos = 0; pos < table.RowCount(); ++pos)
            Add(keyOf(table.At(pos)), hashOf(table.At(pos)), pos);
    }
    template <class TableT, class KeyOf, class HashOf>
    void FollowAppend(const TableT& table, std::size_t pos, KeyOf&& keyOf, HashOf&& hashOf) {
        if (IsCurrent(table.LayoutVersion()))
            Add(keyOf(table.At(pos)), hashOf(table.At(pos)), pos);
    }
    // Takes in a row just added at the end; a stale index is rebuilt on its next use anyway.
    template <class TableT, class KeyOf>
    void FollowAppend(const TableT& table, std::size_t pos, KeyOf&& keyOf) {
        if (IsCurrent(table.LayoutVersion()))
            Add(keyOf(table.At(pos)), pos);
    }

  private:
    // Open addressing over a power-of-two number of slots: a lookup costs one hash and a mask, no
    // division, which matters at several lookups per log line.
    struct Slot {
        std::string key;
        Positions positions;
        std::size_t hash = 0;
        bool occupied = false;
    };
    static constexpr std::size_t kInitialSlots = 64;

  public:
    static HashedText Hashed(std::string_view key) { return {key, Hash(key)}; }
    // The hash of a pair of texts from the hashes of the two.
    static std::size_t PairHash(std::size_t first, std::size_t second) {
        return first * 0x9E3779B97F4A7C15ull ^ (second + (first >> 17));
    }
    // A short key's hash, eight bytes at a time: keys are names and skills of a few dozen bytes, for
    // which a general-purpose string hash spends more time setting up than hashing.
    static std::size_t Hash(std::string_view key) {
        constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
        std::uint64_t h = key.size() * kMultiplier;
        const char* p = key.data();
        std::size_t n = key.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            h = (h ^ chunk) * kMultiplier;
            h ^= h >> 29;
        }
        if (n > 0) {
            std::uint64_t chunk = 0;
            std::memcpy(&chunk, p, n);
            h = (h ^ chunk) * kMultiplier;
            h ^= h >> 29;
        }
        h *= kMultiplier;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }

  private:
    // The slot holding key, or the free slot where it would go.
    std::size_t SlotIndex(std::string_view key, std::size_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (!slot.occupied || (slot.hash == hash && slot.key == key))
                return i;
        }
    }
    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.size() * 2, Slot{});
        for (Slot& slot : old) {
            if (!slot.occupied)
                continue;
            Slot& target = slots_[SlotIndex(slot.key, slot.hash)];
            target = std::move(slot);
        }
    }

    static inline const Positions kNone{};
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::uint64_t version_ = 0;
    bool built_ = false;
};

}  // namespace tally
