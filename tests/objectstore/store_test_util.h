// Record shorthands shared by the object-store tests.
#pragma once

#include <vector>

#include "files/temp_dir.h"
#include "platform/objectstore/object_store.h"

namespace qv::test {

// A record whose property 0 is `key`, with a second property telling records apart.
inline std::vector<PropValue> Keyed(uint32_t key, uint32_t tag) {
    return {PropValue::Number(kSortPropertyId, key), PropValue::Number(PropId(1, CEVT_UI4), tag)};
}

// Reads from the handle's position to the end: the second property of each record.
inline std::vector<uint32_t> ReadTags(ObjectStore& store, StoreHandle h) {
    std::vector<uint32_t> tags;
    std::vector<PropValue> props;
    while (store.CeReadRecordProps(h, props) != 0) {
        uint32_t tag = 0xDEAD;
        for (const PropValue& p : props)
            if (p.propid == PropId(1, CEVT_UI4)) tag = p.ulVal;
        tags.push_back(tag);
    }
    return tags;
}

}  // namespace qv::test
