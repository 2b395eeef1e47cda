// A device for the whole-program benchmarks: one project, "Alpha", holding the largest number
// of time records a database keeps; and a single-instance rule that never finds another.
// Device folders are made under the temporary folder and removed when the program ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "app/app.h"
#include "bench_records.h"
#include "core/cursor_list.h"
#include "platform/files/device_files.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"

namespace qv::bench {

// The device folders this program made; all are removed when it ends.
class DeviceRoots {
  public:
    DeviceRoots() = default;
    DeviceRoots(const DeviceRoots&) = delete;
    DeviceRoots& operator=(const DeviceRoots&) = delete;
    ~DeviceRoots() {
        for (const auto& root : roots_) {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
        }
    }
    void Add(const std::filesystem::path& root) { roots_.insert(root); }

  private:
    std::set<std::filesystem::path> roots_;
};

// The folder "qv-NAME-bench-PID[-VARIANT]" under the temporary folder, removed at exit.
inline std::filesystem::path DeviceRoot(std::string_view name, std::string_view variant = {}) {
    static DeviceRoots roots;
    std::string leaf = "qv-" + std::string(name) + "-bench-" + std::to_string(getpid());
    if (!variant.empty()) leaf += "-" + std::string(variant);
    std::filesystem::path root = std::filesystem::temp_directory_path() / leaf;
    roots.Add(root);
    return root;
}

class NoOtherInstance : public InstanceCheck {
  public:
    bool RaiseRunningInstance(const std::u16string&, const std::u16string&) override {
        return false;
    }
};

// A device made afresh under `root`, with its three databases, to put projects, categories and
// records in through the program's own store operations.
class DeviceBuilder {
  public:
    explicit DeviceBuilder(const std::filesystem::path& root,
                           CalendarDate now = MakeDate(2005, 10, 29))
        : folders_(Fresh(root)),
          store_(OpenObjectStoreFile(folders_.StoreFile())),
          clock_(now),
          ctx_{state_, *store_, clock_} {
        (void)OpenStore(ctx_);
    }

    // A project created on 1 January 2005; the clock moves on a second, so the next one gets
    // an identifier of its own.
    uint32_t AddProject(std::u16string name) {
        ProjectRecord p;
        p.name = std::move(name);
        SetDate(p, MakeDate(2005, 1, 1));
        uint32_t id = 0;
        (void)AddProjectRecord(ctx_, p, id);
        clock_.Set(OneSecondLater(clock_.GetSystemTime()));
        return id;
    }
    void AddCategory(std::u16string name) {
        CategoryItem item;
        SetName(item, name);
        state_.categories.Add(item);
        (void)SaveCategories(ctx_);
    }
    // `count` typical records; projectOf(i) gives the project of the i-th one.
    void FillRecords(uint32_t count, const std::function<uint32_t(uint32_t)>& projectOf) {
        FillTimeDatabase(*store_, TimeHandle(), count, projectOf);
    }
    ObjectStore& Store() { return *store_; }
    StoreHandle TimeHandle() const { return state_.handles.timeHandle; }
    const DeviceFolders& Folders() const { return folders_; }

  private:
    static DeviceFolders Fresh(const std::filesystem::path& root) {
        std::filesystem::remove_all(root);
        DeviceFolders f = DeviceFolders::UnderRoot(root);
        f.Provision();
        return f;
    }

    DeviceFolders folders_;
    std::unique_ptr<ObjectStore> store_;
    AppState state_;
    FixedClock clock_;
    StoreContext ctx_;
};

// The store the performance figures are measured on: 65,535 records, the most a database
// keeps, over fifteen projects, twenty categories and three years. The current project,
// "Alpha", holds 64,000 of them; the other fourteen share the rest.
constexpr uint32_t kStandardLargeProject = 64000;
inline DeviceFolders PrepareStandardDevice(const std::filesystem::path& root) {
    static constexpr const char16_t* kProjects[] = {
        u"Alpha", u"Beta",  u"Gamma",  u"Delta", u"Epsilon", u"Zeta", u"Eta",    u"Theta",
        u"Iota",  u"Kappa", u"Lambda", u"Mu",    u"Nu",      u"Xi",   u"Omicron"};
    static constexpr const char16_t* kCategories[] = {
        u"Meeting", u"Travel",   u"Office",  u"Design",   u"Coding",    u"Review",   u"Support",
        u"Sales",   u"Training", u"Writing", u"Planning", u"Testing",   u"Research", u"Admin",
        u"Calls",   u"Email",    u"Lunch",   u"Workshop", u"Interview", u"Other"};
    DeviceBuilder device(root);
    std::vector<uint32_t> ids;
    for (const char16_t* name : kProjects) ids.push_back(device.AddProject(name));
    for (const char16_t* name : kCategories) device.AddCategory(name);
    FillStandardTimeDatabase(
        device.Store(), device.TimeHandle(),
        [&ids](uint32_t i) {
            return i < kStandardLargeProject ? ids[0] : ids[1 + i % (ids.size() - 1)];
        },
        kCategories);
    return device.Folders();
}

// One project, "Alpha", holding the largest number of records a database keeps.
inline DeviceFolders PrepareFullDevice(const std::filesystem::path& root) {
    DeviceBuilder device(root);
    const uint32_t alpha = device.AddProject(u"Alpha");
    device.FillRecords(kMaxListRecords, [alpha](uint32_t) { return alpha; });
    return device.Folders();
}

}  // namespace qv::bench
