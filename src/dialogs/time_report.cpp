// The time report by category: range check, one category's total or the sortable list of
// every category's total, Reset, Export..., rotation and OK.
#include "dialogs/time_report.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/comparisons.h"
#include "core/date_range.h"
#include "dialogs/frame.h"
#include "dialogs/list_images.h"
#include "res/string_table.h"

namespace qv {
namespace {

// The list of every category's total, sorted as SortRapport and SortOrderRapport say.
constexpr ReportListShape kCategoryList{
    kTimeReportList,      {7, 160, 223, 92},
    {164, 13, 153, 110},  {{kStrReportCategoryHeader, 125, 80}, {kStrReportTimeHeader, 85, 70}},
    SortCategoriesByName, SortCategoriesByTime};

// The drop-down list's text is read into a buffer of forty characters.
constexpr size_t kCategoryReadChars = 40;

void Refill(CategoryList& categories, CategoryList& buffer, uint32_t order) {
    if (order == 1) {
        for (CategoryItem* c = buffer.Last(); c != nullptr; c = c->prev) categories.Add(*c);
    } else {
        for (CategoryItem* c = buffer.First(); c != nullptr; c = buffer.Next()) categories.Add(*c);
    }
}

enum class ReportMode { Choosing, Single, List };

class TimeReport : public DialogBehaviour {
  public:
    TimeReport(UiHost& host, AppState& state, ReportExportHook exportReport)
        : host_(host), s_(state), export_(std::move(exportReport)) {}

    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnSize(Dialog& d, bool landscape) override;
    void OnActivate(Dialog&) override { SetInputPanel(host_, false); }
    void OnHelp(Dialog&) override { ShowHelp(host_, u"Workwithrapport"); }

  private:
    void AllChanged(Dialog& d);
    void ViewReport(Dialog& d);
    void SingleTotal(Dialog& d);
    void ListReport(Dialog& d);
    // List, headers, order and rows for the range in rangeStart and rangeEnd; false when the
    // list cannot be made or the categories cannot be sorted.
    bool BuildList(Dialog& d);
    void FillList(Dialog& d);
    void HeaderTap(Dialog& d, int column);
    void Reset(Dialog& d);
    void Export(Dialog& d);
    void Ok(Dialog& d);
    void Fail(Dialog& d);
    void WriteSortSettings();

