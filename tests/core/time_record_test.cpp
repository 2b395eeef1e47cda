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

void Fill(TimeRecordList& list, std::initializer_list<uint32_t> ids) {
    for (uint32_t id : ids) list.Append(MakeRecord(id, 2005, 10, 1, 60));
}

// Reset clears texts and identifiers but keeps project and date; the category and memo
// setters tell absent from empty; CopyFrom keeps what the source lacks.
TEST(TimeRecord, ResetSettersAndCopyFrom) {
    TimeRecord r = MakeRecord(7, 2005, 10, 29, 90, u"Travel", u"weekly", 3);
    Reset(r);
    EXPECT_EQ(r.recordId, kNoRecordId);
    EXPECT_EQ(r.dateKey, 0u);
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
    EXPECT_EQ(target.recordId, 9u);
    EXPECT_EQ(target.projectId, 4u);
    EXPECT_EQ(target.dateKey, 20040305u);
    EXPECT_EQ(target.category, u"Meeting");
    EXPECT_EQ(target.memo, u"old memo");
    EXPECT_EQ(TimeText(target, Colon), u"1:30");
    EXPECT_TRUE(SetMemo(target, u""));
    EXPECT_EQ(target.memo, u"");
}

TEST(TimeRecordList, AppendCopiesAndTheCursorFollowsEachOperation) {
    TimeRecordList list;
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_TRUE(list.RemoveAt(0));  // removing from an empty list does nothing and succeeds

    TimeRecord mine = MakeRecord(10, 2005, 10, 1, 60);
    TimeRecord* node = list.Append(mine);
    mine.memo = u"changed";  // the caller keeps its own record
    EXPECT_FALSE(node->memo.has_value());
    Fill(list, {11, 12});
    EXPECT_EQ(list.Current()->recordId, 12u);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Current()->recordId, 10u);
    EXPECT_EQ(list.FindAt(2)->recordId, 12u);
    EXPECT_EQ(list.Next(), nullptr);  // at the last record
    EXPECT_EQ(list.Current()->recordId, 12u);
    EXPECT_EQ(list.Prev()->recordId, 11u);
    EXPECT_EQ(list.FindAt(3), nullptr);
    EXPECT_EQ(list.Current()->recordId, 10u);  // a miss leaves the cursor on the first
    EXPECT_EQ(list.Last()->recordId, 12u);
    EXPECT_EQ(list.Current()->recordId, 10u);  // Last does not move it

    // ReplaceAt searches forward from the cursor and keeps the place.
    TimeRecord replacement = MakeRecord(99, 2004, 3, 5, 45, u"Meeting", u"weekly");
    list.FindAt(2);
    EXPECT_EQ(list.ReplaceAt(1, replacement), nullptr);  // behind the cursor
    list.FindAt(1);
    node = list.ReplaceAt(1, replacement);
    EXPECT_EQ(list.Current(), node);
    EXPECT_EQ(Ids(list), "10 99 12 ");
}

TEST(TimeRecordList, RemoveAtRenumbersJoinsTheNeighboursAndEndsOnTheFirst) {
    TimeRecordList list;
    Fill(list, {10, 11, 12});
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_EQ(list.Current()->recordId, 11u);
    EXPECT_EQ(Ids(list), "11 12 ");
    list.FindAt(1);
    EXPECT_FALSE(list.RemoveAt(2));  // a position equal to Count fails
    Fill(list, {13});
    EXPECT_TRUE(list.RemoveAt(1));  // a middle record
    EXPECT_EQ(Ids(list), "11 13 ");
    EXPECT_TRUE(list.RemoveAt(1));  // the last record
    EXPECT_EQ(list.Last()->next, nullptr);
    EXPECT_TRUE(list.RemoveAt(0));  // the only record
    EXPECT_EQ(list.Current(), nullptr);

    for (uint16_t day : {2, 1, 1})
        list.Append(MakeRecord(day * 10 + list.Size(), 2005, 10, day, 60));
    EXPECT_EQ(FindByDateKey(list, 20051001)->recordId, 11u);  // the first from the start
    EXPECT_EQ(FindByDateKey(list, 20051003), nullptr);
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
