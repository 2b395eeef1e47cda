// Small helpers for the program's UTF-16 texts: absent texts, numbers, trimming, UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// A text that may be absent; an absent text is distinct from an empty one.
using Text = std::optional<std::u16string>;

// A short text the program builds (a date, a duration), kept inside its owner: present or
// absent like a Text, without a heap string of its own. Longer texts are cut at kCapacity.
class InlineText {
  public:
    static constexpr size_t kCapacity = 15;

    InlineText() = default;  // absent
    explicit InlineText(std::u16string_view text) { Assign(text); }
    void Assign(std::u16string_view text) {
        size_ = static_cast<uint8_t>(text.size() < kCapacity ? text.size() : kCapacity);
        text.copy(chars_, size_);
    }
    // Appends to a present text; the empty text when absent.
    void Append(std::u16string_view text) {
        if (size_ == kAbsent) size_ = 0;
        const size_t n = text.size() < kCapacity - size_ ? text.size() : kCapacity - size_;
        text.copy(chars_ + size_, n);
        size_ = static_cast<uint8_t>(size_ + n);
    }

    bool has_value() const { return size_ != kAbsent; }
    explicit operator bool() const { return has_value(); }
    // The text; empty when absent.
    std::u16string_view operator*() const {
        return has_value() ? std::u16string_view(chars_, size_) : std::u16string_view();
    }
    std::u16string value_or(std::u16string_view absent) const {
        return std::u16string(has_value() ? **this : absent);
    }
    Text ToText() const { return has_value() ? Text(std::u16string(**this)) : std::nullopt; }

    friend bool operator==(const InlineText& a, const InlineText& b) {
        return a.has_value() == b.has_value() && *a == *b;
    }
    friend bool operator==(const InlineText& a, std::u16string_view b) {
        return a.has_value() && *a == b;
    }

  private:
    static constexpr uint8_t kAbsent = 0xFF;
    char16_t chars_[kCapacity] = {};
    uint8_t size_ = kAbsent;
};

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
