// What the time report and the projects balance share: the range, the sortable list with its
// working sort values, Reset, Export..., header taps, OK, help and the input panel. Each report
// supplies its controls, its list, its sort settings and what it sums.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "core/app_state.h"
#include "dialogs/report_list.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"

namespace qv {

// The results of both reports: OK, or a list that could not be built or sorted.
constexpr int kReportOk = 1;
constexpr int kReportFailed = 0;

// What "Export..." runs: the report's export dialog, over the list as the report left it.
using ReportExportHook = std::function<void()>;

struct ReportDialogShape {
    ReportListShape list;
    int start, end;                // the range's date pickers
    int run, reset, exportButton;  // the button that makes the report, Reset, Export...
    const char16_t* helpTopic;
    uint32_t AppSettings::*sortColumn;  // the report's sort settings
    uint32_t AppSettings::*sortOrder;
    bool waitOnTimeSort;  // a tap on the time header shows the wait cursor too
};

class ReportDialog : public DialogBehaviour {
  public:
    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnSize(Dialog& d, bool landscape) override;
    void OnActivate(Dialog&) override;
    void OnHelp(Dialog&) override;

  protected:
    ReportDialog(UiHost& host, AppState& state, const ReportDialogShape& shape,
                 ReportExportHook exportReport)
        : host_(host),
          s_(state),
          shape_(shape),
          export_(std::move(exportReport)),
          list_(shape.list) {}

    // The report's own part of each step.
    virtual void InitControls(Dialog& d) = 0;
    virtual void OtherCommand(Dialog& d, int id, CommandCode code) = 0;
    virtual void MakeReport(Dialog& d) = 0;
    // The list again at its place in the new layout, while a report shows it.
    virtual void Rebuild(Dialog& d) = 0;
    // Stores the range where the report keeps it; the first and last day's keys.
    virtual std::pair<uint32_t, uint32_t> KeepRange(const CalendarDate& start,
                                                    const CalendarDate& end) = 0;
    virtual bool NothingListed() const = 0;
    virtual void FillRows(Dialog& d) = 0;
    virtual void ResetControls(Dialog& d) = 0;
    virtual void BeforeEnd() {}

    // The dates of the two pickers (today for one without); a range that starts after it ends
    // is refused with the notice and the focus on the first date. A range that passes becomes
    // the range dialogs' next default.
    bool TakeRange(Dialog& d);
    // The working sort values from the report's settings, and back.
    void LoadSortSettings();
    void WriteSortSettings();
    // List, headers, order and rows; false when the list cannot be made or sorted.
    bool BuildList(Dialog& d);
    // The range and the button that made the report are out of reach; Reset leads back, and
    // with a list shown, Export... comes.
    void ShowResult(Dialog& d, bool withList);
    void Reset(Dialog& d);
    void Fail(Dialog& d);

    UiHost& host_;
    AppState& s_;
    const ReportDialogShape& shape_;
    bool landscape_ = false;

  private:
    void HeaderTap(Dialog& d, int column);
    void Export(Dialog& d);
    void Ok(Dialog& d);

    ReportExportHook export_;
    ReportList list_;
};

// Both lists: one row per item, in the list's order, at most `most` rows: the name and the
// report time text of its total. False when there is no item.
bool FillReportRows(Dialog& d, int listId, CategoryList& items, size_t most, uint32_t timeView);
bool FillReportRows(Dialog& d, int listId, ProjectList& items, size_t most, uint32_t timeView);

}  // namespace qv
