// Encoding and strictly checked decoding of a record's properties.
#include "platform/objectstore/record_codec.h"

#include <bit>
#include <cstring>

namespace qv {

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

}  // namespace

bool EncodeRecord(const std::vector<PropValue>& props, std::vector<uint8_t>& out) {
    if (props.size() > 0xFFFF) return false;
    out.push_back(kRecordFormat);
    Put16(out, static_cast<uint16_t>(props.size()));
    for (const PropValue& p : props) {
        Put32(out, p.propid);
        if (p.Type() == CEVT_UI4) {
            Put32(out, p.ulVal);
        } else if (p.Type() == CEVT_LPWSTR) {
            if (!p.lpwstr) {
                Put32(out, kAbsentText);
                continue;
            }
            const std::u16string& s = *p.lpwstr;
            if (s.size() >= kAbsentText / 2) return false;
            Put32(out, static_cast<uint32_t>(s.size()));
            size_t at = out.size();
            out.resize(at + s.size() * 2);
            if constexpr (std::endian::native == std::endian::little) {
                if (!s.empty()) std::memcpy(out.data() + at, s.data(), s.size() * 2);
            } else {
                for (char16_t c : s) {
                    out[at++] = static_cast<uint8_t>(c);
                    out[at++] = static_cast<uint8_t>(c >> 8);
                }
            }
        } else {
            return false;
        }
    }
    return true;
}

bool DecodeRecord(const uint8_t* data, size_t size, std::vector<PropValue>& props) {
    if (size < 3 || data[0] != kRecordFormat) return false;
    const size_t count = Get16(data + 1);
    const uint8_t* p = data + 3;
    const uint8_t* end = data + size;
    // Every property takes at least eight bytes, so a count the data cannot hold is refused
    // before anything is allocated.
    if (count > static_cast<size_t>(end - p) / 8) return false;
    props.resize(count);
    for (PropValue& v : props) {
        if (end - p < 8) return false;
        v.propid = Get32(p);
        v.wLenData = 0;
        v.wFlags = 0;
        const uint32_t word = Get32(p + 4);
        p += 8;
        if (v.Type() == CEVT_UI4) {
            v.ulVal = word;
            v.lpwstr.reset();
        } else if (v.Type() == CEVT_LPWSTR) {
            v.ulVal = 0;
            if (word == kAbsentText) {
                v.lpwstr.reset();
                continue;
            }
            if (word > static_cast<size_t>(end - p) / 2) return false;
            if (!v.lpwstr) v.lpwstr.emplace();
            v.lpwstr->resize(word);
            if constexpr (std::endian::native == std::endian::little) {
                if (word != 0) std::memcpy(v.lpwstr->data(), p, size_t{word} * 2);
            } else {
                for (uint32_t i = 0; i < word; ++i) (*v.lpwstr)[i] = Get16(p + 2 * i);
            }
            p += size_t{word} * 2;
        } else {
            return false;
        }
    }
    return p == end;
}

void MergeProperties(std::vector<PropValue>& props, const std::vector<PropValue>& given) {
    for (const PropValue& g : given) {
        bool replaced = false;
        for (PropValue& p : props) {
            if (p.propid == g.propid) {
                p = g;
                replaced = true;
                break;
            }
        }
        if (!replaced) props.push_back(g);
    }
}

}  // namespace qv
