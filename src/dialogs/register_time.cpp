// Register Time: a time record's date, duration, category, project and memo, the checks of
// OK, and the deletion of the record from the dialog.
#include "dialogs/register_time.h"

#include "dialogs/frame.h"
#include "store/record_store.h"

namespace qv {
namespace {

// "0%d" below 10, "%d" from 10: the form of every hours and minutes entry.
std::u16string TwoDigits(int32_t value) {
    const std::u16string digits = FormatDecimal(value);
    return value >= 0 && value < 10 ? u"0" + digits : digits;
}

class RegisterTime : public DialogBehaviour {
  public:
    explicit RegisterTime(RegisterTimeContext& ctx) : ctx_(ctx), s_(ctx.store.state) {}

    void OnInit(Dialog& d) override;
    void OnSize(Dialog& d, bool landscape) override { d.ApplyLayout(landscape); }
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnHelp(Dialog&) override { ShowHelp(ctx_.host, u"Timerecords"); }
    void OnPaint(const Dialog& d, Size, PaintList& paint) override {
        paint = PaintTitleBand(ctx_.host, d.Template().band);
    }

  private:
    void PresetDuration(Dialog& d);
    void FillCategories(Dialog& d);
    void FillProjects(Dialog& d);
    void OnOk(Dialog& d);
    void OnDelete(Dialog& d);
    void Leave(Dialog& d, int result) {
        ctx_.activeEntryDialog = nullptr;
        d.End(result);
    }

