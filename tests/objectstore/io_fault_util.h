// Breaking a store change at each of its reads, writes and syncs in turn, and judging the file
// it leaves behind.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <string>

#include "files/temp_dir.h"
#include "platform/objectstore/fault_vfs.h"

namespace qv::test {

struct IoFaultKind {
    IoPoint point;
    IoError error;
    bool lasting;
    const char* name;
} inline constexpr kIoFaultKinds[] = {
    {IoPoint::Read, IoError::Failed, false, "failed read"},
    {IoPoint::Write, IoError::Failed, false, "failed write"},
    {IoPoint::Write, IoError::DiskFull, true, "full disk"},
    {IoPoint::Sync, IoError::Failed, false, "failed sync"},
};

// The database every attempt writes one record to after the change, on the same store.
inline constexpr char16_t kAsideDatabase[] = u"Aside";

// What the store file holds, read with SQLite's own file layer: its integrity verdict, every
// database with its record count, and every record outside the aside database (whose
// identifiers differ from run to run).
inline std::string StoreContents(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    std::string text;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        text = "cannot open\n";
    for (const char* sql :
         {"PRAGMA integrity_check", "SELECT hex(name), type, records FROM databases ORDER BY name",
          "SELECT hex(d.name), r.sortkey, r.oid, hex(r.props) FROM records r JOIN databases d "
          "ON d.oid = r.db WHERE d.name <> x'41007300690064006500' ORDER BY r.oid"}) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
            text += std::string("cannot read: ") + sqlite3_errmsg(db) + "\n";
        while (s && sqlite3_step(s) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(s); ++i) {
                const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
                text += std::string(v ? v : "null") + ' ';
            }
            text += '\n';
        }
        sqlite3_finalize(s);
        text += "--\n";
    }
    sqlite3_close(db);
    return text;
}

// One attempt at a change, on a fresh copy of the starting store.
struct ChangeSteps {
    std::function<void()> ready;   // opens the store on the fault layer, readies the change
    std::function<bool()> change;  // makes it; what it reported
    std::function<void()> finish;  // one more record into the aside database, then closes
};

// Starting from `start` (the bytes of a closed store), makes the change once without a fault
// and once not at all, then, for every kind of fault, once for every call of that kind the
// change makes, failing that call. Each failed attempt must leave the file holding the state
// before or after the change, and a change that is not there must have been reported failed.
class IoFaultLoop {
  public:
    IoFaultLoop(std::filesystem::path file, std::string start)
        : file_(std::move(file)), start_(std::move(start)) {}

    void RunEveryKind(const ChangeSteps& steps) {
        for (const IoFaultKind& kind : kIoFaultKinds) {
            if (!Run(kind, steps)) return;
        }
    }

  private:
    // False once a check failed.
    bool Run(const IoFaultKind& kind, const ChangeSteps& steps) {
        Attempt(steps, false, [] {});
        const std::string old = StoreContents(file_);
        EXPECT_TRUE(Attempt(steps, true, [] {})) << "the change fails without a fault";
        const std::string made = StoreContents(file_);
        EXPECT_NE(old, made) << "the change changes nothing";
        for (int n = 1; n < 5000 && !::testing::Test::HasFailure(); ++n) {
            SCOPED_TRACE(::testing::Message() << kind.name << " at call " << n);
            const bool reported =
                Attempt(steps, true, [&] { ArmIoFault(kind.point, n, kind.error, kind.lasting); });
            const std::string contents = StoreContents(file_);
            if (!IoFaultHit()) {
                EXPECT_TRUE(reported);
                EXPECT_EQ(contents, made);
                return !::testing::Test::HasFailure();
            }
            if (contents == old) {
                EXPECT_FALSE(reported) << "success reported, but the change is not there";
            } else {
                EXPECT_EQ(contents, made) << "neither before nor after the change; before:\n"
                                          << old;
            }
        }
        if (!::testing::Test::HasFailure()) ADD_FAILURE() << "the change never gets through";
        return false;
    }

    bool Attempt(const ChangeSteps& steps, bool makeChange, const std::function<void()>& arm) {
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(file_.string() + suffix, ec);
        WriteBytes(file_, start_);
        DisarmIoFault();
        steps.ready();
        arm();
        const bool reported = makeChange && steps.change();
        DisarmIoFault();
        steps.finish();
        return reported;
    }

    std::filesystem::path file_;
    std::string start_;
};

}  // namespace qv::test
