// Runs the whole program on the headless host over a device folder that a test prepares with
// the store operations, and lets the test act whenever the program waits for the user.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "app/app.h"
#include "app/main_window.h"
#include "app/program_resources.h"
#include "desktop/watched_store.h"
#include "files/temp_dir.h"
#include "platform/headless/headless_host.h"
#include "platform/registry/registry_hive.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "support/record_builders.h"
#include "tools/replay/transcript.h"

namespace qv::testing {

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folders_.Provision());
        CalendarDate now = MakeDate(2005, 10, 29);
        now.hour = 12;
        clock_.Set(now);
    }

    // One project "Alpha" with a 30-minute Travel record a day from 1 January on, 28 days a month.
    void SeedRecords(int count) {
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        ASSERT_NE(store, nullptr);
        AppState state;
        StoreContext ctx{state, *store, clock_};
        ASSERT_TRUE(OpenStore(ctx));
        ProjectRecord p = MakeProject(u"Alpha", 0);
        SetDate(p, MakeDate(2005, 10, 1));
        uint32_t pid = 0;
        ASSERT_TRUE(AddProjectRecord(ctx, p, pid));
        StoreTransaction bulk(*store);
        for (int i = 0; i < count; ++i) {
            TimeRecord r = MakeRecord(0, 2005, 1 + i / 28 % 12, 1 + i % 28, 30, u"Travel", {}, pid);
            uint32_t id = 0;
            ASSERT_TRUE(AddTimeRecord(ctx, r, id));
        }
        ASSERT_TRUE(bulk.Commit());
    }

    void SetSetting(const char16_t* name, uint32_t value) {
        RegistryHive hive(folders_.HiveFile());
        auto key = hive.CreateKey(u"Software\\Brumo\\Quorvella\\Settings");
        ASSERT_TRUE(key);
        hive.SetDwordValue(*key, name, value);
        hive.CloseKey(*key);
    }

    using Step = std::function<HeadlessAction(HeadlessHost&)>;

    // Runs the program; each step is called when it waits for the user and returns the action
    // it takes. After the last step the program is closed the shell's way. While it runs,
    // store_ is its object store, for steps that make it refuse changes.
    int Run(std::deque<Step> steps, const ProgramWatch& watch = {}) {
        RegistryHive hive(folders_.HiveFile());
        DeviceFiles files(folders_);
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        store_ = store.get();
        struct : InstanceCheck {  // no other program runs
            bool RaiseRunningInstance(const std::u16string&, const std::u16string&) override {
                return false;
            }
        } instances;
        std::unique_ptr<HeadlessHost> host;
        host = std::make_unique<HeadlessHost>(
            ProgramResources(), clock_,
            [&]() -> std::optional<HeadlessAction> {
                if (steps.empty()) return HeadlessAction::MakeClose();
                auto step = std::move(steps.front());
                steps.pop_front();
                return step(*host);
            },
            [&](const HostEvent& e) { events.push_back(replay::EventLine(e)); },
            [&](const std::string& error) { ADD_FAILURE() << error; });
        host->SetScreenSize(screen);
        WatchedStore watched(*store, kTimeDatabaseName);  // as the desktop program runs it
        watched.onChange = [this] { ++storeChanges; };
        watched.onRecordAdded = [this](const std::vector<PropValue>& props) {
            ++storeChanges;
            addedRecords.push_back(props);
        };
        ProgramServices services{*host, hive, watched, files, instances};
        const int code = QuorvellaMain(services, ProgramEnd::Tidy, [&](App* app) {
            app_ = app;
            if (watch) watch(app);
        });
        store_ = nullptr;
        return code;
    }

    static Step Do(HeadlessAction action) {
        return [action](HeadlessHost&) { return action; };
    }
    // The step that looks at the host before it does `action`.
    static Step Then(std::function<void(HeadlessHost&)> look, HeadlessAction action) {
        return [look, action](HeadlessHost& host) {
            look(host);
            return action;
        };
    }
    // The step that lets `changes` more store changes through (-1: all of them again) before
    // it does `action`.
    Step FailingAfter(int changes, HeadlessAction action) {
        return [this, changes, action](HeadlessHost&) {
            store_->FailChangesAfter(changes);
            return action;
        };
    }
    // How often the program said this transcript line.
    int Said(const std::string& line) const {
        return static_cast<int>(std::count(events.begin(), events.end(), line));
    }

    static Dialog& Bar(HeadlessHost& host) { return *host.Main()->Child(); }
    // One column of the main list, each cell followed by a blank.
    static std::u16string Column(HeadlessHost& host, int column) {
        std::u16string cells;
        for (int row = 0; row < Bar(host).RowCount(kMainList); ++row) {
            cells += Bar(host).Cell(kMainList, row, column) + u" ";
        }
        return cells;
    }

    test::TempDir root_;
    DeviceFolders folders_ = DeviceFolders::UnderRoot(root_.path());
    FixedClock clock_;
    Size screen{240, 320};
    std::vector<std::string> events;
    ObjectStore* store_ = nullptr;
    int storeChanges = 0;                              // changes the watched store told of
    std::vector<std::vector<PropValue>> addedRecords;  // new records it told of one by one
    App* app_ = nullptr;                               // the run, while its main window is up
};

}  // namespace qv::testing
