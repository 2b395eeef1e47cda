// The compact binary form in which the object store keeps one record's properties.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/objectstore/object_store.h"

namespace qv {

// Layout (all numbers little-endian): a format byte (1), a 16-bit property count, then per
// property its 32-bit identifier and, for CEVT_UI4, the 32-bit value; for CEVT_LPWSTR a 32-bit
// length in UTF-16 units (kAbsentText when the text is absent) followed by the units.
constexpr uint8_t kRecordFormat = 1;
constexpr uint32_t kAbsentText = 0xFFFFFFFF;

// Appends the encoded properties to out. False when a property has a type other than
// CEVT_UI4 or CEVT_LPWSTR, or there are too many properties or too long a text.
bool EncodeRecord(const std::vector<PropValue>& props, std::vector<uint8_t>& out);

// Replaces props with the decoded properties, reusing their storage. False when the bytes do
// not hold exactly one well-formed record.
bool DecodeRecord(const uint8_t* data, size_t size, std::vector<PropValue>& props);

// Writes `given` over `props`: a property with the same identifier is replaced where it
// stands, a new one is appended.
void MergeProperties(std::vector<PropValue>& props, const std::vector<PropValue>& given);

}  // namespace qv
