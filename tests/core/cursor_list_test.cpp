#include "core/cursor_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/time_record.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

std::vector<uint32_t> Ids(TimeRecordList& list) {
    std::vector<uint32_t> ids;
    uint16_t expected = 0;
    for (TimeRecord* r = list.First(); r != nullptr; r = list.Next()) {
        EXPECT_EQ(r->position, expected++);
        ids.push_back(r->recordId);
    }
    return ids;
}

void Fill(TimeRecordList& list, std::initializer_list<uint32_t> ids) {
    for (uint32_t id : ids) list.Append(MakeRecord(id, 2005, 10, 1, 60));
}

TEST(TimeRecordList, EmptyListYieldsNothingAndKeepsTheCursorNull) {
    TimeRecordList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Prev(), nullptr);
    EXPECT_TRUE(list.RemoveAt(0));  // removing from an empty list does nothing and succeeds
}

TEST(TimeRecordList, AppendCopiesAndMovesTheCursor) {
    TimeRecordList list;
    TimeRecord mine = MakeRecord(1, 2005, 10, 1, 60);
    TimeRecord* node = list.Append(mine);
    ASSERT_NE(node, nullptr);
    EXPECT_NE(node, &mine);
    EXPECT_EQ(node->position, 0);
    EXPECT_EQ(node->prev, nullptr);
    EXPECT_EQ(node->next, nullptr);
    EXPECT_EQ(list.Current(), node);
    mine.memo = u"changed";  // the caller keeps its own record
    EXPECT_FALSE(node->memo.has_value());

    Fill(list, {2, 3});
    EXPECT_EQ(list.Current()->recordId, 3u);
    EXPECT_EQ(list.Last()->position, 2);
}

TEST(TimeRecordList, CountAndFindAtPlaceTheCursor) {
    TimeRecordList list;
    Fill(list, {10, 11, 12});
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Current()->recordId, 10u);
    EXPECT_EQ(list.FindAt(2)->recordId, 12u);
    EXPECT_EQ(list.Current()->recordId, 12u);
    EXPECT_EQ(list.Next(), nullptr);  // at the last record
    EXPECT_EQ(list.Current()->recordId, 12u);
    EXPECT_EQ(list.Prev()->recordId, 11u);
    EXPECT_EQ(list.FindAt(3), nullptr);
    EXPECT_EQ(list.Current()->recordId, 10u);  // a miss leaves the cursor on the first
    EXPECT_EQ(list.Last()->recordId, 12u);
    EXPECT_EQ(list.Current()->recordId, 10u);  // Last does not move it
}

TEST(TimeRecordList, ReplaceAtSearchesForwardFromTheCursorAndKeepsThePlace) {
    TimeRecordList list;
    Fill(list, {10, 11, 12});
    TimeRecord replacement = MakeRecord(99, 2004, 3, 5, 45, u"Meeting", u"weekly");

    list.FindAt(2);
    EXPECT_EQ(list.ReplaceAt(1, replacement), nullptr);  // behind the cursor: not found
    list.FindAt(1);
    TimeRecord* node = list.ReplaceAt(1, replacement);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->position, 1);
    EXPECT_EQ(node->recordId, 99u);
    EXPECT_EQ(node->memo, u"weekly");
    EXPECT_EQ(list.Current(), node);
    EXPECT_EQ(Ids(list), (std::vector<uint32_t>{10, 99, 12}));
}

TEST(TimeRecordList, RemoveAtRenumbersAndEndsOnTheFirst) {
    TimeRecordList list;
    Fill(list, {10, 11, 12});
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_EQ(list.Current()->recordId, 11u);
    EXPECT_EQ(Ids(list), (std::vector<uint32_t>{11, 12}));

    list.FindAt(1);
    EXPECT_FALSE(list.RemoveAt(2));  // a position equal to Count fails
    EXPECT_EQ(list.Current()->recordId, 11u);
    EXPECT_EQ(list.Size(), 2);

    Fill(list, {13});
    EXPECT_TRUE(list.RemoveAt(1));  // a middle record: neighbours joined
    EXPECT_EQ(Ids(list), (std::vector<uint32_t>{11, 13}));
    EXPECT_TRUE(list.RemoveAt(1));  // the last record
    EXPECT_EQ(list.Last()->recordId, 11u);
    EXPECT_EQ(list.Last()->next, nullptr);
    EXPECT_TRUE(list.RemoveAt(0));  // the only record
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TimeRecordList, RefusesTheRecordAfterTheLastNumberablePosition) {
    TimeRecordList list;
    TimeRecord r;
    for (uint32_t i = 0; i < kMaxListRecords; ++i) ASSERT_NE(list.Append(r), nullptr);
    TimeRecord* last = list.Last();
    EXPECT_EQ(last->position, 65534);
    EXPECT_EQ(list.Append(r), nullptr);
    EXPECT_EQ(list.Size(), 65535);
    EXPECT_EQ(list.Last(), last);
    EXPECT_EQ(list.Current(), last);  // a refusal changes nothing
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TimeRecordList, FindByDateKeyTakesTheFirstFromTheStart) {
    TimeRecordList list;
    list.Append(MakeRecord(1, 2005, 10, 2, 60));
    list.Append(MakeRecord(2, 2005, 10, 1, 60));
    list.Append(MakeRecord(3, 2005, 10, 1, 60));
    EXPECT_EQ(FindByDateKey(list, 20051001)->recordId, 2u);
    EXPECT_EQ(FindByDateKey(list, 20051003), nullptr);
    EXPECT_EQ(list.Current()->recordId, 1u);
}

}  // namespace
}  // namespace qv
