// The main window: its list rows and where the list starts.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/time_record.h"
#include "program_fixture.h"

namespace qv {
namespace {

using testing::ProgramTest;
using A = HeadlessAction;

TEST(RowTimeText, ShowsTwoZeroDigitsAndNothingBeyondADay) {
    TimeRecord r;
    EXPECT_EQ(RowTimeText(r, Comma), u"0,0");  // no minutes at all
    for (auto [minutes, separator, text] : {std::tuple{u"0", Colon, u"0:00"},
                                            {u"65", Comma, u"1,05"},
                                            {u"1440", Colon, u"24:00"},
                                            {u"1500", Colon, u""}}) {
        SetMinutes(r, minutes);
        EXPECT_EQ(RowTimeText(r, separator), text);
    }
}

// An ascending list starts scrolled to the newest rows.
TEST_F(ProgramTest, TheListStartsAtTheNewestRows) {
    SeedRecords(40);
    for (uint32_t order : {0u, 1u, 2u}) {
        SetSetting(u"SortOrder", order);
        int top = -1;
        Run({Then([&](HeadlessHost& host) { top = Bar(host).TopRow(kMainList); }, A::MakeClose())});
        EXPECT_EQ(top == 0, order == 1) << "order " << order << " top " << top;
    }
}

}  // namespace
}  // namespace qv
