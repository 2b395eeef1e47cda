// The object store's file: the checks that keep the program off files that are not its store
// or cannot be written, the making of a new store, and opening it for use or for looking.
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/files/small_file.h"
#include "platform/objectstore/object_store.h"
#include "platform/objectstore/sqlite_statement.h"
#include "platform/objectstore/sqlite_store.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

using namespace sqlite;

// The write-ahead log is folded into the store file once it holds this many pages (a booking
// writes about five), so its file is written over from the start again and stays small. Folding
// after every change would keep it smaller still, but costs three more flushes to disk a change
// (the file's, and the log's first page when it starts again) for little: a flush is most of
// what a booking costs.
constexpr int kFoldPages = 16;
// What the log keeps of its file once folded: room for the pages written before the next fold.
// A larger change grows it for as long as it lasts.
constexpr int64_t kLogSizeLimit = 128 * 1024;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

fs::path WithSuffix(const fs::path& file, const char* suffix) {
    fs::path p = file;
    p += suffix;
    return p;
}

uintmax_t SizeOrZero(const fs::path& file) {
    std::error_code ec;
    uintmax_t size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

// Reads only the file's first 100 bytes (the SQLite header) with plain file I/O, so nothing is
// written to a file that turns out not to be ours. Refuses files of other programs, files of a
// newer layout, and files shorter than their header says (truncated) when no write-ahead log
// could still supply the missing pages. `why` says which.
bool HeaderIsOurs(const fs::path& file, uintmax_t size, std::string& why) {
    std::array<uint8_t, 100> h{};
    std::ifstream in(file, std::ios::binary);
    why = std::string("open: ") + sqlite3_errstr(SQLITE_NOTADB);
    if (!in.read(reinterpret_cast<char*>(h.data()), h.size())) return false;
    if (std::memcmp(h.data(), "SQLite format 3", 16) != 0) return false;
    uint32_t pageSize = (uint32_t{h[16]} << 8) | h[17];
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return false;
    why = "open: a database of another program";
    if (BigEndian32(&h[68]) != kApplicationId) return false;
    why = "open: a store of another version (" + std::to_string(BigEndian32(&h[60])) + ")";
    if (BigEndian32(&h[60]) != static_cast<uint32_t>(kSchemaVersion)) return false;
    const uint32_t changeCounter = BigEndian32(&h[24]);
    const uint32_t pageCount = BigEndian32(&h[28]);
    const uint32_t validFor = BigEndian32(&h[92]);
    why = "open: the file is shorter than its header says";
    if (validFor == changeCounter && SizeOrZero(WithSuffix(file, "-wal")) == 0 &&
        uintmax_t{pageCount} * pageSize > size)
        return false;
    why.clear();
    return true;
}

void SyncDirectory(const fs::path& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Builds an empty store beside the file and moves it into place in one step, so a crash never
// leaves a half-made store under the real name.
bool CreateStoreFile(const fs::path& file, const char* vfs, std::string& why) {
    // A name of our own beside the file, so no file that happens to be there is touched.
    std::string name = file.string() + ".init-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        why = std::string("create: ") + std::strerror(errno);
        return false;
    }
    ::close(fd);
    const fs::path temp = name;
    std::error_code ec;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs);
    bool ok = rc == SQLITE_OK && Exec(db, "PRAGMA synchronous = FULL") && Exec(db, kCreateSchema) &&
              Exec(db, "PRAGMA journal_mode = WAL");
    if (!ok) why = std::string("create: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    // A link, not a rename: a store another program made in the meantime is never replaced,
    // and is opened instead of ours. Only an empty file in its place is replaced.
    bool madeElsewhere = false;
    if (ok && ::link(temp.c_str(), file.c_str()) != 0) {
        const int error = errno;
        const bool exists = error == EEXIST;
        struct stat st {};
        if (exists && ::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0) {
            fs::rename(temp, file, ec);
            ok = !ec;
            if (ec) why = "create: " + ec.message();
        } else {
            madeElsewhere = exists;
            ok = false;
            why = std::string("create: ") + std::strerror(error);
        }
    }
    if (ok || madeElsewhere) {
        fs::remove(temp, ec);
        fs::remove(WithSuffix(temp, "-wal"), ec);
        fs::remove(WithSuffix(temp, "-shm"), ec);
        if (madeElsewhere) return true;
    }
    if (!ok) {
        fs::remove(temp, ec);
        fs::remove(WithSuffix(temp, "-journal"), ec);
        fs::remove(WithSuffix(temp, "-wal"), ec);
        fs::remove(WithSuffix(temp, "-shm"), ec);
        return false;
    }
    SyncDirectory(file.parent_path());
    return true;
}

// Opens a file that passed the header check, touching nothing in it until every check passed.
std::unique_ptr<ObjectStore> OpenVerified(const fs::path& file, const char* vfs, std::string& why) {
    sqlite3* db = nullptr;
    // One thread uses the store, so SQLite's own locking is left out.
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, vfs);
    if (rc != SQLITE_OK) {
        why = Reason("open", db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    // Closing after a failed check must not checkpoint the log into the file.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, 2000);
    auto store = StoreOnConnection(db, false, ScratchFolder(), why);
    if (store == nullptr) return nullptr;
    {
        Statement s;
        if (!s.Prepare(db, "PRAGMA journal_mode")) {
            why = Reason("read", db, 0);
            return nullptr;
        }
        Query q(s);
        const bool row = q.Row();
        const auto* mode =
            row ? reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)) : nullptr;
        if (mode == nullptr || std::strcmp(mode, "wal") != 0) {
            why = row ? "open: not a store of this program (no write-ahead log)"
                      : Reason("read", db, 0);
            return nullptr;
        }
    }
    // SQLite falls back to reading only when the file cannot be written: every change would
    // then fail one by one, so such a file is refused at once.
    if (sqlite3_db_readonly(db, "main") != 0) {
        why = "open: the store cannot be written";
        return nullptr;
    }
    if (!Exec(db, "PRAGMA synchronous = FULL")) {
        why = Reason("open", db, 0);
        return nullptr;
    }
    // Reads of the store map its file instead of copying each page out of the system's cache:
    // a full read of the records, at every start and every change of project, costs a third
    // less. Writes still go through the log. Not being able to map only loses the speed.
    Exec(db, kMapStoreFile);
    // SQLite folds the log when a change leaves it kFoldPages long (and ignores a fold that
    // fails), and cuts its file back once a large change has grown it. A store that cannot set
    // them only keeps a longer log.
    sqlite3_wal_autocheckpoint(db, kFoldPages);
    Exec(db, ("PRAGMA journal_size_limit = " + std::to_string(kLogSizeLimit)).c_str());
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return store;
}

