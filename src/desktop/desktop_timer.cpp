// The desktop's timer between its file and Register Time.
#include "desktop/desktop_timer.h"

#include <algorithm>
#include <cstdio>

#include "app/prefilled_booking.h"
#include "core/text.h"
#include "desktop/desktop_texts.h"
#include "platform/files/timer_file.h"

namespace qv {
int64_t DesktopTimer::Now() const {
    return SecondsNow(clock_);
}

std::u16string DesktopTimer::TimeRun() const {
    return timer_ ? HoursMinutes(std::max<int64_t>(0, Now() - timer_->start) / 60) : u"";
}

void DesktopTimer::Tell(const std::u16string& text) {
    shell_.MessageBox(text, std::u16string(DesktopString(DesktopText::Caption)),
                      MB_OK | MB_ICONEXCLAMATION);
}

void DesktopTimer::Load() {
    const TimerReading read = ReadTimer(dataDir_, Now());
    timer_.reset();
    switch (read.state) {
        case TimerReading::State::None:
            return;
        case TimerReading::State::Running:
            timer_ = read.timer;
            return;
        case TimerReading::State::Damaged: {
            const std::u16string file = TimerFilePath(dataDir_).u16string();
            std::fprintf(stderr, "quorvella: timer file %s: %s\n", TimerFilePath(dataDir_).c_str(),
                         read.problem.c_str());
            if (read.movedTo.empty()) {
                Tell(Say(DesktopText::TimerDamagedKept,
                         {file, FromUtf8(read.problem), FromUtf8(read.moveFailure)}));
            } else {
                Tell(Say(DesktopText::TimerDamagedMoved,
                         {file, FromUtf8(read.problem), read.movedTo.u16string()}));
            }
            return;
        }
    }
}

bool DesktopTimer::CanStart() const {
    return app_ != nullptr && !timer_ && !CurrentProjectName(*app_).empty();
}

bool DesktopTimer::Start() {
    if (!CanStart()) return false;
    RunningTimer timer{Now(), CurrentProjectName(*app_), LastUsedCategory(*app_), u""};
    std::string why;
    if (!StartTimer(dataDir_, timer, why)) {
        Tell(Say(DesktopText::TimerNotStarted, {FromUtf8(why)}));
        // A timer another program started meanwhile is the one that runs.
        if (ReadTimer(dataDir_, Now()).state == TimerReading::State::Running) Load();
        return false;
    }
    timer_ = std::move(timer);
    return true;
}

bool DesktopTimer::Stop() {
    if (!timer_ || app_ == nullptr) return false;
    const std::u16string current = CurrentProjectName(*app_);
    if (current.empty()) {
        Tell(Say(DesktopText::TimerNoProject));
        return false;
    }
    const RunningTimer timer = *timer_;
    const TimerStop stop = ProposeStop(timer, Now());
    PrefilledRecord prefill{stop.date, stop.duration.minutes, u"", u"", timer.memo};
    std::u16string notes;
    auto note = [&notes](const std::u16string& text) {
        notes += (notes.empty() ? u"" : u"\n\n") + text;
    };
    if (stop.duration.unbookedMinutes > 0) {
        note(Say(DesktopText::TimerRestNotBooked, {TimeRun(), HoursMinutes(kTimerLongestMinutes),
                                                   HoursMinutes(stop.duration.unbookedMinutes)}));
    }
    if (HasProject(*app_, timer.project)) {
        prefill.project = timer.project;
    } else {
        note(Say(DesktopText::TimerProjectGone, {timer.project, current}));
    }
    if (timer.category.empty() || HasCategory(*app_, timer.category)) {
        prefill.category = timer.category;
    } else {
        note(Say(DesktopText::TimerCategoryGone, {timer.category}));
    }
    if (!notes.empty()) Tell(notes);
    if (!BookPrefilled(*app_, prefill)) return false;
    timer_.reset();
    std::string why;
    if (!RemoveTimer(dataDir_, why)) {
        Tell(Say(DesktopText::TimerNotForgotten,
                 {TimerFilePath(dataDir_).u16string(), FromUtf8(why)}));
    }
    return true;
}

bool DesktopTimer::Discard() {
    if (!timer_) return false;
    const int answer = shell_.MessageBox(
        Say(DesktopText::TimerDiscardQuestion, {timer_->project, TimeRun()}),
        std::u16string(DesktopString(DesktopText::Caption)), MB_YESNO | MB_ICONEXCLAMATION);
    if (answer != IDYES) return false;
    std::string why;
    if (!RemoveTimer(dataDir_, why)) {
        Tell(Say(DesktopText::TimerNotDiscarded,
                 {TimerFilePath(dataDir_).u16string(), FromUtf8(why)}));
        return false;
    }
    timer_.reset();
    return true;
}

std::u16string DesktopTimer::WindowTitle() const {
    if (!timer_) return std::u16string(DesktopString(DesktopText::Caption));
    return Say(DesktopText::WindowTitleRunning, {timer_->project, TimeRun()});
}

std::u16string DesktopTimer::Summary() const {
    if (!timer_) return std::u16string(DesktopString(DesktopText::TipStopped));
    const std::u16string category = timer_->category.empty()
                                        ? std::u16string(DesktopString(DesktopText::TipNoCategory))
                                        : timer_->category;
    return Say(DesktopText::TipRunning, {timer_->project, category, TimeRun()});
}

}  // namespace qv
