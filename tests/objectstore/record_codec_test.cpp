// Decoding a record's stored bytes refuses anything malformed without reading past the end.
#include "platform/objectstore/record_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<PropValue> Sample() {
    return {PropValue::Number(kSortPropertyId, 0xFFFFFFFF),
            PropValue::String(PropId(5, CEVT_LPWSTR), u"Caf\u00e9"),
            PropValue::String(PropId(7, CEVT_LPWSTR), std::nullopt),
            PropValue::String(PropId(6, CEVT_LPWSTR), u"")};
}

TEST(RecordCodec, RoundTripsIntoReusedStorageAndRefusesEveryTruncation) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeRecord(Sample(), bytes));
    // Decoding over longer, differently typed values leaves nothing of them behind.
    std::vector<PropValue> props(6, PropValue::String(PropId(9, CEVT_LPWSTR), u"left over"));
    props[0] = PropValue::Number(PropId(3, CEVT_UI4), 42);
    ASSERT_TRUE(DecodeRecord(bytes.data(), bytes.size(), props));
    EXPECT_EQ(props, Sample());

    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(DecodeRecord(bytes.data(), n, props)) << n;
    bytes.push_back(0);
    EXPECT_FALSE(DecodeRecord(bytes.data(), bytes.size(), props));
}

TEST(RecordCodec, RefusesWrongTypesCountsAndLengths) {
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(EncodeRecord({PropValue::Number(PropId(1, 2), 1)}, bytes));

    const auto decodes = [](std::vector<uint8_t> b) {
        std::vector<PropValue> props;
        return DecodeRecord(b.data(), b.size(), props);
    };
    EXPECT_TRUE(decodes({1, 0, 0}));                                    // no properties
    EXPECT_FALSE(decodes({2, 0, 0}));                                   // unknown format
    EXPECT_FALSE(decodes({1, 0xFF, 0xFF, 0x13, 0, 0, 0, 1, 0, 0, 0}));  // count too large
    EXPECT_FALSE(decodes({1, 1, 0, 0x02, 0, 0, 0, 1, 0, 0, 0}));        // unknown type
    // A text longer than the bytes left, including lengths that overflow when doubled.
    EXPECT_FALSE(decodes({1, 1, 0, 0x1F, 0, 5, 0, 2, 0, 0, 0, 'a', 0}));
    EXPECT_FALSE(decodes({1, 1, 0, 0x1F, 0, 5, 0, 0xFE, 0xFF, 0xFF, 0x7F, 'a', 0}));
    EXPECT_FALSE(decodes({1, 1, 0, 0x1F, 0, 5, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(decodes({1, 1, 0, 0x1F, 0, 5, 0, 1, 0, 0, 0, 'a', 0}));
}

}  // namespace
}  // namespace qv
