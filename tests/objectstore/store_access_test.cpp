// Who may open the store file and how: a start refused on a read-only store leaves nothing
// behind, looking never writes, and a refused start says why on standard error.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "objectstore/store_test_util.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Keyed;
using test::ReadBytes;
using test::WriteBytes;

constexpr uid_t kNobody = 65534;

std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

// Runs `body` in a child process whose standard error goes to `errors`. As root it first
// becomes the ordinary user nobody, so that file permissions apply as they do for a user;
// otherwise it runs as the user the tests run as. The child's result, or -1.
int InChild(const std::function<int()>& body, const fs::path& errors = "/dev/null") {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(90);
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(91);
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

enum Outcome { kWritable = 0, kRefused = 1, kOpenedButNotWritable = 2 };

int OpenAndWrite(const fs::path& file) {
    auto store = OpenObjectStoreFile(file);
    if (store == nullptr) return kRefused;
    CEOID oid = 0;
    const StoreHandle h = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
    return store->CeWriteRecordProps(h, 0, Keyed(9, 9)) != 0 ? kWritable : kOpenedButNotWritable;
}

// Hands the folder and what is in it to the user the child runs as.
void GiveToChild(const fs::path& dir) {
    if (geteuid() != 0) return;
    ASSERT_EQ(::chown(dir.c_str(), kNobody, kNobody), 0);
    for (const auto& entry : fs::directory_iterator(dir))
        ASSERT_EQ(::chown(entry.path().c_str(), kNobody, kNobody), 0);
}

void MakeStore(const fs::path& file) {
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    ASSERT_NE(store->CeCreateDatabase(u"Times", 0), 0u);
    CEOID oid = 0;
    const StoreHandle h = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
    ASSERT_NE(store->CeWriteRecordProps(h, 0, Keyed(5, 1)), 0u);
}

TEST(StoreAccess, AStartRefusedOnAReadOnlyStoreLeavesNothingAndTheNextStartWorks) {
    test::TempDir dir;
    const fs::path file = dir / "objectstore.sqlite";
    MakeStore(file);
    GiveToChild(dir.path());
    const std::set<std::string> before = Listing(dir.path());
    const auto bytes = ReadBytes(file);

    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_EQ(InChild([&] { return OpenAndWrite(file); }), kRefused);
    EXPECT_EQ(Listing(dir.path()), before);  // no -wal or -shm left with the file's mode
    EXPECT_EQ(ReadBytes(file), bytes);
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    EXPECT_EQ(InChild([&] { return OpenAndWrite(file); }), kWritable);

    // A folder that cannot be written takes no log: refused, nothing made.
    const std::set<std::string> closed = Listing(dir.path());
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(InChild([&] { return OpenAndWrite(file); }), kRefused);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(Listing(dir.path()), closed);
    EXPECT_EQ(InChild([&] { return OpenAndWrite(file); }), kWritable);
}

TEST(StoreAccess, ALogAndIndexLeftReadOnlyByAnEarlierRefusedStartAreRecovered) {
    test::TempDir dir;
    const fs::path file = dir / "objectstore.sqlite";
    MakeStore(file);
    GiveToChild(dir.path());
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    // What a start of an earlier version did: SQLite opened the file for reading only.
    ASSERT_EQ(InChild([&] {
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
    EXPECT_EQ(InChild([&] { return OpenAndWrite(file); }), kWritable);
    auto store = OpenObjectStoreFile(file);
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->Dump().size(), 1u);
    EXPECT_EQ(store->Dump()[0].records.size(), 2u);
}

// Standard error, taken for the length of one call.
std::string StandardErrorOf(const std::function<void()>& call) {
    test::TempDir dir;
    const fs::path file = dir / "errors";
    const int saved = dup(STDERR_FILENO);
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, STDERR_FILENO);
    ::close(fd);
    call();
    dup2(saved, STDERR_FILENO);
    ::close(saved);
    return ReadBytes(file);
}

TEST(StoreAccess, ARefusedStoreSaysOnStandardErrorWhichFileWhatFailedAndWhy) {
    test::TempDir dir;
    const fs::path file = dir / "objectstore.sqlite";
    WriteBytes(file, std::string(4096, 'x'));
    EXPECT_EQ(StandardErrorOf([&] { EXPECT_EQ(OpenObjectStoreFile(file), nullptr); }),
              "quorvella: cannot open store " + file.string() + ": open: file is not a database\n");

    const fs::path store = dir / "store";
    fs::create_directory(store);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    MakeStore(store / "objectstore.sqlite");
    GiveToChild(store);
    ASSERT_EQ(::chmod((store / "objectstore.sqlite").c_str(), 0444), 0);
    EXPECT_EQ(InChild([&] { return OpenAndWrite(store / "objectstore.sqlite"); }, dir / "child"),
              kRefused);
    EXPECT_EQ(ReadBytes(dir / "child"), "quorvella: cannot open store " +
                                            (store / "objectstore.sqlite").string() +
                                            ": open: Permission denied\n");
    EXPECT_EQ(StandardErrorOf([&] { EXPECT_NE(OpenObjectStoreFile(dir / "new.sqlite"), nullptr); }),
              "");
}

TEST(StoreAccess, LookingNeverMakesChangesOrGrowsAnyFile) {
    test::TempDir dir;
    // An empty file reads as an empty store and stays empty.
    WriteBytes(dir / "empty.sqlite", "");
    {
        auto store = OpenObjectStoreForLooking(dir / "empty.sqlite");
        ASSERT_NE(store, nullptr);
        EXPECT_TRUE(store->Dump().empty());
        EXPECT_EQ(store->CeCreateDatabase(u"Times", 0), 0u);
        EXPECT_FALSE(store->BeginTransaction());
    }
    EXPECT_EQ(fs::file_size(dir / "empty.sqlite"), 0u);
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"empty.sqlite"});

    // A closed store: read as it is, refused every change, no log or index made.
    const fs::path file = dir / "objectstore.sqlite";
    MakeStore(file);
    const std::string bytes = ReadBytes(file);
    const std::set<std::string> closed = Listing(dir.path());
    {
        auto store = OpenObjectStoreForLooking(file);
        ASSERT_NE(store, nullptr);
        ASSERT_EQ(store->Dump().size(), 1u);
        EXPECT_EQ(store->Dump()[0].records.size(), 1u);
        CEOID oid = 0;
        const StoreHandle h = store->CeOpenDatabase(oid, u"Times", kSortPropertyId, 0);
        EXPECT_EQ(store->CeWriteRecordProps(h, 0, Keyed(6, 2)), 0u);
        EXPECT_EQ(store->CeCreateDatabase(u"Other", 0), 0u);
        EXPECT_FALSE(store->CeDeleteDatabase(oid));
        EXPECT_EQ(Listing(dir.path()), closed);
    }
    EXPECT_EQ(ReadBytes(file), bytes);
    EXPECT_EQ(Listing(dir.path()), closed);

    // While a program has it open, what it wrote is still in the log: looking sees it too,
    // and changes neither the file nor the log.
    auto writer = OpenObjectStoreFile(file);
    ASSERT_NE(writer, nullptr);
    ASSERT_NE(writer->CeCreateDatabase(u"Projects", 0), 0u);
    const std::set<std::string> open = Listing(dir.path());
    const std::string log = ReadBytes(dir / "objectstore.sqlite-wal");
    ASSERT_FALSE(log.empty());
    {
        auto store = OpenObjectStoreForLooking(file);
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->Dump().size(), 2u);
    }
    EXPECT_EQ(Listing(dir.path()), open);
    EXPECT_EQ(ReadBytes(dir / "objectstore.sqlite-wal"), log);
    EXPECT_NE(writer->CeCreateDatabase(u"Categories", 0), 0u);

    // Nothing to look at: refused, and nothing made.
    EXPECT_EQ(OpenObjectStoreForLooking(dir / "absent.sqlite"), nullptr);
    WriteBytes(dir / "garbage.sqlite", std::string(4096, 'x'));
    EXPECT_EQ(OpenObjectStoreForLooking(dir / "garbage.sqlite"), nullptr);
    EXPECT_FALSE(fs::exists(dir / "absent.sqlite"));
    EXPECT_FALSE(fs::exists(dir / "garbage.sqlite-wal"));
}

}  // namespace
}  // namespace qv
