// The seed reader refuses what it cannot carry out, naming the line, and never faults.
#include "device_seed.h"

#include <gtest/gtest.h>

#include <sstream>

#include "files/temp_dir.h"
#include "platform/registry/registry_hive.h"

namespace qv {
namespace {

struct Seeded {
    bool ok = false;
    std::string why;
    std::vector<HiveKeyListing> hive;
};

Seeded SeedDword(const std::string& number) {
    test::TempDir dir;
    const DeviceFolders folders = DeviceFolders::UnderRoot(dir / "device");
    std::istringstream seed("category \"Travel\"\ndword \"Software\\Brumo\" Count " + number +
                            "\n");
    Seeded s;
    s.ok = SeedDevice(folders, seed, s.why);
    s.hive = ListHive(folders.HiveFile());
    return s;
}

TEST(SeedDevice, TakesRegistryNumbersAsPlainDecimalsUpToThe32BitLimit) {
    for (auto [text, value] : {std::pair{"0", 0u}, {"007", 7u}, {"4294967295", 4294967295u}}) {
        Seeded s = SeedDword(text);
        ASSERT_TRUE(s.ok) << text << ": " << s.why;
        ASSERT_EQ(s.hive.size(), 2u) << text;  // Software and Software\Brumo
        ASSERT_EQ(s.hive[1].values.size(), 1u) << text;
        EXPECT_EQ(s.hive[1].values[0].type, REG_DWORD);
        EXPECT_EQ(s.hive[1].values[0].number, value) << text;
    }

    // Words, signs, other bases, an empty text and numbers past 32 bits are refused by line,
    // before the key is made.
    for (const char* bad : {"abc", "replaced\"", "-1", "+5", "0x10", "1e3", "\"\"", "4294967296",
                            "99999999999999999999"}) {
        Seeded s = SeedDword(bad);
        EXPECT_FALSE(s.ok) << bad;
        EXPECT_EQ(s.why, "seed line 2: not a number") << bad;
        EXPECT_TRUE(s.hive.empty()) << bad;
    }
}

}  // namespace
}  // namespace qv
