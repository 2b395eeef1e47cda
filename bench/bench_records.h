// Fills a time-record database with typical records (about 100 bytes each), fast: one change.
#pragma once

#include <functional>

#include "core/text.h"
#include "platform/objectstore/object_store.h"

namespace qv::bench {

// Writes `count` records with identifiers 1, 2, 3, ...; projectOf(i) gives the project of
// the i-th one.
inline void FillTimeDatabase(ObjectStore& store, StoreHandle handle, uint32_t count,
                             const std::function<uint32_t(uint32_t)>& projectOf) {
    StoreTransaction bulk(store);
    for (uint32_t i = 0; i < count; ++i) {
        std::vector<PropValue> props = {
            PropValue::Number(0x00000013, 1 + i),
            PropValue::Number(0x00010013, projectOf(i)),
            PropValue::Number(0x00020013, 1 + i % 28),
            PropValue::Number(0x00030013, 1 + i / 28 % 12),
            PropValue::Number(0x00040013, 2000 + i % 6),
            PropValue::String(0x0005001F, u"Meeting"),
            PropValue::String(0x0006001F, FormatDecimal(10 + i % 1400)),
            PropValue::String(0x0007001F, u"weekly review with the team")};
        store.CeWriteRecordProps(handle, 0, props);
    }
    bulk.Commit();
}

// The largest number of records a database keeps, with projectOf(i) the project of the i-th;
// the categories taken in turn from `categories`, the dates spread over 2003 to 2005, durations
// of 10 minutes to 23 hours 29 and memos of a few typical lengths.
template <size_t N>
void FillStandardTimeDatabase(ObjectStore& store, StoreHandle handle,
                              const std::function<uint32_t(uint32_t)>& projectOf,
                              const char16_t* const (&categories)[N]) {
    static constexpr const char16_t* kMemos[] = {u" ", u"call", u"weekly review with the team",
                                                 u"preparing the quarterly report for the board"};
    StoreTransaction bulk(store);
    for (uint32_t i = 0; i < 65535; ++i) {
        std::vector<PropValue> props = {PropValue::Number(0x00000013, 1 + i),
                                        PropValue::Number(0x00010013, projectOf(i)),
                                        PropValue::Number(0x00020013, 1 + i / 36 % 28),
                                        PropValue::Number(0x00030013, 1 + i / 3 % 12),
                                        PropValue::Number(0x00040013, 2003 + i % 3),
                                        PropValue::String(0x0005001F, categories[i % N]),
                                        PropValue::String(0x0006001F, FormatDecimal(10 + i % 1400)),
                                        PropValue::String(0x0007001F, kMemos[i % 4])};
        store.CeWriteRecordProps(handle, 0, props);
    }
    bulk.Commit();
}

}  // namespace qv::bench