    RegisterTimeContext& ctx_;
    AppState& s_;
    uint32_t openedId_ = kNoRecordId;  // the record edited, by its stored identifier
};

void RegisterTime::OnInit(Dialog& d) {
    ctx_.activeEntryDialog = &d;
    if (s_.editingExisting) openedId_ = s_.scratchRecord.recordId;
    d.SetDate(kRegisterTimeDate, s_.scratchRecord.date);
    for (int32_t h = 0; h < 24; ++h) d.AddString(kRegisterTimeHours, TwoDigits(h));
    for (int32_t m = 0; m < 60; m += 10) d.AddString(kRegisterTimeMinutes, TwoDigits(m));
    PresetDuration(d);
    FillCategories(d);
    FillProjects(d);
    d.SetEditLimit(kRegisterTimeMemo, kMemoChars);
    d.SetText(kRegisterTimeMemo, s_.scratchRecord.memo.value_or(u""));
    if (s_.editingExisting) d.Show(kRegisterTimeDelete, true);
    d.SetFocus(kRegisterTimeMinutes);
    SetInputPanel(ctx_.host, false);
}

// A value without an entry (24 hours, minutes off the ten-minute steps) leaves its box
// without a selection.
void RegisterTime::PresetDuration(Dialog& d) {
    const Text& minutes = s_.scratchRecord.minutesText;
    if (!minutes) {
        d.SelectString(kRegisterTimeHours, u"00");
        d.SelectString(kRegisterTimeMinutes, u"00");
        return;
    }
    const int32_t total = ParseLong(*minutes);
    const int32_t m = total % 60;
    const int32_t h = (total - m) / 60;
    d.SelectString(kRegisterTimeHours, TwoDigits(h));
    d.SelectString(kRegisterTimeMinutes, TwoDigits(m));
}

void RegisterTime::FillCategories(Dialog& d) {
    for (CategoryItem* c = s_.categories.First(); c != nullptr; c = s_.categories.Next()) {
        d.AddString(kRegisterTimeCategory, c->name.value_or(u""));
    }
    const Text& category = s_.scratchRecord.category;
    if (!category) return;  // a new record has none
    const int exact = d.FindStringExact(kRegisterTimeCategory, *category);
    if (exact != -1) {
        d.SetCurSel(kRegisterTimeCategory, exact);
    } else {
        d.SelectString(kRegisterTimeCategory, *category);
    }
}

// The box starts at the current project: the records listed are all of it. Its entry is the
// one of its very name, so that OK on an unchanged record leaves it where it is.
void RegisterTime::FillProjects(Dialog& d) {
    for (ProjectRecord* p = s_.projects.First(); p != nullptr; p = s_.projects.Next()) {
        d.AddString(kRegisterTimeProject, p->name.value_or(u""));
    }
    const Text current =
        ctx_.startProject != nullptr ? Text(*ctx_.startProject) : s_.currentProject.name;
    if (s_.projects.Empty() || !current || current->empty()) return;
    const int exact = FindEntryExact(d, kRegisterTimeProject, *current);
    if (exact != -1) {
        d.SetCurSel(kRegisterTimeProject, exact);
    } else {
        d.SelectString(kRegisterTimeProject, *current);
    }
}

void RegisterTime::OnCommand(Dialog& d, int id, CommandCode code) {
    switch (code) {
        case CommandCode::DropDown:  // the list needs the room the input panel takes
            SetInputPanel(ctx_.host, false);
            return;
        case CommandCode::EditSetFocus:
            if (id == kRegisterTimeMemo) SetInputPanel(ctx_.host, true);
            return;
        case CommandCode::Clicked:
            break;
        default:
            return;
    }
    switch (id) {
        case IDOK:  // the Done button confirms as OK does
        case kRegisterTimeOk:
            OnOk(d);
            return;
        case kRegisterTimeCancel:
            ctx_.activeEntryDialog = nullptr;
            Reset(s_.scratchRecord);
            d.End(kRegisterTimeCancel);
            return;
        case kRegisterTimeDelete:
            if (s_.editingExisting) OnDelete(d);
            return;
        default:
            return;
    }
}

void RegisterTime::OnNotify(Dialog&, int id, NotifyCode code, int) {
    if (id == kRegisterTimeDate && code == NotifyCode::DateDropDown) {
        SetInputPanel(ctx_.host, false);
    }
}

// Every check beeps and moves the focus; nothing is said in words. The date is kept for the
// next record even when a later check fails.
void RegisterTime::OnOk(Dialog& d) {
    TimeRecord& r = s_.scratchRecord;
    const CalendarDate date =
        d.Date(kRegisterTimeDate).value_or(ctx_.host.GetClock().GetLocalTime());
    SetDate(r, date);
    s_.lastUsedDate = date;

    const std::u16string hours = TrimBlanks(d.Text(kRegisterTimeHours, kDurationChars));
    if (hours.empty()) return RefuseEntry(ctx_.host, d, kRegisterTimeHours);
    const std::u16string minutes = TrimBlanks(d.Text(kRegisterTimeMinutes, kDurationChars));
    if (minutes.empty()) return RefuseEntry(ctx_.host, d, kRegisterTimeMinutes);
    // no time of zero length is booked
    if (hours == u"00" && minutes == u"00") return RefuseEntry(ctx_.host, d, kRegisterTimeMinutes);
    const int64_t total = int64_t{ParseLong(hours)} * 60 + ParseLong(minutes);
    if (total < 0 || total > kMaxRecordMinutes) {
        return RefuseEntry(ctx_.host, d, kRegisterTimeMinutes);
    }
    SetMinutes(r, FormatDecimal(total));

    const std::u16string category = TrimBlanks(d.Text(kRegisterTimeCategory, kCategoryChars));
    if (category.empty()) return RefuseEntry(ctx_.host, d, kRegisterTimeCategory);
    SetCategory(r, category);

    const std::u16string project = TrimBlanks(d.Text(kRegisterTimeProject, kProjectNameReadChars));
    if (project.empty()) return RefuseEntry(ctx_.host, d, kRegisterTimeProject);
    const ProjectRecord* chosen = s_.projects.FindByName(project);
    r.projectId = chosen != nullptr ? chosen->projectId : s_.currentProject.projectId;

    SetMemo(r, TrimBlanks(d.Text(kRegisterTimeMemo, kMemoChars)));
    Leave(d, kRegisterTimeOk);
}

// The stored record goes first: only when the store has let it go do the list, its row and
// the undo list change. A refusal of the store is said by the store and changes nothing. The
// record is the one the dialog opened, found by its identifier where it is listed now.
void RegisterTime::OnDelete(Dialog& d) {
    SetInputPanel(ctx_.host, false);
    if (!AskYesNo(ctx_.host, kStrDeleteRecord)) {
        d.SetFocus(kRegisterTimeMinutes);
        SetInputPanel(ctx_.host, false);
        return;
    }
    const TimeRecord* listed = FindByRecordId(s_.timeRecords, openedId_);
    if (listed == nullptr) {
        ShowNotice(ctx_.host, kStrRepeatDelete);
        return Leave(d, kRegisterTimeDelete);
    }
    // the listed values, not what a refused OK left in the scratch record
    Reset(s_.scratchRecord);
    CopyFrom(s_.scratchRecord, *listed);
    // With the undo list full the user may keep the record after all: the dialog stays open.
    if (!ctx_.deletion.RoomForUndo()) return;
    if (Tell(ctx_.host, DeleteTimeRecord(ctx_.store, s_.scratchRecord.recordId))) {
        ctx_.deletion.RecordDeleted(s_.scratchRecord);
    }
    Leave(d, kRegisterTimeDelete);
}

}  // namespace

int ShowRegisterTime(RegisterTimeContext& ctx) {
    RegisterTime dialog(ctx);
    return ctx.host.RunDialog(kRegisterTimeTemplate, dialog);
}

}  // namespace qv
