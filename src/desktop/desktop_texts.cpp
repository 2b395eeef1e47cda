// The desktop program's words.
#include "desktop/desktop_texts.h"

#include <iterator>

namespace qv {
namespace {

struct Entry {
    DesktopText id;
    std::u16string_view text;
};

constexpr Entry kTexts[] = {
    {DesktopText::Caption, u"Quorvella"},
    {DesktopText::TimerStart, u"Start"},
    {DesktopText::TimerStop, u"Stop"},
    {DesktopText::TimerDiscard, u"Discard"},
    {DesktopText::WindowMenuStart, u"Start timer"},
    {DesktopText::WindowMenuStop, u"Stop timer"},
    {DesktopText::WindowMenuDiscard, u"Discard timer"},
    {DesktopText::ShowWindow, u"Show Quorvella"},
    {DesktopText::Exit, u"Exit"},
    {DesktopText::WindowTitleRunning, u"Quorvella - %1 %2"},
    {DesktopText::TipStopped, u"Quorvella: no timer runs"},
    {DesktopText::TipRunning, u"Quorvella: timer running\n%1, %2\n%3"},
    {DesktopText::TipNoCategory, u"no category"},
    {DesktopText::TimerDamagedMoved,
     u"The timer file %1 could not be used: %2.\n\nIt was moved to %3 and no timer runs."},
    {DesktopText::TimerDamagedKept,
     u"The timer file %1 could not be used: %2.\n\nIt could not be moved aside (%3); no timer "
     u"runs."},
    {DesktopText::TimerNotStarted, u"The timer could not be started: %1."},
    {DesktopText::TimerNotForgotten,
     u"The record was booked, but the timer file %1 could not be removed: %2.\n\nRemove it "
     u"before the next start, or the timer will run again."},
    {DesktopText::TimerNotDiscarded,
     u"The timer file %1 could not be removed: %2.\n\nThe timer runs on."},
    {DesktopText::TimerRestNotBooked,
     u"The timer ran %1. A record holds at most %2, so %2 is proposed and the remaining %3 is "
     u"not booked."},
    {DesktopText::TimerProjectGone,
     u"The timer's project \"%1\" no longer exists: the record is proposed for the current "
     u"project, %2."},
    {DesktopText::TimerCategoryGone,
     u"The timer's category \"%1\" no longer exists: choose the record's category."},
    {DesktopText::TimerNoProject,
     u"There is no project to book the time to. Make a project with New; the timer runs on."},
    {DesktopText::TimerDiscardQuestion,
     u"Discard the timer of %1, running for %2? Nothing is booked."},
    {DesktopText::OverviewItem, u"Overview..."},
    {DesktopText::OverviewTitle, u"Quorvella - Overview"},
    {DesktopText::OverviewWeek, u"Week"},
    {DesktopText::OverviewMonth, u"Month"},
    {DesktopText::OverviewThisWeek, u"This week"},
    {DesktopText::OverviewThisMonth, u"This month"},
    {DesktopText::OverviewSavePicture, u"Save picture..."},
    {DesktopText::OverviewEmpty, u"No time is booked in this period."},
    {DesktopText::OverviewTotal, u"Total:"},
    {DesktopText::OverviewPerDay, u"Hours per day"},
    {DesktopText::OverviewPerCategory, u"Hours per category"},
    {DesktopText::OverviewProject, u"Project"},
    {DesktopText::OverviewCategory, u"Category"},
    {DesktopText::OverviewDuration, u"Duration"},
    {DesktopText::OverviewMemo, u"Memo"},
    {DesktopText::OverviewPickDay, u"Click a day's bar to list its records."},
    {DesktopText::SyncFolderItem, u"Sync folder..."},
    {DesktopText::SyncStopItem, u"Stop syncing"},
    {DesktopText::SyncChooseFolder, u"Quorvella - Folder shared with your other computers"},
    {DesktopText::SyncNotOn, u"Sync could not be turned on.\n\n%1."},
    {DesktopText::SyncProblem,
     u"Your changes are kept on this computer, but sync with your other computers cannot go "
     u"on for now.\n\n%1.\n\nIt is tried again every minute."},
    {DesktopText::SyncLimit,
     u"Changes from your other computers wait: applying them would pass the 65,535 time records "
     u"or the 15 projects this computer keeps. %1 changes wait.\n\nDelete records or projects "
     u"to make room; they are tried again every minute."},
    {DesktopText::AlreadyRunning, u"Quorvella already runs on this data folder:\n%1"},
    {DesktopText::SettingsNotSaved, u"Your settings could not be saved to %1: %2"},
};

}  // namespace

std::u16string_view DesktopString(DesktopText id) {
    for (const Entry& e : kTexts) {
        if (e.id == id) return e.text;
    }
    return u"";
}

std::u16string Say(DesktopText id, std::initializer_list<std::u16string_view> args) {
    const std::u16string_view text = DesktopString(id);
    std::u16string said;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n =
            i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - u'1') : args.size();
        if (text[i] == u'%' && n < args.size()) {
            said += *std::next(args.begin(), static_cast<std::ptrdiff_t>(n));
            ++i;
        } else {
            said += text[i];
        }
    }
    return said;
}

}  // namespace qv