    UiHost& host_;
    AppState& s_;
    ReportExportHook export_;
    ReportMode mode_ = ReportMode::Choosing;
    bool landscape_ = false;
    // Its sort values are the working copies of SortRapport and SortOrderRapport.
    ReportList list_{kCategoryList};
};

void TimeReport::OnInit(Dialog& d) {
    d.SetDate(kTimeReportStart, s_.rangeStartDate);
    d.SetDate(kTimeReportEnd, s_.rangeEndDate);
    // The control sorts the names; none is chosen yet.
    for (CategoryItem* c = s_.categories.First(); c != nullptr; c = s_.categories.Next()) {
        d.AddString(kTimeReportCategory, c->name.value_or(u""));
    }
    d.SetCurSel(kTimeReportCategory, -1);
    d.SetChecked(kTimeReportAll, false);
    d.Enable(kTimeReportView, false);
    // Until a list report loads them, the working sort values are the settings' own: OK then
    // writes back what was there.
    list_.sortColumn = s_.settings.SortRapport;
    list_.sortOrder = s_.settings.SortOrderRapport;
    d.SetFocus(kTimeReportStart);
}

void TimeReport::OnCommand(Dialog& d, int id, CommandCode code) {
    if (id == kTimeReportCategory) {
        if (code == CommandCode::DropDown) SetInputPanel(host_, false);
        if (code == CommandCode::SelectionChange) {
            d.SetChecked(kTimeReportAll, false);
            d.Enable(kTimeReportView, true);
            d.SetDefaultButton(kTimeReportView);
        }
        return;
    }
    if (code != CommandCode::Clicked) return;
    switch (id) {
        case IDOK:
            return Ok(d);
        case kTimeReportAll:
            return AllChanged(d);
        case kTimeReportView:
            return ViewReport(d);
        case kTimeReportReset:
            return Reset(d);
        case kTimeReportExport:
            return Export(d);
        default:
            return;
    }
}

void TimeReport::OnNotify(Dialog& d, int id, NotifyCode code, int item) {
    if (id == kTimeReportList) {
        SetInputPanel(host_, false);
        if (code == NotifyCode::ColumnClick) HeaderTap(d, item);
        return;
    }
    if ((id == kTimeReportStart || id == kTimeReportEnd) && code == NotifyCode::DateDropDown) {
        SetInputPanel(host_, false);
    }
}

void TimeReport::OnSize(Dialog& d, bool landscape) {
    landscape_ = landscape;
    d.ApplyLayout(landscape);
    if (mode_ != ReportMode::List || !d.IsChecked(kTimeReportAll)) return;
    // The list is built again at its place in the new layout, in the order chosen so far.
    d.DestroyControl(kTimeReportList);
    WriteSortSettings();
    if (!ComputeCategoryTotals(s_, s_.rangeStart.dateKey, s_.rangeEnd.dateKey)) return;
    if (!BuildList(d)) Fail(d);
}

void TimeReport::AllChanged(Dialog& d) {
    const bool all = d.IsChecked(kTimeReportAll);
    d.Show(kTimeReportCategory, !all);
    d.Enable(kTimeReportView, all);
    if (all) {
        d.SetDefaultButton(kTimeReportView);
    } else {
        d.Enable(kTimeReportCategory, true);
    }
}

void TimeReport::ViewReport(Dialog& d) {
    const CalendarDate now = host_.GetClock().GetLocalTime();
    const CalendarDate start = d.Date(kTimeReportStart).value_or(now);
    const CalendarDate end = d.Date(kTimeReportEnd).value_or(now);
    qv::Reset(s_.rangeStart);
    SetDate(s_.rangeStart, start);
    SetDate(s_.rangeEnd, end);
    // A single day is a valid range.
    if (!IsOrderedRange(s_.rangeStart.dateKey, s_.rangeEnd.dateKey)) {
        ShowNotice(host_, kStrStartsAfterEnds);
        d.SetFocus(kTimeReportStart);
        return;
    }
    s_.rangeStartDate = start;
    s_.rangeEndDate = end;
    if (d.IsChecked(kTimeReportAll)) {
        ListReport(d);
    } else {
        SingleTotal(d);
    }
}

void TimeReport::SingleTotal(Dialog& d) {
    const std::u16string chosen = d.Text(kTimeReportCategory, kCategoryReadChars);
    if (chosen.empty()) return RefuseEntry(host_, d, kTimeReportCategory);
    const std::u16string name = TrimBlanks(chosen);
    host_.SetWaitCursor(true);
    const uint32_t startKey = s_.rangeStart.dateKey;
    const uint32_t endKey = s_.rangeEnd.dateKey;
    int64_t sum = 0;
    for (TimeRecord* r = s_.timeRecords.First(); r != nullptr; r = s_.timeRecords.Next()) {
        if (!DayInRange(r->dateKey, startKey, endKey)) continue;
        if (r->category != name || !r->minutesText) continue;
        sum += MinutesOf(*r);
    }
    const std::u16string total =
        ReportTimeText(static_cast<int32_t>(sum), s_.settings.TimeTypeView);
    host_.SetWaitCursor(false);

    mode_ = ReportMode::Single;
    d.Show(kTimeReportReset, true);
    d.Show(kTimeReportTotalFrame, true);
    d.Show(kTimeReportTotalLabel, true);
    d.Show(kTimeReportTotal, true);
    d.SetText(kTimeReportTotal, total);
    d.Enable(kTimeReportStart, false);
    d.Enable(kTimeReportEnd, false);
    d.Enable(kTimeReportCategory, false);
    d.Enable(kTimeReportAll, false);
    d.Enable(kTimeReportView, false);
    d.Enable(kTimeReportReset, true);
    d.SetDefaultButton(kTimeReportReset);
    // The tapped button is out of reach: the focus goes to the one that now leads back.
    d.SetFocus(kTimeReportReset);
}

void TimeReport::ListReport(Dialog& d) {
    host_.SetWaitCursor(true);
    const bool found = ComputeCategoryTotals(s_, s_.rangeStart.dateKey, s_.rangeEnd.dateKey);
    host_.SetWaitCursor(false);
    if (!found) {
        ShowNotice(host_, kStrNoReportRecords);
        d.SetFocus(kTimeReportStart);
        return;
    }
    list_.sortColumn = s_.settings.SortRapport;
    list_.sortOrder = s_.settings.SortOrderRapport;
    if (!BuildList(d)) return Fail(d);

    mode_ = ReportMode::List;
    d.Show(kTimeReportReset, true);
    d.Show(kTimeReportView, false);
    d.Show(kTimeReportExport, true);
    d.Enable(kTimeReportStart, false);
    d.Enable(kTimeReportEnd, false);
    d.Enable(kTimeReportCategory, false);
    d.Enable(kTimeReportAll, false);
    d.Enable(kTimeReportReset, true);
    d.SetDefaultButton(kTimeReportReset);
    d.SetFocus(kTimeReportReset);
}

bool TimeReport::BuildList(Dialog& d) {
    if (!list_.Create(d, landscape_) || !list_.Sort(s_)) return false;
    FillList(d);
    return true;
}

// The warning comes with an empty list behind it, each time the list is filled.
void TimeReport::FillList(Dialog& d) {
    if (s_.categories.Size() > kReportListRows) {
        d.DeleteAllRows(kTimeReportList);
        ShowNotice(host_, kStrTooManyCategories);
    }
    FillReportList(s_, d);
}

void TimeReport::HeaderTap(Dialog& d, int column) {
    if (!list_.HeaderTap(d, column) || s_.categories.Empty()) return;
    // A sort that fails leaves the rows as they were.
    if (column == kReportByName) {
        host_.SetWaitCursor(true);
        if (list_.SortBy(s_, column)) FillList(d);
        host_.SetWaitCursor(false);
    } else if (list_.SortBy(s_, column)) {
        FillList(d);
    }
}

void TimeReport::Reset(Dialog& d) {
    if (mode_ == ReportMode::List) {
        d.DestroyControl(kTimeReportList);
        WriteSortSettings();
        d.SetChecked(kTimeReportAll, false);
        d.Show(kTimeReportCategory, true);
        d.Show(kTimeReportExport, false);
        d.Show(kTimeReportView, true);
    } else {
        d.Show(kTimeReportTotalFrame, false);
        d.Show(kTimeReportTotalLabel, false);
        d.Show(kTimeReportTotal, false);
    }
    mode_ = ReportMode::Choosing;
    d.Enable(kTimeReportStart, true);
    d.Enable(kTimeReportEnd, true);
    d.Enable(kTimeReportCategory, true);
    d.Enable(kTimeReportAll, true);
    d.Enable(kTimeReportReset, false);
    d.Show(kTimeReportReset, false);
    d.Enable(kTimeReportView, true);
    d.SetDefaultButton(kTimeReportView);
    d.SetFocus(kTimeReportView);
}

void TimeReport::Export(Dialog& d) {
    if (export_) export_();
    d.SetDefaultButton(kTimeReportReset);
}

void TimeReport::Ok(Dialog& d) {
    WriteSortSettings();
    d.DestroyControl(kTimeReportList);
    d.End(kTimeReportOk);
}

void TimeReport::Fail(Dialog& d) {
    d.DestroyControl(kTimeReportList);
    d.End(kTimeReportFailed);
}

void TimeReport::WriteSortSettings() {
    s_.settings.SortRapport = list_.sortColumn;
    s_.settings.SortOrderRapport = list_.sortOrder;
}

}  // namespace

bool ComputeCategoryTotals(AppState& state, uint32_t startKey, uint32_t endKey) {
    if (state.timeRecords.Empty()) return false;
    // One walk over the records, each summed into the category of its exact name: the same
    // totals as a walk over every record per category.
    std::unordered_map<std::u16string, size_t> indexOf;
    std::vector<CategoryItem*> items;
    items.reserve(state.categories.Size());
    for (CategoryItem* c = state.categories.First(); c != nullptr; c = state.categories.Next()) {
        if (c->name) indexOf.emplace(*c->name, items.size());
        items.push_back(c);
    }
    std::vector<int64_t> sums(items.size(), 0);
    bool found = false;
    for (TimeRecord* r = state.timeRecords.First(); r != nullptr; r = state.timeRecords.Next()) {
        if (!DayInRange(r->dateKey, startKey, endKey) || !r->category) continue;
        const auto at = indexOf.find(*r->category);
        if (at == indexOf.end()) continue;
        found = true;
        if (r->minutesText) sums[at->second] += MinutesOf(*r);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        items[i]->totalMinutes = static_cast<int32_t>(sums[i]);
    }
    return found;
}

bool SortCategoriesByName(AppState& state, uint32_t order) {
    CategoryList& categories = state.categories;
    std::vector<std::u16string> names;
    names.reserve(categories.Size());
    for (CategoryItem* c = categories.First(); c != nullptr; c = categories.Next()) {
        if (!c->name) return false;
        names.push_back(*c->name);
    }
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareText(a, b) < 0;
    });
    if (!state.categorySortBuffer.Empty()) state.categorySortBuffer.Clear();
    for (const std::u16string& name : names) {
        CategoryItem* c = categories.FindByName(name);
        if (c == nullptr || state.categorySortBuffer.Add(*c) == nullptr) {
            state.categorySortBuffer.Clear();
            return false;
        }
    }
    categories.Clear();
    Refill(categories, state.categorySortBuffer, order);
    return true;
}