// Whether this program (its effective user) may write the file or folder.
bool Writable(const fs::path& path) {
    return ::faccessat(AT_FDCWD, path.empty() ? "." : path.c_str(), W_OK, AT_EACCESS) == 0;
}

// A file SQLite opens but may not write it opens for reading only, and then makes a log and
// an index beside it with the file's own read-only mode, which would make every later start
// fail even once the file is writable again. So the store, its folder and a log or index
// beside it are checked first, and nothing is made when one of them cannot be written. A log
// or index that such a refused start of an earlier version left read-only is given the
// store's own mode again, as SQLite would have made it. Only permissions are looked at, so no
// file is opened (closing it would drop this program's locks on a store it already has open).
bool CheckWritable(const fs::path& file, std::string& why) {
    struct stat storeStat {};
    if (::stat(file.c_str(), &storeStat) != 0 || !Writable(file)) {
        why = std::string("open: ") + std::strerror(errno);
        return false;
    }
    if (!Writable(file.parent_path())) {
        why = std::string("open: the folder cannot be written: ") + std::strerror(errno);
        return false;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        const fs::path beside = WithSuffix(file, suffix);
        struct stat st {};
        if (::lstat(beside.c_str(), &st) != 0 || Writable(beside)) continue;
        const int error = errno;
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::chmod(beside.c_str(), storeStat.st_mode & 0666) == 0 && Writable(beside))
            continue;
        why = std::string("open: ") + beside.filename().string() + ": " + std::strerror(error);
        return false;
    }
    return true;
}

// The store is made or replaced only under a name that holds a plain file or nothing: a link
// leads to a store elsewhere (a drive that may not be mounted), and a pipe or a device is no
// place for one. Beside it, a log or index that is not a plain file is refused as well.
bool CheckFileKinds(const fs::path& file, std::string& why) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        struct stat target {};
        if (::stat(file.c_str(), &target) != 0) {
            why = "open: a symbolic link to a missing file";
            return false;
        }
        if (!S_ISREG(target.st_mode)) {
            why = "open: a symbolic link to " + DescribeFileKind(target.st_mode);
            return false;
        }
        if (target.st_size == 0) {  // a store would be made through the link
            why = "open: a symbolic link to an empty file";
            return false;
        }
    } else if (::lstat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        why = "open: " + DescribeFileKind(st.st_mode);
        return false;
    }
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const fs::path beside = WithSuffix(file, suffix);
        if (::lstat(beside.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            why = "open: " + beside.filename().string() + " is " + DescribeFileKind(st.st_mode);
            return false;
        }
    }
    return true;
}

// A first start cut short leaves its half-made store under a name of its own; the caller holds
// the data folder, so nobody else is making one now.
void RemoveStaleInitFiles(const fs::path& file) {
    const std::string prefix = file.filename().string() + ".init-";
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::vector<fs::path> stale;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            it->symlink_status(ec).type() == fs::file_type::regular) {
            stale.push_back(it->path());
        }
    }
    for (const fs::path& path : stale) fs::remove(path, ec);
}

