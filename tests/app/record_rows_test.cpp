// The main list's rows, built when first read: they read as the records did when the list was
// filled, and rows inserted or erased meanwhile keep the others in their places.
#include "app/record_rows.h"

#include <gtest/gtest.h>

#include "dialogs/list_images.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

std::u16string Show(const ListRow& row) {
    std::u16string text = row.image == kImageMemo ? u"memo" : u"none";
    for (std::u16string_view cell : row.cells) text += u"|" + std::u16string(cell);
    return text;
}

// Counts the rows it builds; row i reads "i".
class Counting final : public ListRowSource {
  public:
    void Build(size_t index, ListRow& row) const override {
        ++built;
        row.cells = {std::u16string(1, static_cast<char16_t>(u'0' + index))};
    }
    mutable int built = 0;
};

TEST(RecordRows, ReadAsTheRecordsWereWhenTheListWasFilled) {
    TimeRecordList records;
    records.Append(MakeRecord(1, 2005, 10, 29, 90, u"Travel", u"Train"));
    records.Append(MakeRecord(2, 2004, 2, 9, 5, u"Desk", u"   "));  // blanks: no memo image
    TimeRecord untimed = MakeRecord(3, 2003, 12, 31, 0, u"Travel");
    untimed.minutesText.reset();
    untimed.category.reset();
    records.Append(untimed);
    const auto source = RecordRowsOf(records, MonthDayYearSlash, Colon);
    const auto dashes = RecordRowsOf(records, 9, Comma);  // no such date view: the first form
    records.First()->category = u"Changed";
    records.Clear();

    const std::u16string expected[] = {u"memo|10/29/2005|Travel|1:30", u"none|02/09/2004|Desk|0:05",
                                       u"none|12/31/2003||"};
    for (size_t i = 0; i < 3; ++i) {
        ListRow row;
        source->Build(i, row);
        EXPECT_EQ(Show(row), expected[i]) << i;
    }
    ListRow row;
    dashes->Build(0, row);
    EXPECT_EQ(Show(row), u"memo|29-10-2005|Travel|1,30");
}

TEST(ListRows, BuildOnlyWhatIsReadAndKeepTheirPlacesThroughInsertsAndErases) {
    auto source = std::make_shared<Counting>();
    ListRows rows;
    rows.Assign(5, source, 2);
    EXPECT_EQ(rows.size(), 5u);
    EXPECT_EQ(source->built, 0);
    EXPECT_EQ(rows[3].cells[0], u"3");
    EXPECT_EQ(rows[3].cells.size(), 2u);  // padded to the least cell count
    EXPECT_EQ(source->built, 1);

    ListRow inserted;
    inserted.cells = {u"new", u""};
    rows.Insert(1, inserted);  // 0 new 1 2 3 4
    rows.Erase(3);             // 0 new 1 3 4
    std::u16string order;
    for (size_t i = 0; i < rows.size(); ++i) order += std::u16string(rows[i].cells[0]) + u" ";
    EXPECT_EQ(order, u"0 new 1 3 4 ");
    EXPECT_EQ(source->built, 4);  // row 2 was erased unbuilt; 3 was built once

    rows.Assign(3, source, 1);
    const ListRow& first = rows[0];  // stays where it is while the others are built
    size_t seen = 0;
    rows.ForEach([&seen](ListRow&) { ++seen; });
    EXPECT_EQ(seen, 3u);
    EXPECT_EQ(source->built, 7);
    EXPECT_EQ(first.cells[0], u"0");
    rows.Clear();
    EXPECT_TRUE(rows.empty());
}

}  // namespace
}  // namespace qv
