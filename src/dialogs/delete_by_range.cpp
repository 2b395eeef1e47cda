// Delete by Range: the two days, the records of the current project between them, the
// question and the deletion of all of them as one store change.
#include "dialogs/delete_by_range.h"

#include <string>

#include "core/date_range.h"
#include "dialogs/frame.h"
#include "res/string_table.h"
#include "store/batch_changes.h"
#include "store/record_store.h"

namespace qv {
namespace {

class DeleteByRange : public DialogBehaviour {
  public:
    DeleteByRange(UiHost& host, StoreContext& store)
        : host_(host), store_(store), s_(store.state) {}

    void OnInit(Dialog& d) override;
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog&, int id, NotifyCode code, int) override {
        if ((id == kDeleteByRangeStart || id == kDeleteByRangeEnd) &&
            code == NotifyCode::DateDropDown) {
            SetInputPanel(host_, false);
        }
    }
    void OnActivate(Dialog&) override { SetInputPanel(host_, false); }
    void OnHelp(Dialog&) override { ShowHelp(host_, u"Timerecords"); }
    void OnPaint(const Dialog& d, Size, PaintList& paint) override {
        paint = PaintTitleBand(host_, d.Template().band);
    }

  private:
    void OnFind(Dialog& d);
    // Copies the records of timeRecords between the two chosen days into rangeRecords.
    void FindRecords();
    void DeleteFound();

    UiHost& host_;
    StoreContext& store_;
    AppState& s_;
};

void DeleteByRange::OnInit(Dialog& d) {
    d.SetDate(kDeleteByRangeStart, s_.rangeStartDate);
    d.SetDate(kDeleteByRangeEnd, s_.rangeEndDate);
    SetInputPanel(host_, false);
    d.SetFocus(kDeleteByRangeStart);
}

void DeleteByRange::OnCommand(Dialog& d, int id, CommandCode code) {
    if (code != CommandCode::Clicked) return;
    if (id == kDeleteByRangeFind) return OnFind(d);
    if (id == kDeleteByRangeCancel || id == IDOK) d.End(kDeleteByRangeCancel);
}

// The chosen days do not become the dialogs' next defaults.
void DeleteByRange::OnFind(Dialog& d) {
    const CalendarDate now = host_.GetClock().GetLocalTime();
    Reset(s_.rangeStart);
    SetDate(s_.rangeStart, d.Date(kDeleteByRangeStart).value_or(now));
    Reset(s_.rangeEnd);
    SetDate(s_.rangeEnd, d.Date(kDeleteByRangeEnd).value_or(now));
    // A single day is a valid range.
    if (!IsOrderedRange(s_.rangeStart.dateKey, s_.rangeEnd.dateKey)) {
        ShowNotice(host_, kStrStartsAfterEnds);
        d.SetFocus(kDeleteByRangeStart);
        return;
    }
    FindRecords();
    const uint16_t found = s_.rangeRecords.Count();
    if (found == 0) {
        ShowNotice(host_, kStrNoRecordsFound);
        d.SetFocus(kDeleteByRangeStart);
        return;
    }
    const std::u16string question = TrimBlanks(FormatDecimal(found) + u" " +
                                               LoadString(kStrRecordsWillBeDeleted).value_or(u""));
    if (!AskYesNo(host_, question)) return;
    DeleteFound();
    d.End(kDeleteByRangeFind);
}

void DeleteByRange::FindRecords() {
    s_.rangeRecords.Clear();
    const auto first = s_.rangeStart.dateKey;
    const auto last = s_.rangeEnd.dateKey;
    for (TimeRecord* r = s_.timeRecords.First(); r != nullptr; r = s_.timeRecords.Next()) {
        if (DayInRange(r->dateKey, first, last)) s_.rangeRecords.Append(*r);
    }
}

// One store change for the whole range: a refused record undoes the ones before it, and the
// store's message is said once. The list is loaded again either way.
void DeleteByRange::DeleteFound() {
    host_.SetWaitCursor(true);
    Tell(host_, DeleteTimeRecords(store_, s_.rangeRecords));
    Tell(host_, LoadTimeRecords(store_));
    host_.SetWaitCursor(false);
}

}  // namespace

int ShowDeleteByRange(UiHost& host, StoreContext& store) {
    DeleteByRange dialog(host, store);
    return host.RunDialog(kDeleteByRangeTemplate, dialog);
}

}  // namespace qv
