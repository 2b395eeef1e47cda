// Fuzzes the seed lines of the scenario devices: every input seeds a fresh device folder. Any
// line is carried out or refused with a reason, without a fault, and nothing is ever written
// outside the device folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "device_seed.h"

namespace {

namespace fs = std::filesystem;

void Check(bool condition) {
    if (!condition) std::abort();
}

// One folder per process under $TMPDIR (fuzz/run.sh gives one in memory and removes it);
// the device is a folder inside it, so that a write beside the device shows.
const fs::path& Outer() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "qv-fuzz-seed-XXXXXX").string();
        Check(mkdtemp(pattern.data()) != nullptr);
        return fs::path(pattern);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path root = Outer() / "device";
    std::error_code ec;
    fs::remove_all(root, ec);
    Check(!ec);

    std::istringstream seed(std::string(reinterpret_cast<const char*>(data), size));
    std::string why;
    const bool seeded = qv::SeedDevice(qv::DeviceFolders::UnderRoot(root), seed, why);
    Check(seeded == why.empty());

    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(Outer())) {
        Check(entry.path().filename() == "device");
        ++entries;
    }
    Check(entries == 1);
    return 0;
}
