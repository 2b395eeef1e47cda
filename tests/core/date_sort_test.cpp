#include "core/date_sort.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/literal_date_sort.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

// Everything a caller can see of a list, without moving its cursor: each record's place and
// values in order, and where the cursor stands.
std::string Seen(TimeRecordList& list) {
    std::string seen;
    for (TimeRecord* r = list.Last(); r != nullptr; r = r->prev) {
        const std::u16string line =
            FormatDecimal(r->position) + u" " + FormatDecimal(r->recordId) + u" " +
            FormatDecimal(r->projectId) + u" " + FormatDecimal(r->date.year) + u"-" +
            FormatDecimal(r->date.month) + u"-" + FormatDecimal(r->date.day) + u" " +
            DateText(*r, 0).value_or(u"-") + u" " + FormatDecimal(r->dateKey) + u" " +
            r->minutesText.value_or(u"-") + u" " + TimeText(*r, Comma).value_or(u"-") + u" " +
            r->category.value_or(u"-") + u" " + r->memo.value_or(u"-") +
            (r == list.Current() ? u" <" : u"");
        seen = ToUtf8(line) + "\n" + seen;
    }
    return seen;
}

// Same-day records keep their order ascending and come out reversed descending (the step by
// step sort says so); an empty list leaves the buffer alone. Random lists with many records per
// day, some of them odd (no minutes, a date the setter refused, an empty category, a minutes text
// written with leading zeros), sorted by both implementations several times over with the lists
// changing in between; then long lists over more than a century, which take the sort's other path.
TEST(SortByDate, GivesExactlyWhatTheStepByStepSortGives) {
    TimeRecordList none, buffer;
    buffer.Append(MakeRecord(5, 2005, 1, 1, 10));
    EXPECT_TRUE(SortByDate(none, buffer, 0) && buffer.Size() == 1) << "an empty list: no sort";
    std::mt19937 rng(20051029);
    uint32_t nextId = 0;
    auto randomRecord = [&](int days) {
        TimeRecord r = MakeRecord(nextId++, 2005, 10, static_cast<uint16_t>(1 + rng() % days),
                                  static_cast<int>(rng() % 1500));
        const uint32_t odd = rng() % 10;
        if (odd == 0) r.minutesText.reset();
        if (odd == 1) SetDate(r, MakeDate(99, 1, 1));  // refused: old texts stay
        if (odd == 2) r.memo = u"memo " + FormatDecimal(nextId);
        if (odd == 3) r.category = u"";
        if (odd == 4) r.minutesText = u"-7";
        if (odd == 5) r.minutesText = u"0090";  // kept as it is written
        return r;
    };
    auto sortBoth = [](TimeRecordList& fast, TimeRecordList& fastBuffer, TimeRecordList& literal,
                       TimeRecordList& literalBuffer, uint32_t order) {
        ASSERT_TRUE(SortByDate(fast, fastBuffer, order));
        ASSERT_TRUE(testing::LiteralSortByDate(literal, literalBuffer, order));
        EXPECT_EQ(Seen(fast), Seen(literal));
        EXPECT_TRUE(fast.Empty() || fastBuffer.Empty()) << "no second copy of the list is kept";
    };
    for (int round = 0; round < 150; ++round) {
        const int days = std::uniform_int_distribution<int>(1, 8)(rng);
        TimeRecordList fast, fastBuffer, literal, literalBuffer;
        // Something old in the buffers, which both sorts must throw away.
        fastBuffer.Append(MakeRecord(999, 2001, 1, 1, 5, u"Old", u"old"));
        literalBuffer.Append(MakeRecord(999, 2001, 1, 1, 5, u"Old", u"old"));
        for (int pass = 0; pass < 3; ++pass) {
            for (int i = std::uniform_int_distribution<int>(0, 40)(rng); i > 0; --i) {
                // The list's record takes the odd values as they are: Append alone would
                // already tidy them.
                const TimeRecord r = randomRecord(days);
                *fast.Append(r) = r;
                *literal.Append(r) = r;
            }
            for (int i = std::uniform_int_distribution<int>(0, 20)(rng); i > 0 && fast.Size();
                 --i) {
                const uint32_t at = rng() % fast.Size();
                fast.RemoveAt(at);
                literal.RemoveAt(at);
            }
            sortBoth(fast, fastBuffer, literal, literalBuffer, rng() % 3);
        }
    }
    for (uint32_t order : {0u, 1u}) {
        TimeRecordList fast, fastBuffer, literal, literalBuffer;
        for (uint32_t i = 0; i < 1500; ++i) {
            const TimeRecord r = MakeRecord(
                i, static_cast<uint16_t>(1990 + rng() % 120), static_cast<uint16_t>(1 + rng() % 12),
                static_cast<uint16_t>(1 + rng() % 3), static_cast<int>(rng() % 1500));
            fast.Append(r);
            literal.Append(r);
        }
        sortBoth(fast, fastBuffer, literal, literalBuffer, order);
    }
}

}  // namespace
}  // namespace qv
