// Fuzzes the reading of a registry hive file: any bytes read as a hive or as an empty,
// corrupt one without a fault; a hive that reads, written out again by the hive's own calls,
// reads back with the same keys and values.
#include <fstream>

#include "fuzz/fuzz_util.h"
#include "platform/registry/registry_hive.h"

namespace qv {

bool operator==(const HiveValue& x, const HiveValue& y) {
    return x.name == y.name && x.type == y.type && x.number == y.number && x.text == y.text;
}
bool operator==(const HiveKeyListing& x, const HiveKeyListing& y) {
    return x.path == y.path && x.values == y.values;
}

}  // namespace qv

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    using fuzz::Check;
    const std::filesystem::path file = fuzz::ScratchFolder() / "registry.hive";
    const std::filesystem::path copy = fuzz::ScratchFolder() / "copy.hive";
    Check(static_cast<bool>(
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size))));
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
    Check(written.List() == listing);
    if (listing.empty()) return 0;  // nothing changed, so nothing was saved

    RegistryHive reread(copy);
    Check(!reread.LoadedCorrupt() && reread.List() == listing);
    return 0;
}
