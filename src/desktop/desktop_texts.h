// The desktop program's own words: what it says and shows beyond the handheld's screens, in
// one table. "%1", "%2"... stand for what Say fills in.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qv {

enum class DesktopText {
    Caption,
    TimerStart,
    TimerStop,
    TimerDiscard,
    WindowMenuStart,
    WindowMenuStop,
    WindowMenuDiscard,
    ShowWindow,
    Exit,
    WindowTitleRunning,  // %1 project, %2 time run
    TipStopped,
    TipRunning,  // %1 project, %2 category, %3 time run
    TipNoCategory,
    TimerDamagedMoved,   // %1 file, %2 what is wrong, %3 where it went
    TimerDamagedKept,    // %1 file, %2 what is wrong, %3 why it could not be moved
    TimerNotStarted,     // %1 why
    TimerNotForgotten,   // %1 file, %2 why
    TimerNotDiscarded,   // %1 file, %2 why
    TimerRestNotBooked,  // %1 time run, %2 proposed, %3 left over
    TimerProjectGone,    // %1 the timer's project, %2 the current one
    TimerCategoryGone,   // %1 the timer's category
    TimerNoProject,
    TimerDiscardQuestion,  // %1 project, %2 time run
    OverviewItem,
    OverviewTitle,
    OverviewWeek,
    OverviewMonth,
    OverviewThisWeek,
    OverviewThisMonth,
    OverviewSavePicture,
    OverviewEmpty,
    OverviewTotal,
    OverviewPerDay,
    OverviewPerCategory,
    OverviewProject,
    OverviewCategory,
    OverviewDuration,
    OverviewMemo,
    OverviewPickDay,
    SyncFolderItem,
    SyncStopItem,
    SyncChooseFolder,
    SyncNotOn,         // %1 why
    SyncProblem,       // %1 what is wrong
    SyncLimit,         // %1 changes waiting
    AlreadyRunning,    // %1 data folder
    SettingsNotSaved,  // %1 file, %2 why
};

std::u16string_view DesktopString(DesktopText id);
// The text with %1, %2... replaced by the arguments in order.
std::u16string Say(DesktopText id, std::initializer_list<std::u16string_view> args = {});

}  // namespace qv
