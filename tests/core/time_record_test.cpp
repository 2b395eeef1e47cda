#include "core/time_record.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

TEST(TimeRecord, ResetClearsTextsAndIdentifiersButKeepsProjectAndDate) {
    TimeRecord r = MakeRecord(7, 2005, 10, 29, 90, u"Travel", u"weekly", 3);
    Reset(r);
    EXPECT_EQ(r.recordId, kNoRecordId);
    EXPECT_EQ(r.dateKey, 0u);
    EXPECT_EQ(r.projectId, 3u);
    EXPECT_EQ(r.date, MakeDate(2005, 10, 29));
    EXPECT_FALSE(r.minutesText || TimeText(r, Comma) || r.category || r.memo);
    EXPECT_FALSE(r.dateTexts.HasAll());
}

// The category and memo setters tell absent from empty; CopyFrom keeps what the source lacks.
TEST(TimeRecord, SettersAndCopyFromKeepValuesTheSourceLacks) {
    TimeRecord target = MakeRecord(1, 2005, 10, 29, 90, u"Travel", u"old memo", 1);
    EXPECT_FALSE(SetCategory(target, std::nullopt));
    EXPECT_FALSE(SetCategory(target, u""));
    EXPECT_FALSE(SetMemo(target, std::nullopt));
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

}  // namespace
}  // namespace qv
