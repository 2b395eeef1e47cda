// A range of days by date key (year * 10000 + month * 100 + day), both ends included: the
// time report, the projects balance and Delete by Range read their records through it.
#pragma once

#include <cstdint>

namespace qv {

// Whether the first day comes no later than the last: a single day is a range, a first day
// after the last is refused.
constexpr bool IsOrderedRange(uint32_t firstKey, uint32_t lastKey) {
    return firstKey <= lastKey;
}

// Whether the day of the key lies in the range, the first and the last day included.
constexpr bool DayInRange(uint32_t key, uint32_t firstKey, uint32_t lastKey) {
    return key >= firstKey && key <= lastKey;
}

}  // namespace qv
