// Unicode classes and case mapping through ICU, and the Windows-1252 code page.
#include "platform/text/unicode_text.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <limits>

namespace qv {

namespace {

static_assert(sizeof(UChar) == sizeof(char16_t));

const UChar* AsUChar(std::u16string_view text) {
    return reinterpret_cast<const UChar*>(text.data());
}

int32_t Length(std::u16string_view text) {
    return static_cast<int32_t>(std::min<size_t>(text.size(), std::numeric_limits<int32_t>::max()));
}

// Runs an ICU string mapping (lower case, upper case, folding) with a preflight retry.
template <typename Map>
std::u16string MapText(std::u16string_view text, Map map) {
    std::u16string out(text.size() + 8, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = map(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                    AsUChar(text), Length(text), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        out.assign(static_cast<size_t>(n), u'\0');
        status = U_ZERO_ERROR;
        n = map(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                AsUChar(text), Length(text), &status);
    }
    if (U_FAILURE(status)) return std::u16string(text);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::u16string Fold(std::u16string_view text) {
    return MapText(text,
                   [](UChar* dest, int32_t cap, const UChar* src, int32_t len, UErrorCode* status) {
                       return u_strFoldCase(dest, cap, src, len, U_FOLD_CASE_DEFAULT, status);
                   });
}

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) carry the C1 controls of the same number, as Windows'
// own table does, so they round-trip; every other C1 control has no byte.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char AnsiByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

bool IsLetterOrDigitAt(std::u16string_view text, size_t index) {
    if (index >= text.size()) return false;
    UChar32 c;
    // U16_GET joins a pair whichever half the index points at; a lone surrogate stays itself.
    U16_GET(text.data(), 0, index, text.size(), c);
    return u_isalpha(c) || u_isdigit(c);
}

std::u16string ToLowerText(std::u16string_view text) {
    return MapText(text,
                   [](UChar* dest, int32_t cap, const UChar* src, int32_t len, UErrorCode* status) {
                       return u_strToLower(dest, cap, src, len, "", status);
                   });
}

std::u16string UpperFirstCharacter(std::u16string_view text) {
    if (text.empty()) return {};
    size_t i = 0;
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    // The one-character mapping: the first character is replaced by one character, as the
    // handheld's per-character conversion does (so "ß" stays "ß" rather than becoming "SS").
    UChar32 upper = u_toupper(c);
    std::u16string out;
    if (U_IS_BMP(upper)) {
        out += static_cast<char16_t>(upper);
    } else {
        out += static_cast<char16_t>(U16_LEAD(upper));
        out += static_cast<char16_t>(U16_TRAIL(upper));
    }
    out.append(text.substr(i));
    return out;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    return Fold(a) == Fold(b);
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    std::u16string foldedText = Fold(text);
    std::u16string foldedPrefix = Fold(prefix);
    return foldedText.compare(0, foldedPrefix.size(), foldedPrefix) == 0 &&
           foldedText.size() >= foldedPrefix.size();
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    int folded = Fold(a).compare(Fold(b));
    if (folded != 0) return folded < 0 ? -1 : 1;
    int exact = a.compare(b);
    return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

std::string ToAnsiCodePage(std::u16string_view text) {
    std::string out(text.size(), '\0');
    constexpr size_t kRun = 16;
    const char16_t* in = text.data();
    char* to = out.data();
    size_t i = 0;
    // Runs of plain ASCII, the usual text, are narrowed whole (through plain pointers, which
    // the compiler turns into vector code).
    for (; i + kRun <= text.size(); i += kRun) {
        char16_t any = 0;
        for (size_t k = 0; k < kRun; ++k) any |= in[i + k];
        if (any < 0x80) {
            for (size_t k = 0; k < kRun; ++k) to[i + k] = static_cast<char>(in[i + k]);
        } else {
            for (size_t k = 0; k < kRun; ++k) to[i + k] = AnsiByte(in[i + k]);
        }
    }
    for (; i < text.size(); ++i) to[i] = AnsiByte(in[i]);
    return out;
}

}  // namespace qv
