// The store file: kept across runs, made when new, refused and left alone when unusable or
// not the user's to write, never changed by looking.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <map>

#include "files/user_child.h"
#include "objectstore/store_test_util.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Keyed;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;

// Every entry under a folder: its type, and a file's bytes or a link's target.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        std::string& what = entries[fs::relative(e.path(), dir)];
        what = std::to_string(static_cast<int>(e.symlink_status().type()));
        if (e.is_symlink())
            what += fs::read_symlink(e.path());
        else if (e.is_regular_file())
            what += ReadBytes(e.path());
    }
    return entries;
}

class StoreFileTest : public ::testing::Test {
  protected:
    test::TempDir dir, other;
    const fs::path file = dir / "objectstore.sqlite";
};

TEST_F(StoreFileTest, KeepsWhatWasCommittedAcrossReopenAndNeverReusesIdentifiers) {
    test::MakeStore(file, 2);
    CEOID last = 0;
    {
        auto store = OpenObjectStoreFile(file);
        ASSERT_NE(store, nullptr);
        const StoreHandle h = test::OpenDb(*store, u"Times");
        last = store->CeWriteRecordProps(h, 0, Keyed(3, 3));
        ASSERT_TRUE(store->CeDeleteRecord(h, last));
        // A scope still open when the store goes away is not kept.
        ASSERT_TRUE(store->BeginTransaction());
        store->CeWriteRecordProps(h, 0, Keyed(4, 4));
    }
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    const StoreHandle h = test::OpenDb(*store, u"Times");
    EXPECT_THAT(test::ReadTags(*store, h), ElementsAre(0, 1));
    EXPECT_EQ(test::RecordCount(*store, u"Times"), 2);
    EXPECT_GT(store->CeWriteRecordProps(h, 0, Keyed(1, 5)), last);
}

// Each unusable store file is refused and left exactly as it was, with nothing made beside it.
TEST_F(StoreFileTest, RefusesAnUnusableFileAndLeavesItAsItWas) {
    const fs::path good = other / "good.db";
    test::MakeStore(good, 400);
    const std::string bytes = ReadBytes(good);
    ASSERT_GT(bytes.size(), 8192u);
    std::string garbage(bytes.size(), '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    const auto fifo = [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); };
    const std::pair<const char*, std::function<void(const fs::path&)>> cases[] = {
        {"garbage", [&](const fs::path& f) { WriteBytes(f, garbage); }},
        {"other",
         [](const fs::path& f) { test::RunSql(f, "CREATE TABLE t(x); INSERT INTO t VALUES(1);"); }},
        {"other-wal",
         [](const fs::path& f) { test::RunSql(f, "PRAGMA journal_mode=WAL; CREATE TABLE t(x);"); }},
        {"newer",
         [&](const fs::path& f) {
             fs::copy_file(good, f), test::RunSql(f, "PRAGMA user_version = 2;");
         }},
        {"folder", [](const fs::path& f) { fs::create_directory(f); }},
        {"pipe", fifo},
        {"link-to-empty",
         [&](const fs::path& f) {
             WriteBytes(f.string() + ".e", ""), fs::create_symlink(f.string() + ".e", f);
         }},
        {"log-without-store", [](const fs::path& f) { WriteBytes(f.string() + "-wal", "log"); }},
        {"no-folder", [](const fs::path&) {}},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        const fs::path folder = dir / name;
        fs::create_directory(folder);
        const fs::path store = folder / (name == std::string("no-folder") ? "x/s.db" : "s.db");
        make(store);
        const auto before = Snapshot(folder);
        testing::internal::CaptureStderr();
        EXPECT_EQ(OpenObjectStoreFile(store), nullptr);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Snapshot(folder), before);
        if (name == std::string("garbage")) {
            EXPECT_EQ(said, "quorvella: cannot open store " + store.string() +
                                ": open: file is not a database\n");
        }
    }
    // A link to a real store is followed; the original still opens whole.
    fs::create_symlink(good, file);
    ASSERT_NE(OpenObjectStoreFile(file), nullptr);
    EXPECT_EQ(OpenObjectStoreFile(good)->Dump()[0].records.size(), 400u);
}

