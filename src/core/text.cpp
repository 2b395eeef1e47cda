// Number formatting, wide-text-to-long reading, blank trimming and UTF conversions.
#include "core/text.h"

#include <limits>

namespace qv {

std::u16string FormatDecimal(int64_t value) {
    char16_t buf[24];
    char16_t* end = buf + sizeof(buf) / sizeof(buf[0]);
    char16_t* p = end;
    // Work on the magnitude as unsigned so the most negative value does not overflow.
    uint64_t magnitude =
        value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        *--p = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--p = u'-';
    return std::u16string(p, end);
}

namespace {
bool IsWideSpace(char16_t c) {
    // iswspace in the "C" locale, plus the Unicode blanks the handheld's CRT also skipped.
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x00A0 || c == 0x3000 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x1680 ||
           c == 0x202F || c == 0x205F || c == 0x0085;
}
}  // namespace

int32_t ParseLong(std::u16string_view text) {
    // Most texts are a few plain digits, as the program writes them: no blank, no sign, no
    // chance of passing the limits.
    if (!text.empty() && text.size() <= 9) {
        int32_t value = 0;
        size_t k = 0;
        for (; k < text.size() && text[k] >= u'0' && text[k] <= u'9'; ++k) {
            value = value * 10 + (text[k] - u'0');
        }
        if (k == text.size()) return value;
    }
    size_t i = 0;
    while (i < text.size() && IsWideSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate towards the limit of the sign's side and stop growing once it is passed.
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()}
                                   : int64_t{std::numeric_limits<int32_t>::max()};
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (magnitude <= limit) magnitude = magnitude * 10 + (text[i] - u'0');
    }
    if (magnitude > limit) magnitude = limit;
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::u16string TrimBlanks(std::u16string_view text) {
    size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    size_t last = text.find_last_not_of(u' ');
    return std::u16string(text.substr(first, last - first + 1));
}

std::u16string FromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 || (c >> 4) == 0xE || (c >> 3) == 0x1E) {
            len = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
            uint32_t v = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
            bool ok = i + len <= s.size();
            for (size_t k = 1; ok && k < len; ++k) {
                unsigned char cc = static_cast<unsigned char>(s[i + k]);
                if ((cc >> 6) != 0x2) ok = false;
                v = (v << 6) | (cc & 0x3F);
            }
            static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && v >= kMin[len] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                cp = v;
            } else {
                len = 1;
            }
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace qv
