// A device with a real store file in a temporary folder, a fresh program state and a clock
// that stands still.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/app_state.h"
#include "files/temp_dir.h"
#include "platform/objectstore/object_store.h"
#include "store/store_context.h"

namespace qv::testing {

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Restart();
        clock.Set(At(2005, 10, 29, 12, 0, 0));
    }

    // A new run of the program on the same device: fresh state, the store file reopened.
    void Restart() {
        ctx.reset();
        state.reset();
        store.reset();
        store = OpenObjectStoreFile(dir_ / "objectstore.sqlite");
        ASSERT_NE(store, nullptr);
        state = std::make_unique<AppState>();
        ctx = std::make_unique<StoreContext>(StoreContext{*state, *store, clock});
    }

    static CalendarDate At(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi,
                           uint16_t s) {
        CalendarDate t = MakeDate(y, mo, d);
        t.hour = h;
        t.minute = mi;
        t.second = s;
        return t;
    }

    test::TempDir dir_;
    FixedClock clock;
    std::unique_ptr<ObjectStore> store;
    std::unique_ptr<AppState> state;
    std::unique_ptr<StoreContext> ctx;
};

}  // namespace qv::testing