TEST_F(StoreFileTest, ARecordThatDoesNotDecodeFailsOnlyItsOwnRead) {
    test::MakeStore(file, 3);
    test::RunSql(file, "UPDATE records SET props = x'0102000000130000' WHERE sortkey = 1");
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    const StoreHandle h = test::OpenDb(*store, u"Times");
    std::vector<PropValue> props;
    EXPECT_NE(store->CeReadRecordProps(h, props), 0u);
    EXPECT_EQ(store->CeReadRecordProps(h, props), 0u);
    EXPECT_THAT(test::ReadTags(*store, h), ElementsAre(2));
    const CEOID broken = store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, 1);
    ASSERT_NE(broken, 0u);
    EXPECT_EQ(store->CeWriteRecordProps(h, broken, Keyed(1, 9)), 0u);
}

// A log and index that an earlier version's refused start left read-only are recovered. (A
// start refused on a read-only store or folder is walked by the read-only start scenario.) As
// root the child runs as nobody, for whom a 0444 file is an obstacle.
TEST_F(StoreFileTest, ALogAndIndexLeftReadOnlyAreRecovered) {
    test::MakeStore(file);
    for (const fs::path& p : {file, dir.path()})
        ASSERT_TRUE(geteuid() != 0 || ::chown(p.c_str(), test::kNobody, test::kNobody) == 0);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    ASSERT_EQ(test::InChild([&] {
                  sqlite3* db = nullptr;
                  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
                  const int rc = sqlite3_exec(db, "SELECT * FROM meta", nullptr, nullptr, nullptr);
                  sqlite3_close(db);
                  return rc;
              }),
              SQLITE_OK);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "objectstore.sqlite-shm").c_str(), &st), 0) << "nothing was left";
    ASSERT_EQ(st.st_mode & 0222, 0u);
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    EXPECT_EQ(test::InChild([&] {
                  auto store = OpenObjectStoreFile(file);
                  return store && store->CeWriteRecordProps(test::OpenDb(*store, u"Times", 0), 0,
                                                            Keyed(9, 9)) != 0;
              }),
              1);
    EXPECT_EQ(OpenObjectStoreFile(file)->Dump()[0].records.size(), 2u);
}

TEST_F(StoreFileTest, LookingNeverMakesChangesOrGrowsAnyFile) {
    // A closed store is read as it is and refused every change.
    test::MakeStore(file);
    const auto closed = Snapshot(dir.path());
    {
        auto store = OpenObjectStoreForLooking(file);
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->Dump().at(0).records.size(), 1u);
        CEOID oid = 0;
        const StoreHandle h = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
        EXPECT_EQ(store->CeWriteRecordProps(h, 0, Keyed(6, 2)), 0u);
        EXPECT_EQ(store->CeCreateDatabase(u"Other", 0), 0u);
        EXPECT_FALSE(store->CeDeleteDatabase(oid));
        EXPECT_EQ(Snapshot(dir.path()), closed);
    }
    EXPECT_EQ(Snapshot(dir.path()), closed);

    // While a program has it open, what it wrote is still in the log: looking sees it too,
    // and changes neither the file nor the log.
    auto writer = OpenObjectStoreFile(file);
    ASSERT_NE(writer, nullptr);
    ASSERT_NE(writer->CeCreateDatabase(u"Projects", 0), 0u);
    ASSERT_FALSE(ReadBytes(dir / "objectstore.sqlite-wal").empty());
    const auto open = Snapshot(dir.path());
    EXPECT_EQ(OpenObjectStoreForLooking(file)->Dump().size(), 2u);
    EXPECT_EQ(Snapshot(dir.path()), open);
    EXPECT_NE(writer->CeCreateDatabase(u"Categories", 0), 0u);
}

}  // namespace
}  // namespace qv
