// Unicode character classes and case mapping (ICU), and the single-byte ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Letter (alphabetic class) or decimal digit, by the Unicode character classification.
// A surrogate pair is judged as the one character it encodes.
bool IsLetterOrDigitAt(std::u16string_view text, size_t index);

std::u16string ToLowerText(std::u16string_view text);
// The upper-case form of the first character (a whole surrogate pair), the rest unchanged.
std::u16string UpperFirstCharacter(std::u16string_view text);

// Case-insensitive comparison for the drop-down lists' searches (full case folding).
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);
// Collation-free ordering used by sorted drop-down lists and list boxes: case-insensitive,
// ties broken by code units so the order is total.
int CompareNoCase(std::u16string_view a, std::u16string_view b);

// Windows-1252: exactly one byte per UTF-16 code unit, '?' for what it cannot represent
// (a surrogate pair gives two).
std::string ToAnsiCodePage(std::u16string_view text);

}  // namespace qv
