// Edits one stored record as the window's Edit does, then lets the sync engine write it out:
//   edit_record DATA_FOLDER DATE MEMO MINUTES NEW_MEMO
// The record is the one of DATE (YYYY-MM-DD) whose memo is MEMO. Exit status 0 when it was
// rewritten and the change went to the journal.
#include <cstdio>
#include <string>

#include "platform/files/device_files.h"
#include "platform/files/system_clock.h"
#include "platform/objectstore/object_store.h"
#include "store/record_store.h"
#include "sync/sync_engine.h"

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    const qv::DeviceFolders folders{argv[1], argv[1]};
    auto store = qv::OpenObjectStoreFile(folders.StoreFile());
    if (store == nullptr) return 1;
    qv::AppState state;
    qv::SystemClock clock;
    qv::StoreContext ctx{state, *store, clock};
    if (!qv::OpenStore(ctx) || !qv::LoadAllTimeRecords(ctx)) return 1;
    const std::u16string memo = qv::FromUtf8(argv[3]);
    qv::TimeRecord* record = state.timeRecords.FindFirst([&](const qv::TimeRecord& r) {
        char date[20];
        std::snprintf(date, sizeof date, "%04u-%02u-%02u", unsigned(r.date.year),
                      unsigned(r.date.month), unsigned(r.date.day));
        return date == std::string(argv[2]) && r.memo == memo;
    });
    if (record == nullptr) return 1;
    qv::SetMinutes(*record, qv::FromUtf8(argv[4]));
    qv::SetMemo(*record, qv::FromUtf8(argv[5]));
    if (!qv::UpdateTimeRecord(ctx, *record)) return 1;
    qv::sync::Engine engine(ctx);
    engine.LocalChange();
    const qv::sync::RunResult run = engine.Run();
    return run.ok && run.written > 0 ? 0 : 1;
}
