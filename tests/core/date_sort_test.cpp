#include "core/date_sort.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/literal_date_sort.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

std::vector<uint32_t> Ids(TimeRecordList& list) {
    std::vector<uint32_t> ids;
    for (TimeRecord* r = list.First(); r != nullptr; r = list.Next()) ids.push_back(r->recordId);
    return ids;
}

TEST(SortByDate, SortsBothWaysAndReversesSameDayRecordsDescending) {
    for (SortOrder order : {SortOrder::Ascending, SortOrder::Descending, SortOrder::NoneChosen}) {
        TimeRecordList records, buffer;
        records.Append(MakeRecord(3, 2005, 10, 3, 60));
        records.Append(MakeRecord(1, 2005, 10, 1, 60));
        records.Append(MakeRecord(21, 2005, 10, 2, 60));
        records.Append(MakeRecord(22, 2005, 10, 2, 60));
        ASSERT_TRUE(SortByDate(records, buffer, order));
        if (order == SortOrder::Descending) {
            EXPECT_EQ(Ids(records), (std::vector<uint32_t>{3, 22, 21, 1}));
        } else {
            EXPECT_EQ(Ids(records), (std::vector<uint32_t>{1, 21, 22, 3}));
        }
        EXPECT_TRUE(buffer.Empty());
        uint16_t pos = 0;
        for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
            EXPECT_EQ(r->position, pos++);
        }
    }
}

TEST(SortOrder, StoredNumbersOutsideTheThreeDirectionsReadAsNoneChosen) {
    for (SortOrder order : {SortOrder::Ascending, SortOrder::Descending, SortOrder::NoneChosen}) {
        EXPECT_EQ(SortOrderFromStored(StoredSortOrder(order)), order);
    }
    EXPECT_EQ(StoredSortOrder(SortOrder::Descending), 1u);
    EXPECT_EQ(SortOrderFromStored(3), SortOrder::NoneChosen);
    EXPECT_EQ(SortOrderFromStored(0xFFFFFFFF), SortOrder::NoneChosen);
}

TEST(SortByDate, EmptyListSucceedsAndLeavesTheBufferAlone) {
    TimeRecordList records, buffer;
    buffer.Append(MakeRecord(5, 2005, 1, 1, 10));
    EXPECT_TRUE(SortByDate(records, buffer, 0));
    EXPECT_EQ(Ids(buffer), (std::vector<uint32_t>{5}));
}

// Everything a caller can see of a list: records in order with all their values, the cursor.
struct Snapshot {
    std::vector<TimeRecord> records;
    int cursor = -1;
};

Snapshot Take(TimeRecordList& list) {
    Snapshot s;
    TimeRecord* cursor = list.Current();
    for (TimeRecord* r = list.Last(); r != nullptr; r = r->prev) {
        s.records.insert(s.records.begin(), *r);
        s.records.front().position = r->position;
        if (r == cursor) s.cursor = r->position;
    }
    return s;
}

void ExpectSame(const Snapshot& a, const Snapshot& b) {
    ASSERT_EQ(a.records.size(), b.records.size());
    EXPECT_EQ(a.cursor, b.cursor);
    for (size_t i = 0; i < a.records.size(); ++i) {
        const TimeRecord& x = a.records[i];
        const TimeRecord& y = b.records[i];
        EXPECT_EQ(x.position, y.position);
        EXPECT_EQ(x.recordId, y.recordId);
        EXPECT_EQ(x.projectId, y.projectId);
        EXPECT_EQ(x.date, y.date);
        EXPECT_EQ(x.dateTexts, y.dateTexts);
        EXPECT_EQ(x.dateKey, y.dateKey);
        EXPECT_EQ(x.minutesText, y.minutesText);
        EXPECT_EQ(TimeText(x, Comma), TimeText(y, Comma));
        EXPECT_EQ(x.category, y.category);
        EXPECT_EQ(x.memo, y.memo);
    }
}

