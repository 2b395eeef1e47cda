// The identifier a new time record gets: the clock's digits, moved on a second at a time past
// every stored identifier. Checked against the plain one-lookup-per-second walk.
#include <gtest/gtest.h>

#include <random>

#include "core/cursor_list.h"
#include "store/record_store.h"
#include "store_fixture.h"

namespace qv {
namespace {

// The plain walk: one store lookup per second tried.
uint32_t OneLookupPerSecond(StoreContext& ctx) {
    CalendarDate now = ctx.clock.GetSystemTime();
    uint32_t id = ClockDigitsId(now);
    const uint32_t handle = ctx.state.handles.timeHandle;
    for (uint32_t tries = 0; tries <= kMaxListRecords; ++tries) {
        if (ctx.store.CeSeekDatabase(handle, CEDB_SEEK_VALUEFIRSTEQUAL, id) == 0) break;
        now = OneSecondLater(now);
        id = ClockDigitsId(now);
    }
    return id;
}

class NewRecordIdTest : public testing::StoreTest {
  protected:
    // Stores one record for each of `seconds` seconds from `from` for which keep(i) holds,
    // as records booked one second apart.
    void StoreBookedEverySecond(
        CalendarDate from, uint32_t seconds,
        bool (*keep)(uint32_t) = [](uint32_t) { return true; }) {
        StoreTransaction bulk(*store);
        for (uint32_t i = 0; i < seconds; ++i, from = OneSecondLater(from)) {
            if (keep(i)) StoreRawRecord(ClockDigitsId(from), 7, u"30");
        }
        ASSERT_TRUE(bulk.Commit());
    }
};

// What one search remembers for the next never changes the answer. From each stored layout
// (records booked a second apart, with gaps, across a day, a month and a year end, identifiers
// stored twice, digits that different moments share) a random walk books, deletes inside and
// at the end of the taken run, moves the clock on or back, and deletes in ways the search does
// not hear of; every new identifier is the plain walk's.
TEST_F(NewRecordIdTest, RememberedSearchesAnswerAsThePlainWalk) {
    constexpr auto every = [](uint32_t) { return true; };
    const struct {
        CalendarDate from;
        uint32_t seconds;
        bool (*keep)(uint32_t);
        uint32_t twice;  // this many seconds from the first are stored twice
    } layouts[] = {
        {At(2005, 10, 29, 9, 58, 0), 4000, every, 0},
        {At(2005, 10, 29, 11, 0, 0), 3000, [](uint32_t i) { return i % 997 != 996; }, 0},
        {At(2004, 2, 28, 23, 40, 0), 2500, every, 0},
        {At(2005, 12, 31, 23, 45, 0), 2500, every, 0},
        {At(2005, 11, 1, 1, 10, 50), 1200, every, 30},
    };
    std::mt19937 random(20051029);
    const auto any = [&](size_t n) { return static_cast<size_t>(random() % n); };
    TimeRecord r;
    Reset(r);
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.seconds);
        Restart(true);
        ASSERT_TRUE(OpenStore(*ctx));
        StoreBookedEverySecond(layout.from, layout.seconds, layout.keep);
        StoreBookedEverySecond(layout.from, layout.twice);
        if (layout.twice)
            StoreRawRecord(11111, 7, u"30");  // 1:11:1 and 11:1:1 on the 1st share their digits
        std::vector<CalendarDate> moments = {layout.from};
        while (moments.size() < layout.seconds + 200)
            moments.push_back(OneSecondLater(moments.back()));
        clock.Set(layout.from);
        EXPECT_EQ(NewRecordId(*ctx), OneLookupPerSecond(*ctx));
        std::vector<uint32_t> booked;
        for (int step = 0; step < 150; ++step) {
            switch (any(8)) {
                case 0:  // the clock moves somewhere within the taken seconds or a little past
                    clock.Set(moments[any(moments.size())]);
                    break;
                case 1:  // the record booked last is deleted again
                    if (!booked.empty()) {
                        ASSERT_TRUE(DeleteTimeRecord(*ctx, booked.back()));
                        booked.pop_back();
                    }
                    break;
                case 2:  // a record in the middle of the run is deleted
                    ASSERT_TRUE(
                        DeleteTimeRecord(*ctx, ClockDigitsId(moments[any(layout.seconds)])));
                    break;
                case 3: {  // deleted another way (a range, a project's records)
                    const uint32_t id = ClockDigitsId(moments[any(moments.size())]);
                    const StoreHandle h = state->handles.timeHandle;
                    const CEOID oid = store->CeSeekDatabase(h, CEDB_SEEK_VALUEFIRSTEQUAL, id);
                    if (oid != 0) {
                        ASSERT_TRUE(store->CeDeleteRecord(h, oid));
                    }
                    break;
                }
                default: {  // a booking
                    const uint32_t expected = OneLookupPerSecond(*ctx);
                    uint32_t id = 0;
                    ASSERT_TRUE(AddTimeRecord(*ctx, r, id));
                    ASSERT_EQ(id, expected) << "step " << step;
                    booked.push_back(id);
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv
