// The journal line's codec and the own journal's repair after a torn append.
#include <gtest/gtest.h>

#include "files/temp_dir.h"
#include "sync/journal_file.h"
#include "sync/journal_line.h"

namespace qv::sync {
namespace {

const std::string kA(32, 'a');

Change Put(uint64_t serial, std::string memo) {
    return {kA,
            serial,
            serial + 40,
            1700000000,
            Kind::RecordPut,
            kA + ":1",
            {"2026-12-07", "90", "Al\tpha", "Tr\\avel", std::move(memo)}};
}

TEST(JournalLine, RoundTripsEveryTextAndRefusesDamage) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    const Change c = Put(7, "line\nbreak\r, back\\slash, tab\t, ünïcødé €");
    const std::string line = EncodeLine(c);
    ASSERT_EQ(line.back(), '\n');
    const std::string body = line.substr(0, line.size() - 1);
    EXPECT_EQ(body.find_first_of("\n\r"), std::string::npos);
    EXPECT_EQ(std::count(body.begin(), body.end(), '\t'), 12);
    Change back;
    ASSERT_EQ(DecodeLine(body, back), LineStatus::Complete);
    EXPECT_EQ(back, c);
    for (size_t at : {size_t{0}, size_t{40}, body.size() - 1}) {
        std::string flipped = body;
        flipped[at] ^= 0x01;
        EXPECT_EQ(DecodeLine(flipped, back), LineStatus::Damaged) << at;
    }
    EXPECT_EQ(DecodeLine(body.substr(0, body.size() - 3), back), LineStatus::Damaged);
    // A clock at the top of its range would wrap the clock of the next change to zero.
    for (uint64_t Change::*count : {&Change::serial, &Change::clock}) {
        Change far = c;
        far.*count = UINT64_MAX;
        const std::string farLine = EncodeLine(far);
        EXPECT_EQ(DecodeLine(farLine.substr(0, farLine.size() - 1), back), LineStatus::Damaged);
    }
}

TEST(JournalFile, OwnJournalLosesOnlyItsTornTail) {
    test::TempDir dir;
    const auto file = JournalPath(dir.path(), kA);
    EXPECT_EQ(JournalComputer(file), kA);
    const std::string two = EncodeLine(Put(1, "one")) + EncodeLine(Put(2, "two"));
    const std::string third = EncodeLine(Put(3, "three"));
    ASSERT_TRUE(AppendDurably(file, two + third.substr(0, 30)));
    uint64_t last = 0;
    ASSERT_TRUE(OpenOwnJournal(file, kA, last));
    EXPECT_EQ(last, 2u);
    EXPECT_EQ(FileSize(file), two.size());
    // A whole last line that fails its checksum goes too.
    std::string bad = third;
    bad[5] = 'x';
    ASSERT_TRUE(AppendDurably(file, bad));
    ASSERT_TRUE(OpenOwnJournal(file, kA, last));
    EXPECT_EQ(last, 2u);
    std::string bytes;
    ASSERT_TRUE(ReadFrom(file, 0, bytes));
    EXPECT_EQ(bytes, two);
}

}  // namespace
}  // namespace qv::sync
