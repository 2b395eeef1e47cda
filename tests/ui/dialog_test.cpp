// Control state of a dialog: drop-down searches, list views, layouts and self-sent notices.
#include "platform/ui/dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

constexpr ControlTemplate kControls[] = {
    {10, ControlKind::Combo, u"", kStyleSorted, 0, {{0, 0, 50, 100}}, {{0, 0, 50, 100}}, 0},
    {11, ControlKind::Combo, u"", kStyleNone, 0, {{0, 20, 50, 100}}, {{0, 20, 50, 100}}, 0},
    {12, ControlKind::Edit, u"", kStyleNone, 5, {{0, 40, 50, 20}}, {{100, 0, 50, 20}}, 0},
    {13, ControlKind::Button, u"OK", kStyleDefault, 0, {{0, 60, 50, 20}}, {{}, true}, 0},
    {14, ControlKind::Button, u"Del", kStyleHidden, 0, {{60, 60, 50, 20}}, {{100, 60, 50, 20}}, 0},
};
constexpr DialogTemplate kTemplate{900, u"Test", kFrameEntry, {}, u"", true, kControls};

struct Recorder : DialogBehaviour {
    void OnCommand(Dialog& d, int id, CommandCode code) override {
        commands.push_back({id, code});
        if (code == CommandCode::EditChange) seenText = d.Text(id);
    }
    std::vector<std::pair<int, CommandCode>> commands;
    std::u16string seenText;
};

TEST(DialogCombo, SortedInsertsAlphabeticallyUnsortedKeepsOrderSearchesIgnoreCase) {
    Dialog d(kTemplate);
    for (auto name : {u"travel", u"Meeting", u"admin", u"Travel"}) d.AddString(10, name);
    // Names equal but for case are ordered by their code units.
    std::vector<std::u16string> entries;
    for (int i = 0; i < d.Count(10); ++i) entries.push_back(*d.GetLBText(10, i));
    EXPECT_EQ(entries, (std::vector<std::u16string>{u"admin", u"Meeting", u"Travel", u"travel"}));

    EXPECT_EQ(d.FindStringExact(10, u"Meet"), -1);
    EXPECT_EQ(d.FindStringExact(10, u"TRAVEL"), 2);
    EXPECT_EQ(d.FindStringExact(10, u"travel", 2), 3);  // searches after index 2
    EXPECT_EQ(d.FindStringExact(10, u"admin", 3), 0);   // and wraps to the start

    EXPECT_EQ(d.SelectString(10, u"me"), 1);
    EXPECT_EQ(d.Text(10), u"Meeting");
    EXPECT_EQ(d.SelectString(10, u"zz"), -1);
    EXPECT_EQ(d.GetCurSel(10), 1);  // a failed search keeps the selection

    // Inserting before the selection moves it along with its entry.
    d.AddString(10, u"Aardvark");
    EXPECT_EQ(d.Text(10), u"Meeting");
    EXPECT_EQ(d.DeleteString(10, 2), 4);
    EXPECT_EQ(d.GetCurSel(10), -1);
    EXPECT_EQ(d.Text(10), u"");
    EXPECT_EQ(d.GetLBText(10, 9), std::nullopt);

    // Unsorted: insertion order, selection by index.
    for (auto name : {u"minutes", u"hours and minutes", u"hours only"}) d.AddString(11, name);
    EXPECT_EQ(d.SelectString(11, u"HOURS"), 1);
    EXPECT_EQ(d.SetCurSel(11, 2), 2);
    EXPECT_EQ(d.Text(11, 5), u"hours");
    EXPECT_EQ(d.SetCurSel(11, 7), -1);
    EXPECT_EQ(d.GetCurSel(11), -1);
    d.ResetContent(11);
    EXPECT_EQ(d.Count(11), 0);
    EXPECT_EQ(d.Count(13), -1);  // a button has no entries
}

