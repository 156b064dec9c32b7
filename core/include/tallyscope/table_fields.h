#pragma once
// Field descriptions of a table row: name, kind and ordering, as the sort specs name them.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tallyscope/codepage.h"

namespace tally {

enum class FieldKind { Integer, Text, Fixed4 };

template <class Row>
struct FieldInfo {
    std::string_view name;
    FieldKind kind;
    // Ascending order: <0, 0 or >0. An empty value comes before every other value.
    int (*compare)(const Row&, const Row&);
};

// Orderings of the field types. An empty value (std::nullopt, or the empty text) is the smallest.
template <class T>
int CompareValues(const std::optional<T>& a, const std::optional<T>& b) {
    if (!a || !b)
        return (a ? 1 : 0) - (b ? 1 : 0);
    return *a < *b ? -1 : (*b < *a ? 1 : 0);
}
template <class T>
int CompareValues(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
inline int CompareValues(const std::string& a, const std::string& b) {
    return CompareCp1251(a, b);
}

template <class Row>
struct SortKey {
    const FieldInfo<Row>* field;
    bool descending;
};

// Parses "Field [ASC|DESC]" items separated by "," or ";"; ASC and DESC in any letter case.
template <class Row>
std::vector<SortKey<Row>> ParseSortSpec(std::string_view spec) {
    std::vector<SortKey<Row>> keys;
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    auto upper = [](std::string_view s) {
        std::string u(s);
        for (char& c : u)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return u;
    };
    while (!spec.empty()) {
        const std::size_t sep = spec.find_first_of(",;");
        std::string_view item = spec.substr(0, sep);
        spec = sep == std::string_view::npos ? std::string_view{} : spec.substr(sep + 1);
        while (!item.empty() && isBlank(item.front()))
            item.remove_prefix(1);
        while (!item.empty() && isBlank(item.back()))
            item.remove_suffix(1);
        if (item.empty())
            continue;
        bool descending = false;
        const std::size_t blank = item.find_last_of(" \t");
        if (blank != std::string_view::npos) {
            const std::string direction = upper(item.substr(blank + 1));
            if (direction == "ASC" || direction == "DESC") {
                descending = direction == "DESC";
                item = item.substr(0, blank);
                while (!item.empty() && isBlank(item.back()))
                    item.remove_suffix(1);
            }
        }
        const FieldInfo<Row>* found = nullptr;
        for (const auto& field : Row::Fields())
            if (upper(field.name) == upper(item))
                found = &field;
        if (!found)
            throw std::invalid_argument("Field '" + std::string(item) + "' not found");
        keys.push_back({found, descending});
    }
    return keys;
}

}  // namespace tally
