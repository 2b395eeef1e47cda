// A writer killed at random moments never damages the store nor loses a confirmed write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "objectstore/io_fault_util.h"
#include "objectstore/store_test_util.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::kTag;
constexpr uint32_t kGroupSize = 4;

// Every eighth number is written as a group of records in one scope, the others as one record.
uint32_t RecordsOf(uint32_t number) {
    return number % 8 == 0 ? kGroupSize : 1;
}

std::vector<PropValue> RecordOf(uint32_t number, uint32_t part) {
    return {PropValue::Number(kSortPropertyId, number * 10 + part), PropValue::Number(kTag, number),
            PropValue::String(PropId(7, CEVT_LPWSTR), u"a memo of some length")};
}

// The child: writes numbers from `first` on and reports each one after its write returned.
[[noreturn]] void WriteUntilKilled(const fs::path& file, uint32_t first, int confirmFd) {
    auto store = OpenObjectStoreFile(file);
    if (store == nullptr) _exit(2);
    CEOID oid = 0;
    const StoreHandle h = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
    if (h == kInvalidStoreHandle) _exit(3);
    for (uint32_t number = first;; ++number) {
        bool ok = true;
        if (RecordsOf(number) == 1) {
            ok = store->CeWriteRecordProps(h, 0, RecordOf(number, 0)) != 0;
        } else {
            StoreTransaction t(*store);
            for (uint32_t part = 0; part < kGroupSize; ++part)
                ok = ok && store->CeWriteRecordProps(h, 0, RecordOf(number, part)) != 0;
            ok = ok && t.Commit();
        }
        if (!ok) _exit(4);
        if (write(confirmFd, &number, sizeof number) != sizeof number) _exit(5);
    }
}

TEST(CrashSafety, AWriterKilledAtRandomMomentsLosesNoConfirmedWriteAndNoGroupHalfway) {
    test::TempDir dir;
    const fs::path file = dir / "store.db";
    {
        auto store = OpenObjectStoreFile(file);
        ASSERT_NE(store, nullptr);
        ASSERT_NE(store->CeCreateDatabase(u"Times", 0), 0u);
    }
    std::mt19937 random(20261206);
    std::set<uint32_t> confirmed;
    uint32_t next = 1;
    for (int round = 0; round < 60; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            WriteUntilKilled(file, next, fds[1]);
        }
        close(fds[1]);
        // Sometimes while it is still opening the store, mostly in the middle of writing (a
        // durable write takes a few milliseconds).
        const int delayUs = round % 10 == 0 ? static_cast<int>(random() % 3000)
                                            : 3000 + static_cast<int>(random() % 60000);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        uint32_t number = 0;
        while (read(fds[0], &number, sizeof number) == sizeof number) confirmed.insert(number);
        close(fds[0]);

        ASSERT_EQ(test::StoreContents(file).substr(0, 7), "ok \n--\n") << "round " << round;
        auto store = OpenObjectStoreFile(file);
        ASSERT_NE(store, nullptr) << "round " << round;
        CEOID oid = 0;
        const StoreHandle h =
            store->CeOpenDatabase(oid, u"Times", kSortPropertyId, CEDB_AUTOINCREMENT);
        std::map<uint32_t, uint32_t> parts;
        std::vector<PropValue> props;
        while (store->CeReadRecordProps(h, props) != 0) {
            ASSERT_EQ(props.size(), 3u);
            ++parts[props[1].ulVal];
        }
        for (const auto& [n, count] : parts) {
            EXPECT_EQ(count, RecordsOf(n)) << "number " << n << ", round " << round;
            next = std::max(next, n + 1);
        }
        for (uint32_t n : confirmed) ASSERT_TRUE(parts.count(n)) << n << ", round " << round;
        DatabaseInfo info;
        ASSERT_TRUE(store->CeOidGetInfo(oid, info));
        size_t total = 0;
        for (const auto& entry : parts) total += entry.second;
        EXPECT_EQ(info.recordCount, total);
    }
    // The kills must have landed in the middle of writing, not only before it.
    EXPECT_GT(confirmed.size(), 60u);
    RecordProperty("confirmed", static_cast<int>(confirmed.size()));
}

}  // namespace
}  // namespace qv
