// Small helpers for the program's UTF-16 texts: absent texts, numbers, trimming, UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// A text that may be absent; an absent text is distinct from an empty one.
using Text = std::optional<std::u16string>;

// "%d" of a signed number.
std::u16string FormatDecimal(int64_t value);

// The standard wide-text-to-long reading: leading white space, an optional sign, then decimal
// digits up to the first other character. No digits gives 0. Long runs of digits saturate at
// the limits of a 32-bit long, as on the handheld.
int32_t ParseLong(std::u16string_view text);

// Removes leading and trailing blanks (character 32 only; tabs stay).
std::u16string TrimBlanks(std::u16string_view text);

// UTF-8 <-> UTF-16. Invalid input is replaced by U+FFFD; nothing throws.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

}  // namespace qv
