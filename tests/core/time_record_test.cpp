// A time record's setters, and the list of records with its cursor.
#include "core/time_record.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cursor_list.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

// The identifiers in order; every position must be the record's place.
std::string Ids(TimeRecordList& list) {
    std::string ids;
    uint16_t expected = 0;
    for (TimeRecord* r = list.First(); r != nullptr; r = list.Next()) {
        EXPECT_EQ(r->position, expected++);
        ids += std::to_string(r->recordId) + " ";
    }
    return ids;
}

// Reset clears texts and identifiers but keeps project and date; the category and memo
// setters tell absent from empty; CopyFrom keeps what the source lacks.
TEST(TimeRecord, ResetSettersAndCopyFrom) {
    TimeRecord r = MakeRecord(7, 2005, 10, 29, 90, u"Travel", u"weekly", 3);
    Reset(r);
    EXPECT_EQ(r.recordId, kNoRecordId);
    EXPECT_EQ(r.projectId, 3u);
    EXPECT_EQ(r.date, MakeDate(2005, 10, 29));
    EXPECT_FALSE(r.minutesText || TimeText(r, Comma) || r.category || r.memo);
    EXPECT_FALSE(r.dateTexts.HasAll());

    TimeRecord target = MakeRecord(1, 2005, 10, 29, 90, u"Travel", u"old memo", 1);
    EXPECT_FALSE(SetCategory(target, std::nullopt) || SetCategory(target, u"") ||
                 SetMemo(target, std::nullopt));
    EXPECT_EQ(target.category, u"Travel");
    TimeRecord source;
    source.recordId = 9;
    source.projectId = 4;
    SetDate(source, MakeDate(2004, 3, 5));
    SetCategory(source, u"Meeting");
    CopyFrom(target, source);
    EXPECT_EQ(target.projectId, 4u);
    EXPECT_EQ(target.dateKey, 20040305u);
    EXPECT_EQ(target.category, u"Meeting");
    EXPECT_EQ(target.memo, u"old memo");
    EXPECT_EQ(TimeText(target, Colon), u"1:30");
    EXPECT_TRUE(SetMemo(target, u""));
    EXPECT_EQ(target.memo, u"");
}

// One list through every cursor operation. op: a append, c count, n next, p prev, f find at,
// l last, r remove at, x replace at (with record 99), k find by date key (day arg); want: the
// record returned (-1: none), the count, or for r and x whether it succeeded; cursor: the record
// under the cursor afterwards (-1: none, -2: not looked at).
TEST(TimeRecordList, TheCursorFollowsEachOperationAndRemoveAtRenumbers) {
    struct Step {
        char op;
        int arg, want, cursor;
    };
    const Step steps[] = {
        {'n', 0, -1, -1},  {'r', 0, 1, -1},  // an empty list: nothing next, removing succeeds
        {'a', 10, 10, 10}, {'a', 11, 11, 11}, {'a', 12, 12, 12},
        {'c', 0, 3, 10},                                         // counting goes to the first
        {'f', 2, 12, 12},  {'n', 0, -1, 12},  {'p', 0, 11, 11},  // no step past the last
        {'f', 3, -1, 10},  {'l', 0, 12, 10},  // a miss goes to the first; Last does not move it
        {'f', 2, 12, 12},  {'x', 1, 0, -2},   // ReplaceAt searches forward from the cursor
        {'f', 1, 11, 11},  {'x', 1, 1, 99},   {'r', 0, 1, 99},  // removing ends on the first
        {'f', 1, 12, 12},  {'r', 2, 0, -2},                     // a position equal to Count fails
        {'a', 13, 13, 13}, {'r', 1, 1, 99},                     // a middle record
        {'r', 1, 1, 99},   {'r', 0, 1, -1},  // the last record, then the only one
        {'a', 21, 21, 21}, {'a', 11, 11, 11}, {'a', 12, 12, 12},
        {'k', 1, 11, 11},  {'k', 3, -1, -2},  // the first of the day from the start
    };
    TimeRecordList list;
    const auto id = [](const TimeRecord* r) { return r ? static_cast<int>(r->recordId) : -1; };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << s.op << " " << s.arg);
        const TimeRecord replacement = MakeRecord(99, 2004, 3, 5, 45, u"Meeting", u"weekly");
        const uint16_t day = static_cast<uint16_t>(s.arg / 10 == 2 ? 2 : 1);
        const int got = s.op == 'a'   ? id(list.Append(MakeRecord(s.arg, 2005, 10, day, 60)))
                        : s.op == 'c' ? list.Count()
                        : s.op == 'n' ? id(list.Next())
                        : s.op == 'p' ? id(list.Prev())
                        : s.op == 'f' ? id(list.FindAt(s.arg))
                        : s.op == 'l' ? id(list.Last())
                        : s.op == 'r' ? list.RemoveAt(s.arg)
                        : s.op == 'x' ? list.ReplaceAt(s.arg, replacement) != nullptr
                                      : id(FindByDateKey(list, DateKeyOf(2005, 10, s.arg)));
        EXPECT_EQ(got, s.want);
        EXPECT_TRUE(s.cursor == -2 || id(list.Current()) == s.cursor) << id(list.Current());
    }
    EXPECT_EQ(list.Last()->next, nullptr);
    EXPECT_EQ(Ids(list), "21 11 12 ");
}

TEST(TimeRecordList, RefusesTheRecordAfterTheLastNumberablePosition) {
    TimeRecordList list;
    TimeRecord r;
    for (uint32_t i = 0; i < kMaxListRecords; ++i) ASSERT_NE(list.Append(r), nullptr);
    TimeRecord* last = list.Last();
    EXPECT_EQ(last->position, 65534);
    EXPECT_EQ(list.Append(r), nullptr);
    EXPECT_EQ(list.Size(), 65535);
    EXPECT_EQ(list.Current(), last);  // a refusal changes nothing
}

}  // namespace
}  // namespace qv