std::unique_ptr<ObjectStore> OpenStore(const fs::path& file, const char* vfs, std::string& why) {
    if (!CheckFileKinds(file, why)) return nullptr;
    RemoveStaleInitFiles(file);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    // A log without its store is someone's data, not a place for a new store.
    const char* const kLonelyLog = "create: a write-ahead log lies there without its store";
    if (status.type() == fs::file_type::not_found) {
        if (SizeOrZero(WithSuffix(file, "-wal")) != 0) {
            why = kLonelyLog;
            return nullptr;
        }
        if (!CreateStoreFile(file, vfs, why)) return nullptr;
    } else if (ec) {
        why = "open: " + ec.message();
        return nullptr;
    } else if (status.type() != fs::file_type::regular) {
        why = "open: not a regular file";
        return nullptr;
    } else {
        const uintmax_t size = fs::file_size(file, ec);
        if (ec) {
            why = "open: " + ec.message();
            return nullptr;
        }
        if (size == 0) {
            if (!CheckWritable(file, why)) return nullptr;
            if (SizeOrZero(WithSuffix(file, "-wal")) != 0) {
                why = kLonelyLog;
                return nullptr;
            }
            if (!CreateStoreFile(file, vfs, why)) return nullptr;
        } else if (!HeaderIsOurs(file, size, why)) {
            return nullptr;
        }
    }
    if (!CheckWritable(file, why)) return nullptr;
    return OpenVerified(file, vfs, why);
}

// The file's name as a SQLite URI, so that parameters can follow it.
std::string FileUri(const fs::path& file) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : fs::absolute(file).string()) {
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

std::unique_ptr<ObjectStore> LookingStore(sqlite3* db, int rc, std::string& why,
                                          ScratchFolder scratch = ScratchFolder()) {
    if (rc != SQLITE_OK) {
        why = Reason("open", db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    return StoreOnConnection(db, true, std::move(scratch), why);
}

constexpr int kLookingFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;

// Looks at a store whose log holds changes: the store and its log are copied into a private
// folder and the copy is read, since SQLite would make an index file beside the real one.
std::unique_ptr<ObjectStore> LookAtCopy(const fs::path& file, std::string& why) {
    std::string name = (fs::temp_directory_path() / "quorvella-look-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        why = std::string("copy: ") + std::strerror(errno);
        return nullptr;
    }
    ScratchFolder folder(name);
    const fs::path copy = folder.path / "objectstore.sqlite";
    std::error_code ec;
    fs::copy_file(WithSuffix(file, "-wal"), WithSuffix(copy, "-wal"), ec);
    if (!ec) fs::copy_file(file, copy, ec);
    if (ec) {
        why = "copy: " + ec.message();
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(FileUri(copy).c_str(), &db, kLookingFlags, nullptr);
    return LookingStore(db, rc, why, std::move(folder));
}

std::unique_ptr<ObjectStore> LookAt(const fs::path& file, std::string& why) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || status.type() != fs::file_type::regular) {
        why = status.type() == fs::file_type::not_found ? "open: no such file"
              : ec                                      ? "open: " + ec.message()
                                                        : "open: not a regular file";
        return nullptr;
    }
    const uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        why = "open: " + ec.message();
        return nullptr;
    }
    const uintmax_t logSize = SizeOrZero(WithSuffix(file, "-wal"));
    sqlite3* db = nullptr;
    if (size == 0) {
        if (logSize != 0) {
            why = "open: a write-ahead log lies there without its store";
            return nullptr;
        }
        // What the first start would make of it: an empty store, here kept in memory.
        int rc =
            sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc == SQLITE_OK && !Exec(db, kCreateSchema)) rc = sqlite3_errcode(db);
        return LookingStore(db, rc, why);
    }
    if (!HeaderIsOurs(file, size, why)) return nullptr;
    if (logSize != 0) return LookAtCopy(file, why);
    // Without changes in a log the file alone is the store: read as unchanging, SQLite makes
    // no log or index beside it and takes no lock.
    const std::string uri = FileUri(file) + "?immutable=1";
    const int rc = sqlite3_open_v2(uri.c_str(), &db, kLookingFlags, nullptr);
    return LookingStore(db, rc, why);
}

// One line on standard error for whoever started the program; the user sees the program's
// own message.
void Report(const char* what, const fs::path& file, const std::string& why) {
    const std::string line = "quorvella: " + std::string(what) + " " + file.string() + ": " +
                             (why.empty() ? "unknown reason" : why) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace

std::unique_ptr<ObjectStore> OpenObjectStoreFile(const fs::path& file, const char* vfs) {
    std::string why;
    auto store = OpenStore(file, vfs, why);
    if (store == nullptr) Report("cannot open store", file, why);
    return store;
}

std::unique_ptr<ObjectStore> OpenObjectStoreForLooking(const fs::path& file) {
    std::string why;
    auto store = LookAt(file, why);
    if (store == nullptr) Report("cannot look at store", file, why);
    return store;
}

}  // namespace qv
