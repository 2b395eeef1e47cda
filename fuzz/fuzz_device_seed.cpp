// Fuzzes the seed lines of the scenario devices: every input seeds a fresh device folder. Any
// line is carried out or refused with a reason, without a fault, and nothing is ever written
// outside the device folder.
#include "device_seed.h"
#include "fuzz/fuzz_util.h"

namespace fs = std::filesystem;
using qv::fuzz::Check;

// The device is a folder inside the scratch folder, so that a write beside the device shows.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path root = qv::fuzz::ScratchFolder() / "device";
    std::error_code ec;
    fs::remove_all(root, ec);
    Check(!ec);

    std::istringstream seed(std::string(reinterpret_cast<const char*>(data), size));
    std::string why;
    const bool seeded = qv::SeedDevice(qv::DeviceFolders::UnderRoot(root), seed, why);
    Check(seeded == why.empty());

    Check(fs::exists(root) &&
          std::distance(fs::directory_iterator(qv::fuzz::ScratchFolder()), {}) == 1);
    return 0;
}
