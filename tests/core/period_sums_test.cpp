// A week's and a month's sums against a plain walk over every record.
#include "core/period_sums.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeCategory;
using testing::MakeProject;
using testing::MakeRecord;

TEST(PeriodSums, WeeksAndMonthsFollowTheCalendar) {
    // 7 December 2026 is a Monday; a week from Sunday holds the 6th to the 12th.
    EXPECT_EQ(Weekday(MakeDate(2026, 12, 7)), 1);
    EXPECT_EQ(PeriodHolding(MakeDate(2026, 12, 10), PeriodKind::Week, 1).FirstKey(), 20261207u);
    const Period sunday = PeriodHolding(MakeDate(2026, 12, 12), PeriodKind::Week, 7);
    EXPECT_EQ(sunday.FirstKey(), 20261206u);
    EXPECT_EQ(sunday.LastKey(), 20261212u);
    EXPECT_EQ(Shifted(PeriodHolding(MakeDate(2026, 12, 31), PeriodKind::Week, 1), 1).LastKey(),
              20270110u);
    const Period feb = Shifted(PeriodHolding(MakeDate(2024, 12, 9), PeriodKind::Month, 1), 2);
    EXPECT_EQ(feb.FirstKey(), 20250201u);
    EXPECT_EQ(feb.LastKey(), 20250228u);
    EXPECT_EQ(Shifted(feb, -14).LastKey(), 20231231u);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
}

TEST(PeriodSums, EveryDayProjectAndCategoryMatchesAPlainWalk) {
    AppState s;
    const std::u16string categories[] = {u"Travel", u"Meeting", u"Design"};
    for (const auto& name : categories) s.categories.Add(MakeCategory(name, 999));
    for (uint32_t id : {1, 2, 3}) s.projects.Append(MakeProject(u"P", 999))->projectId = id;
    std::mt19937 random(7);
    struct Booking {
        uint16_t month, day;
        int minutes;
        size_t category;
        uint32_t project;
    };
    std::vector<Booking> bookings;
    for (int i = 0; i < 400; ++i) {
        // Projects 1 to 3 and 9 (gone); categories of the list and one that is not.
        Booking b{static_cast<uint16_t>(1 + random() % 3), static_cast<uint16_t>(1 + random() % 28),
                  static_cast<int>(random() % 300), random() % 4,
                  static_cast<uint32_t>(random() % 4 == 3 ? 9 : 1 + random() % 3)};
        bookings.push_back(b);
        s.timeRecords.Append(MakeRecord(0, 2025, b.month, b.day, b.minutes,
                                        b.category < 3 ? categories[b.category].c_str() : u"Other",
                                        u"", b.project));
    }
    for (Period period : {PeriodHolding(MakeDate(2025, 2, 1), PeriodKind::Month, 1),
                          PeriodHolding(MakeDate(2025, 3, 1), PeriodKind::Week, 1)}) {
        std::map<uint32_t, std::map<uint32_t, int64_t>> perDay;  // project, day key
        std::map<std::u16string, int64_t> perCategory;
        int64_t total = 0;
        for (const Booking& b : bookings) {
            const uint32_t key = DayKey(MakeDate(2025, b.month, b.day));
            if (key < period.FirstKey() || key > period.LastKey()) continue;
            // The categories count every record, as the time report does.
            if (b.category < 3) perCategory[categories[b.category]] += b.minutes;
            if (b.project == 9) continue;
            perDay[b.project][key] += b.minutes;
            total += b.minutes;
        }
        const PeriodSums sums = SumPeriod(s, period);
        EXPECT_EQ(sums.total, total);
        ASSERT_EQ(sums.projects.size(), perDay.size());
        for (const auto& p : sums.projects) {
            int64_t projectTotal = 0;
            for (int i = 0; i < period.days; ++i) {
                const int64_t expected = perDay[p.projectId][DayKey(period.Day(i))];
                EXPECT_EQ(p.perDay[static_cast<size_t>(i)], expected);
                projectTotal += expected;
            }
            EXPECT_EQ(p.total, projectTotal);
        }
        ASSERT_EQ(sums.categories.size(), perCategory.size());
        for (size_t i = 0; i < sums.categories.size(); ++i) {
            EXPECT_EQ(sums.categories[i].minutes, perCategory[sums.categories[i].name]);
            if (i > 0) {
                EXPECT_GE(sums.categories[i - 1].minutes, sums.categories[i].minutes);
            }
        }
    }
    AppState empty;
    EXPECT_TRUE(SumPeriod(empty, PeriodHolding(MakeDate(2025, 2, 1), PeriodKind::Week, 1)).Empty());
}

}  // namespace
}  // namespace qv
