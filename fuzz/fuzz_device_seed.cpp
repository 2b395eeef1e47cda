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

// One folder per process, in memory where the machine has it; the device is a folder inside
// it, so that a write beside the device shows.
const fs::path& Outer() {
    static const fs::path folder = [] {
        std::error_code ec;
        fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "qv-fuzz-seed-XXXXXX").string();
        Check(mkdtemp(pattern.data()) != nullptr);
        return fs::path(pattern);
    }();
    return folder;
}

struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        fs::remove_all(Outer(), ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Cleanup cleanup;
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
