// Fuzzes the reading of a registry hive file: any bytes read as a hive or as an empty,
// corrupt one without a fault; a hive that reads, written out again by the hive's own calls,
// reads back with the same keys and values.
#include <algorithm>
#include <fstream>

#include "fuzz/fuzz_util.h"
#include "platform/registry/registry_hive.h"

namespace {

bool SameListing(const std::vector<qv::HiveKeyListing>& a,
                 const std::vector<qv::HiveKeyListing>& b) {
    const auto sameValue = [](const qv::HiveValue& x, const qv::HiveValue& y) {
        return x.name == y.name && x.type == y.type && x.number == y.number && x.text == y.text;
    };
    return std::ranges::equal(a, b, [&](const qv::HiveKeyListing& x, const qv::HiveKeyListing& y) {
        return x.path == y.path && std::ranges::equal(x.values, y.values, sameValue);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    using fuzz::Check;
    const std::filesystem::path file = fuzz::ScratchFolder() / "registry.hive";
    const std::filesystem::path copy = fuzz::ScratchFolder() / "copy.hive";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(static_cast<bool>(out));
    }
    std::error_code ec;
    std::filesystem::remove(copy, ec);

    RegistryHive hive(file);
    const std::vector<HiveKeyListing> listing = hive.List();
    if (hive.LoadedCorrupt()) {
        Check(listing.empty());
        return 0;
    }

    // Everything read, written into a new hive as one group of changes: one save.
    RegistryHive written(copy);
    written.BeginChanges();
    for (const HiveKeyListing& key : listing) {
        auto handle = written.CreateKey(key.path);
        Check(handle.has_value());
        for (const HiveValue& v : key.values) {
            Check(v.type == REG_SZ ? written.SetStringValue(*handle, v.name, v.text)
                                   : written.SetDwordValue(*handle, v.name, v.number));
        }
        written.CloseKey(*handle);
    }
    Check(written.CommitChanges());
    Check(SameListing(written.List(), listing));
    if (listing.empty()) return 0;  // nothing changed, so nothing was saved

    RegistryHive reread(copy);
    Check(!reread.LoadedCorrupt() && SameListing(reread.List(), listing));
    return 0;
}
