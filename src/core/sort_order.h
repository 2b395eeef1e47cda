// The direction of a list's sort, and its stored form in the settings.
#pragma once

#include <cstdint>

namespace qv {

// Every sortable list keeps one. NoneChosen is the direction before the user tapped a header;
// the list is then in ascending order, but no arrow shows it.
enum class SortOrder : uint32_t {
    Ascending = 0,
    Descending = 1,
    NoneChosen = 2,
};

// The settings keep the direction as the number above; any other number reads as none chosen.
constexpr SortOrder SortOrderFromStored(uint32_t stored) {
    switch (stored) {
        case 0:
            return SortOrder::Ascending;
        case 1:
            return SortOrder::Descending;
        default:
            return SortOrder::NoneChosen;
    }
}

constexpr uint32_t StoredSortOrder(SortOrder order) {
    return static_cast<uint32_t>(order);
}

}  // namespace qv