TEST(DialogListView, RowsColumnsHeaderImagesSelectionAndCells) {
    Dialog d(kTemplate);
    ASSERT_TRUE(d.CreateListView(500, {4, 47, 231, 189}));
    EXPECT_FALSE(d.CreateListView(500, {}));
    d.InsertColumn(500, 0, {u"Date", 88, 0});
    d.InsertColumn(500, 1, {u"Category", 90, -1});
    EXPECT_TRUE(d.SetHeaderImage(500, 0, 1));
    EXPECT_EQ(d.HeaderImage(500, 0), 1);
    EXPECT_EQ(d.HeaderImage(500, 1), -1);
    EXPECT_FALSE(d.SetHeaderImage(500, 2, 0));

    EXPECT_EQ(d.InsertRow(500, 0, u"29-10-2005", 4), 0);
    EXPECT_EQ(d.InsertRow(500, 99, u"30-10-2005", 3), 1);  // past the end appends
    d.SetCell(500, 1, 1, u"Travel");
    EXPECT_EQ(d.Cell(500, 1, 1), u"Travel");
    EXPECT_EQ(d.RowImage(500, 1), 3);

    d.SelectRow(500, 1);
    d.SetFocusedRow(500, 1);
    d.InsertRow(500, 0, u"28-10-2005", 4);  // an insertion above moves the selection down
    EXPECT_EQ(d.SelectedRow(500), 2);
    EXPECT_TRUE(d.DeleteRow(500, 2));
    EXPECT_EQ(d.SelectedRow(500), -1);
    EXPECT_EQ(d.FocusedRow(500), -1);
    EXPECT_FALSE(d.SelectRow(500, 5));

    d.ScrollBy(500, 10);
    EXPECT_EQ(d.TopRow(500), 1);  // never past the last row
    d.DeleteAllRows(500);
    EXPECT_EQ(d.RowCount(500), 0);
    EXPECT_EQ(d.TopRow(500), 0);

    d.SetFocus(500);

    // A row keeps its cells end to end in one text: every edit leaves the others as they were.
    d.InsertColumn(500, 2, {u"Time", 55, -1});
    d.SetRows(500, {{4, {u"29-10-2005", u"Travel", u"1:30"}}, {3, {u"30-10-2005"}}});
    auto cells = [&](int row) {
        std::vector<std::u16string> all;
        for (int c = 0; c < d.ColumnCount(500); ++c) all.push_back(d.Cell(500, row, c));
        return all;
    };
    using V = std::vector<std::u16string>;
    EXPECT_EQ(cells(1), (V{u"30-10-2005", u"", u""}));  // short rows get empty cells
    d.SetCell(500, 0, 1, u"");
    d.SetCell(500, 0, 0, u"1-1-2005");
    d.SetCell(500, 0, 2, u"12:05");
    EXPECT_EQ(cells(0), (V{u"1-1-2005", u"", u"12:05"}));
    d.SetCell(500, 0, 1, u"Meeting room");
    EXPECT_EQ(cells(0), (V{u"1-1-2005", u"Meeting room", u"12:05"}));
    d.InsertColumn(500, 1, {u"Memo", 40, -1});
    EXPECT_EQ(cells(0), (V{u"1-1-2005", u"", u"Meeting room", u"12:05"}));
    EXPECT_EQ(d.InsertColumn(500, 4, {u"Fifth", 10, -1}), -1);  // four columns at most
    EXPECT_TRUE(d.DeleteColumn(500, 0));
    EXPECT_EQ(cells(0), (V{u"", u"Meeting room", u"12:05"}));
    EXPECT_EQ(d.Cell(500, 0, 7), u"");
    EXPECT_TRUE(d.DestroyControl(500));
    EXPECT_EQ(d.Focus(), kNoControl);
}

TEST(DialogLayout, LayoutMovesControlsAndHidesOnlyThoseHiddenInALayout) {
    Dialog d(kTemplate);
    EXPECT_EQ(d.DefaultButton(), 13);
    EXPECT_FALSE(d.IsVisible(14));
    d.ApplyLayout(true);
    EXPECT_EQ(d.Find(12)->rect, (Rect{100, 0, 50, 20}));
    EXPECT_FALSE(d.IsVisible(13));
    EXPECT_FALSE(d.IsVisible(14));  // its visibility belongs to the behaviour
    d.Show(14, true);
    d.ApplyLayout(false);
    EXPECT_TRUE(d.IsVisible(13));
    EXPECT_TRUE(d.IsVisible(14));
    EXPECT_EQ(d.Find(14)->rect, (Rect{60, 60, 50, 20}));
}

TEST(DialogNotices, EditFieldsReportNewTextAndFocusToTheirBehaviour) {
    Dialog d(kTemplate);
    Recorder recorder;
    d.SetBehaviour(&recorder);
    EXPECT_EQ(d.Focus(), 10);  // the first control that can take the focus
    d.SetText(12, u"weekly");
    EXPECT_EQ(recorder.seenText, u"weekly");
    d.SetFocus(12);
    d.SetFocus(12);  // no second notice without a change of focus
    d.SetText(13, u"Done");
    EXPECT_EQ(recorder.commands,
              (std::vector<std::pair<int, CommandCode>>{{12, CommandCode::EditChange},
                                                        {12, CommandCode::EditSetFocus}}));

    d.End(1027);
    d.End(1026);  // the first result stands
    EXPECT_TRUE(d.Ended());
    EXPECT_EQ(d.Result(), 1027);
}

}  // namespace
}  // namespace qv
