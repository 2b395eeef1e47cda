// A device with a real store file in a temporary folder, a fresh program state and a clock
// that stands still.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "core/app_state.h"
#include "files/temp_dir.h"
#include "platform/objectstore/object_store.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "store/store_context.h"

namespace qv::testing {

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Restart();
        clock.Set(At(2005, 10, 29, 12, 0, 0));
    }

    void Close() {
        ctx.reset();
        state.reset();
        store.reset();
    }

    // A new run of the program on the same device: fresh state, the store file reopened (on
    // the file layer `vfs`), or with `fresh` removed first.
    void Restart(bool fresh = false, const char* vfs = nullptr) {
        Close();
        if (fresh) std::filesystem::remove(File());
        store = OpenObjectStoreFile(File(), vfs);
        ASSERT_NE(store, nullptr);
        state = std::make_unique<AppState>();
        ctx = std::make_unique<StoreContext>(StoreContext{*state, *store, clock});
    }

    std::filesystem::path File() const { return dir_ / "objectstore.sqlite"; }

    static CalendarDate At(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi,
                           uint16_t s) {
        CalendarDate t = MakeDate(y, mo, d);
        std::tie(t.hour, t.minute, t.second) = std::tie(h, mi, s);
        return t;
    }

    // Writes a time record of 29-10-2005 as stored properties, as an earlier run or another
    // program did, making the time database when there is none.
    void StoreRawRecord(uint32_t id, uint32_t project, const Text& minutes) {
        CEOID oid = 0;
        StoreHandle h = OpenByName(*store, kTimeDatabaseName, oid);
        if (h == kInvalidStoreHandle) {
            store->CeCreateDatabase(kTimeDatabaseName, 0);
            h = OpenByName(*store, kTimeDatabaseName, oid);
        }
        ASSERT_NE(
            store->CeWriteRecordProps(
                h, 0,
                {PropValue::Number(0x00000013, id), PropValue::Number(0x00010013, project),
                 PropValue::Number(0x00020013, 29), PropValue::Number(0x00030013, 10),
                 PropValue::Number(0x00040013, 2005), PropValue::String(0x0005001F, u"Travel"),
                 PropValue::String(0x0006001F, minutes), PropValue::String(0x0007001F, u" ")}),
            0u);
        store->CloseHandle(h);
    }

    void SetCategories(std::initializer_list<const char16_t*> names) {
        state->categories.Clear();
        for (const char16_t* name : names) {
            CategoryItem c;
            SetName(c, std::u16string(name));
            state->categories.Add(c);
        }
    }

    // Adds a project to the store and to the list; its identifier.
    uint32_t AddProject(const char16_t* name, CalendarDate created = MakeDate(2005, 10, 1)) {
        ProjectRecord p;
        p.name = std::u16string(name);
        SetDate(p, created);
        EXPECT_TRUE(AddProjectRecord(*ctx, p, p.projectId));
        state->projects.Append(p);
        return p.projectId;
    }

    test::TempDir dir_;
    FixedClock clock;
    std::unique_ptr<ObjectStore> store;
    std::unique_ptr<AppState> state;
    std::unique_ptr<StoreContext> ctx;
};

}  // namespace qv::testing
