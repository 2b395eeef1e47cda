// A device for the whole-program benchmarks: one project, "Alpha", holding the largest number
// of time records a database keeps; and a single-instance rule that never finds another.
#pragma once

#include <filesystem>

#include "app/app.h"
#include "bench_records.h"
#include "core/cursor_list.h"
#include "platform/files/device_files.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv::bench {

class NoOtherInstance : public InstanceCheck {
  public:
    bool RaiseRunningInstance(const std::u16string&, const std::u16string&) override {
        return false;
    }
};

// Makes the device under `root` afresh.
inline DeviceFolders PrepareFullDevice(const std::filesystem::path& root) {
    std::filesystem::remove_all(root);
    DeviceFolders f = DeviceFolders::UnderRoot(root);
    f.Provision();
    auto store = OpenObjectStoreFile(f.StoreFile());
    AppState state;
    RecordingShell shell;
    FixedClock clock(MakeDate(2005, 10, 29));
    StoreContext ctx{state, *store, shell, clock};
    OpenStore(ctx);
    ProjectRecord p;
    p.name = u"Alpha";
    SetDate(p, MakeDate(2005, 1, 1));
    uint32_t pid = 0;
    AddProjectRecord(ctx, p, pid);
    FillTimeDatabase(*store, state.handles.timeHandle, kMaxListRecords,
                     [pid](uint32_t) { return pid; });
    return f;
}

}  // namespace qv::bench
