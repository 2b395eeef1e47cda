// Fuzzes the decoding of a record's stored bytes: anything decodes or is refused without a
// fault, and what decodes encodes back to exactly the same bytes.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_util.h"
#include "platform/objectstore/record_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    using fuzz::Check;
    // Decoding goes into fresh storage and into storage that earlier inputs left filled, as
    // the store reuses one property vector for every record it reads.
    static std::vector<PropValue> reused;
    std::vector<PropValue> fresh;
    const bool decoded = DecodeRecord(data, size, fresh);
    const bool decodedAgain = DecodeRecord(data, size, reused);
    Check(decoded == decodedAgain);
    if (!decoded) return 0;
    Check(fresh == reused);

    std::vector<uint8_t> bytes;
    Check(EncodeRecord(fresh, bytes));
    Check(bytes.size() == size && std::memcmp(bytes.data(), data, size) == 0);
    return 0;
}
