// Fuzzes the reading of a line of another computer's journal: anything decodes or is refused
// without a fault. The input is tried as it stands and with its own checksum added, so that the
// fields behind the checksum are reached; what decodes encodes to a line that decodes to the
// same change, and an escaped text comes back unchanged.
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/fuzz_util.h"
#include "sync/journal_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv::sync;
    using qv::fuzz::Check;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    char crc[10];
    std::snprintf(crc, sizeof crc, "\t%08x", Crc32(input));
    for (const std::string& line : {std::string(input), std::string(input) + crc}) {
        Change change;
        if (DecodeLine(line, change) != LineStatus::Complete) continue;
        const std::string again = EncodeLine(change);
        Check(!again.empty() && again.back() == '\n');
        Change back;
        Check(DecodeLine(std::string_view(again).substr(0, again.size() - 1), back) ==
              LineStatus::Complete);
        Check(back == change);
    }
    std::string text;
    Check(Unescape(Escape(input), text) && text == input);
    return 0;
}
