// The three comparisons every sort uses: 1, -1 or 0 for greater, smaller or equal.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

constexpr int CompareUnsigned(uint32_t a, uint32_t b) {
    return a > b ? 1 : a < b ? -1 : 0;
}
constexpr int CompareSigned(int32_t a, int32_t b) {
    return a > b ? 1 : a < b ? -1 : 0;
}
// Code unit by code unit, as wcscmp: every capital before every small letter.
constexpr int CompareText(std::u16string_view a, std::u16string_view b) {
    int c = a.compare(b);
    return c > 0 ? 1 : c < 0 ? -1 : 0;
}

}  // namespace qv