bool SortCategoriesByTime(AppState& state, uint32_t order) {
    CategoryList& categories = state.categories;
    std::vector<int32_t> totals;
    totals.reserve(categories.Size());
    for (CategoryItem* c = categories.First(); c != nullptr; c = categories.Next()) {
        totals.push_back(c->totalMinutes);
    }
    std::sort(totals.begin(), totals.end(),
              [](int32_t a, int32_t b) { return CompareSigned(a, b) < 0; });
    if (!state.categorySortBuffer.Empty()) state.categorySortBuffer.Clear();
    // The first item of each total moves over first: equal totals keep their order.
    for (int32_t total : totals) {
        CategoryItem* c = categories.FindByTotal(total);
        if (c == nullptr || state.categorySortBuffer.Add(*c) == nullptr) return false;
        if (!categories.RemoveAt(c->position)) return false;
    }
    if (!categories.Empty()) return false;
    Refill(categories, state.categorySortBuffer, order);
    return true;
}

bool FillReportList(AppState& state, Dialog& dialog) {
    dialog.DeleteAllRows(kTimeReportList);
    if (state.categories.Empty()) return false;
    const uint32_t timeView = state.settings.TimeTypeView;
    std::vector<ListRow> rows;
    rows.reserve(std::min<size_t>(state.categories.Size(), kReportListRows));
    for (CategoryItem* c = state.categories.First(); c != nullptr && rows.size() < kReportListRows;
         c = state.categories.Next()) {
        ListRow& row = rows.emplace_back();
        row.image = kImageBlank;
        row.cells = {c->name.value_or(u""), ReportTimeText(c->totalMinutes, timeView)};
    }
    return dialog.SetRows(kTimeReportList, std::move(rows));
}

// The duration text of the projects balance: a total of 60,000 minutes or more shows its
// hours in full too, where a blank "0,0" would read as no time at all.
std::u16string ReportTimeText(int32_t minutes, uint32_t timeViewType) {
    return BalanceDurationText(minutes, timeViewType);
}

int ShowTimeReport(UiHost& host, AppState& state, ReportExportHook exportReport) {
    TimeReport dialog(host, state, std::move(exportReport));
    return host.RunDialog(kTimeReportTemplate, dialog);
}

}  // namespace qv
