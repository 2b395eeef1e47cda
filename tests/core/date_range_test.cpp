// The range of days: its order check and its membership test at the edges.
#include "core/date_range.h"

#include <gtest/gtest.h>

#include "core/formatting.h"

namespace qv {
namespace {

TEST(DateRange, HoldsBothEndsAndRefusesAReversedPair) {
    const uint32_t first = DateKeyOf(2005, 1, 31);
    const uint32_t last = DateKeyOf(2005, 3, 1);
    struct Case {
        uint32_t key, from, to;
        bool in;
    };
    const Case cases[] = {
        {DateKeyOf(2005, 1, 30), first, last, false},  // the day before
        {first, first, last, true},
        {DateKeyOf(2005, 2, 28), first, last, true},
        {last, first, last, true},
        {DateKeyOf(2005, 3, 2), first, last, false},  // the day after
        {first, first, first, true},                  // a single day
        {DateKeyOf(2005, 1, 30), first, first, false},
        {DateKeyOf(2005, 2, 1), first, first, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DayInRange(c.key, c.from, c.to), c.in)
            << c.key << " in " << c.from << "-" << c.to;
    }
    EXPECT_TRUE(IsOrderedRange(first, last));
    EXPECT_TRUE(IsOrderedRange(first, first));
    EXPECT_FALSE(IsOrderedRange(last, first));  // reversed
}

}  // namespace
}  // namespace qv
