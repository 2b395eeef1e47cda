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
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(OpenStore(*ctx));
    }

    // Stores one record for each of `seconds` seconds from `from` for which keep(i) holds,
    // as records booked one second apart.
    void StoreBookedEverySecond(
        CalendarDate from, uint32_t seconds,
        bool (*keep)(uint32_t) = [](uint32_t) { return true; }) {
        StoreTransaction bulk(*store);
        for (uint32_t i = 0; i < seconds; ++i, from = OneSecondLater(from)) {
            if (keep(i)) StoreId(ClockDigitsId(from));
        }
        ASSERT_TRUE(bulk.Commit());
    }

    void StoreId(uint32_t id) {
        const std::vector<PropValue> props = {
            PropValue::Number(0x00000013, id),    PropValue::Number(0x00010013, 7),
            PropValue::Number(0x00020013, 29),    PropValue::Number(0x00030013, 10),
            PropValue::Number(0x00040013, 2005),  PropValue::String(0x0005001F, u"Travel"),
            PropValue::String(0x0006001F, u"30"), PropValue::String(0x0007001F, u" ")};
        ASSERT_NE(store->CeWriteRecordProps(state->handles.timeHandle, 0, props), 0u);
    }

    // The new identifier, after checking it against the plain walk.
    uint32_t NewIdAsBefore() {
        const uint32_t expected = OneLookupPerSecond(*ctx);
        const uint32_t id = NewRecordId(*ctx);
        EXPECT_EQ(id, expected);
        return id;
    }
};

TEST_F(NewRecordIdTest, FreeClockDigitsAreTakenAsTheyAre) {
    clock.Set(At(2005, 10, 29, 14, 3, 9));
    EXPECT_EQ(NewIdAsBefore(), 291439u);
    StoreId(291438);
    StoreId(2914310);
    EXPECT_EQ(NewIdAsBefore(), 291439u);
}

TEST_F(NewRecordIdTest, RecordsBookedASecondApartAreAllPassed) {
    const CalendarDate from = At(2005, 10, 29, 9, 58, 0);
    StoreBookedEverySecond(from, 4000);
    for (uint32_t offset : {0u, 1u, 9u, 10u, 59u, 60u, 1999u, 3999u}) {
        CalendarDate now = from;
        for (uint32_t i = 0; i < offset; ++i) now = OneSecondLater(now);
        clock.Set(now);
        NewIdAsBefore();
    }
    clock.Set(from);
    CalendarDate after = from;
    for (uint32_t i = 0; i < 4000; ++i) after = OneSecondLater(after);
    EXPECT_EQ(NewRecordId(*ctx), ClockDigitsId(after));
}

TEST_F(NewRecordIdTest, TheFirstGapWins) {
    const CalendarDate from = At(2005, 10, 29, 11, 0, 0);
    StoreBookedEverySecond(from, 3000, [](uint32_t i) { return i % 997 != 996; });
    clock.Set(from);
    NewIdAsBefore();
    StoreBookedEverySecond(At(2005, 10, 29, 11, 16, 36), 1);  // the first gap closed
    NewIdAsBefore();
}

TEST_F(NewRecordIdTest, DayMonthAndYearCarries) {
    for (const CalendarDate& from : {At(2005, 10, 29, 23, 30, 0), At(2005, 2, 28, 23, 40, 0),
                                     At(2004, 2, 28, 23, 40, 0), At(2005, 12, 31, 23, 45, 0)}) {
        StoreBookedEverySecond(from, 2500);
        clock.Set(from);
        NewIdAsBefore();
    }
}

TEST_F(NewRecordIdTest, RepeatedStoredIdentifiersAndTheRecordThatFollows) {
    // Different moments share digits (1:11:1 and 11:1:1 on the 1st) and older data holds
    // identifiers twice.
    const CalendarDate from = At(2005, 11, 1, 1, 10, 50);
    StoreBookedEverySecond(from, 1200);
    StoreBookedEverySecond(from, 30);
    StoreId(11111);
    clock.Set(from);
    const uint32_t id = NewIdAsBefore();
    TimeRecord r;
    Reset(r);
    uint32_t stored = 0;
    ASSERT_TRUE(AddTimeRecord(*ctx, r, stored));
    EXPECT_EQ(stored, id);
    EXPECT_NE(NewIdAsBefore(), id);
}

// What one search remembers for the next never changes the answer: bookings, deletions
// inside and at the end of the taken run, a clock moving on or back, and deletions the search
// does not hear of, in a random order.
TEST_F(NewRecordIdTest, RememberedSearchesAnswerAsThePlainWalk) {
    const CalendarDate from = At(2005, 10, 29, 9, 0, 0);
    StoreBookedEverySecond(from, 3000);
    std::vector<CalendarDate> moments = {from};
    for (int i = 0; i < 3200; ++i) moments.push_back(OneSecondLater(moments.back()));
    std::mt19937 random(20051029);
    const auto any = [&](size_t n) { return static_cast<size_t>(random() % n); };
    std::vector<uint32_t> booked;
    TimeRecord r;
    Reset(r);
    for (int step = 0; step < 400; ++step) {
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
                ASSERT_TRUE(DeleteTimeRecord(*ctx, ClockDigitsId(moments[any(3000)])));
                break;
            case 3: {  // deleted another way (a range, a project's records)
                const uint32_t id = ClockDigitsId(moments[any(moments.size())]);
                const CEOID oid =
                    store->CeSeekDatabase(state->handles.timeHandle, CEDB_SEEK_VALUEFIRSTEQUAL, id);
                if (oid != 0) {
                    ASSERT_TRUE(store->CeDeleteRecord(state->handles.timeHandle, oid));
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

}  // namespace
}  // namespace qv
