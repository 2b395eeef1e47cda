// Fuzzes the reading of a registry hive file: any bytes read as a hive or as an empty,
// corrupt one without a fault; a hive that reads, written out again by the hive's own calls,
// reads back with the same keys and values.
#include <fstream>

#include "fuzz/fuzz_util.h"
#include "platform/registry/registry_hive.h"

namespace {

namespace fs = std::filesystem;

bool SameListing(const std::vector<qv::HiveKeyListing>& a,
                 const std::vector<qv::HiveKeyListing>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].path != b[i].path || a[i].values.size() != b[i].values.size()) return false;
        for (size_t k = 0; k < a[i].values.size(); ++k) {
            const qv::HiveValue& x = a[i].values[k];
            const qv::HiveValue& y = b[i].values[k];
            if (x.name != y.name || x.type != y.type || x.number != y.number || x.text != y.text)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    using fuzz::Check;
    const fs::path file = fuzz::ScratchFolder() / "registry.hive";
    const fs::path copy = fuzz::ScratchFolder() / "copy.hive";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(static_cast<bool>(out));
    }
    std::error_code ec;
    fs::remove(copy, ec);

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
    Check(!reread.LoadedCorrupt());
    Check(SameListing(reread.List(), listing));
    return 0;
}
