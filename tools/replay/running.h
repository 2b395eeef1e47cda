// The device services of a program started by a replay.
#pragma once

#include <filesystem>
#include <memory>

#include "app/app.h"
#include "platform/files/data_folder_lock.h"
#include "platform/files/device_files.h"
#include "platform/headless/headless_host.h"
#include "platform/objectstore/object_store.h"
#include "platform/registry/registry_hive.h"
#include "tools/replay/replay.h"

namespace qv::replay {

// The single-instance rule over one replay: the first start registers its window, a start
// while it runs finds it.
class ReplayInstances : public InstanceCheck {
  public:
    explicit ReplayInstances(bool& running) : running_(running) {}
    bool RaiseRunningInstance(const std::u16string&, const std::u16string&) override {
        if (running_) return true;
        running_ = true;
        return false;
    }

  private:
    bool& running_;
};

// The device services of a running program.
struct Replay::Running {
    // vfs: the store's SQLite file layer, null for the system's own.
    // lock: the device's data folder, already held.
    Running(const std::filesystem::path& root, std::unique_ptr<DataFolderLock> lock,
            bool& instanceFlag, const char* vfs = nullptr)
        : folders(DeviceFolders::UnderRoot(root)),
          lock(std::move(lock)),
          hive(folders.HiveFile()),
          files(folders),
          instances(instanceFlag) {
        store = OpenObjectStoreFile(folders.StoreFile(), vfs);
        if (store == nullptr) store = MakeUnavailableObjectStore();
    }
    DeviceFolders folders;
    std::unique_ptr<DataFolderLock> lock;  // taken before the hive and the store are read
    RegistryHive hive;
    DeviceFiles files;
    ReplayInstances instances;
    std::unique_ptr<ObjectStore> store;
    std::unique_ptr<HeadlessHost> host;
};

}  // namespace qv::replay