// Random lists with many records per day, some of them odd (no minutes, a date the setter
// refused, an empty category, a minutes text written with leading zeros), sorted by both
// implementations several times over with the lists changing in between: lists and cursors must
// agree exactly.
TEST(SortByDate, GivesExactlyWhatTheStepByStepSortGives) {
    std::mt19937 rng(20051029);
    uint32_t nextId = 0;
    auto randomRecord = [&](int days) {
        TimeRecord r = MakeRecord(nextId++, 2005, 10, static_cast<uint16_t>(1 + rng() % days),
                                  static_cast<int>(rng() % 1500));
        switch (rng() % 10) {
            case 0:
                r.minutesText.reset();
                break;
            case 1:
                SetDate(r, MakeDate(99, 1, 1));
                break;  // refused: old texts stay
            case 2:
                r.memo = u"memo " + FormatDecimal(nextId);
                break;
            case 3:
                r.category = u"";
                break;
            case 4:
                r.minutesText = u"-7";
                break;
            case 5:
                r.minutesText = u"0090";  // kept as it is written
                break;
            default:
                break;
        }
        return r;
    };
    for (int round = 0; round < 150; ++round) {
        const int days = std::uniform_int_distribution<int>(1, 8)(rng);
        TimeRecordList fastList, fastBuffer, literalList, literalBuffer;
        // Something old in the buffers, which both sorts must throw away.
        fastBuffer.Append(MakeRecord(999, 2001, 1, 1, 5, u"Old", u"old"));
        literalBuffer.Append(MakeRecord(999, 2001, 1, 1, 5, u"Old", u"old"));
        for (int pass = 0; pass < 3; ++pass) {
            const int add = std::uniform_int_distribution<int>(0, 40)(rng);
            for (int i = 0; i < add; ++i) {
                // The list's record takes the odd values as they are: Append alone would
                // already tidy them.
                const TimeRecord r = randomRecord(days);
                *fastList.Append(r) = r;
                *literalList.Append(r) = r;
            }
            const int remove = std::uniform_int_distribution<int>(0, 20)(rng);
            for (int i = 0; i < remove && fastList.Size() > 0; ++i) {
                const uint32_t at = rng() % fastList.Size();
                fastList.RemoveAt(at);
                literalList.RemoveAt(at);
            }
            const uint32_t order = std::uniform_int_distribution<uint32_t>(0, 2)(rng);
            ASSERT_TRUE(SortByDate(fastList, fastBuffer, order));
            ASSERT_TRUE(testing::LiteralSortByDate(literalList, literalBuffer, order));
            ExpectSame(Take(fastList), Take(literalList));
            if (!fastList.Empty()) {
                EXPECT_TRUE(fastBuffer.Empty()) << "no second copy of the list is kept";
            }
        }
    }
}

// Long lists take the sort's other path: many years, so every part of the date key decides
// somewhere, and many records a day.
TEST(SortByDate, LongListsGiveExactlyWhatTheStepByStepSortGives) {
    std::mt19937 rng(1024);
    for (uint32_t order : {0u, 1u}) {
        TimeRecordList fastList, fastBuffer, literalList, literalBuffer;
        for (uint32_t i = 0; i < 1500; ++i) {
            const TimeRecord r = MakeRecord(
                i, static_cast<uint16_t>(1990 + rng() % 40), static_cast<uint16_t>(1 + rng() % 12),
                static_cast<uint16_t>(1 + rng() % 3), static_cast<int>(rng() % 1500));
            fastList.Append(r);
            literalList.Append(r);
        }
        ASSERT_TRUE(SortByDate(fastList, fastBuffer, order));
        ASSERT_TRUE(testing::LiteralSortByDate(literalList, literalBuffer, order));
        ExpectSame(Take(fastList), Take(literalList));
    }
}

}  // namespace
}  // namespace qv
