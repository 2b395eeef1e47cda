// A writer killed at random moments never damages the store nor loses a confirmed write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include "objectstore/io_fault_util.h"
#include "objectstore/store_test_util.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

using test::kTag;

// Every eighth number is written as a group of records in one scope, the others as one record.
uint32_t RecordsOf(uint32_t number) {
    return number % 8 == 0 ? 4 : 1;
}

// The child: writes numbers from `first` on and reports each one after its write returned.
[[noreturn]] void WriteUntilKilled(const std::filesystem::path& file, uint32_t first, int fd) {
    auto store = OpenObjectStoreFile(file);
    if (store == nullptr) _exit(2);
    const StoreHandle h = test::OpenDb(*store, u"Times", 0);
    for (uint32_t number = first;; ++number) {
        std::optional<StoreTransaction> group;  // a single record is written without a scope
        if (RecordsOf(number) > 1) group.emplace(*store);
        bool ok = true;
        for (uint32_t part = 0; part < RecordsOf(number); ++part)
            ok = ok && store->CeWriteRecordProps(
                           h, 0,
                           {PropValue::Number(kSortPropertyId, number * 10 + part),
                            PropValue::Number(kTag, number),
                            PropValue::String(PropId(7, CEVT_LPWSTR), u"a memo of some length")});
        if (!ok || (group && !group->Commit())) _exit(4);
        if (write(fd, &number, sizeof number) != sizeof number) _exit(5);
    }
}

TEST(CrashSafety, AWriterKilledAtRandomMomentsLosesNoConfirmedWriteAndNoGroupHalfway) {
    test::TempDir dir;
    const std::filesystem::path file = dir / "store.db";
    test::MakeStore(file, 0);
    std::mt19937 random(20261206);
    std::set<uint32_t> confirmed;
    uint32_t next = 1;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
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

        ASSERT_EQ(test::StoreContents(file).substr(0, 7), "ok \n--\n");
        auto store = OpenObjectStoreFile(file);
        ASSERT_NE(store, nullptr);
        // Every record reads whole (one that does not decode ends the reading short).
        const std::vector<uint32_t> tags = test::ReadTags(*store, test::OpenDb(*store, u"Times"));
        std::map<uint32_t, uint32_t> parts;
        for (uint32_t n : tags) ++parts[n];
        for (const auto& [n, count] : parts) {
            EXPECT_EQ(count, RecordsOf(n)) << "number " << n;
            next = std::max(next, n + 1);
        }
        for (uint32_t n : confirmed) ASSERT_TRUE(parts.count(n)) << n;
        EXPECT_EQ(test::RecordCount(*store, u"Times"), static_cast<int>(tags.size()));
    }
    // The kills must have landed in the middle of writing, not only before it.
    EXPECT_GT(confirmed.size(), 60u);
}

}  // namespace
}  // namespace qv
