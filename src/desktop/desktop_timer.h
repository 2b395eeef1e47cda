// The desktop's timer: one at a time, kept in the data folder's timer file so that it runs on
// through a restart, a crash or a logout, and booked through Register Time when it stops.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/calendar.h"
#include "core/timer.h"
#include "platform/ui/shell.h"

namespace qv {

struct App;

class DesktopTimer {
  public:
    DesktopTimer(Shell& shell, const Clock& clock, std::filesystem::path dataDir)
        : shell_(shell), clock_(clock), dataDir_(std::move(dataDir)) {}

    // The running program, or null once it has ended; nothing starts or stops without it.
    void Attach(App* app) { app_ = app; }
    // Reads the data folder's timer. A file that is no sound timer is said, once: it is moved
    // aside and not read again.
    void Load();

    const std::optional<RunningTimer>& Current() const { return timer_; }
    // Whether Start may start one: the program runs with a current project and no timer runs.
    bool CanStart() const;

    // Starts the timer now for the current project with the category last used.
    bool Start();
    // Register Time as New opens it, filled with the timer's proposal; OK books the record and
    // forgets the timer, Cancel leaves it running. True when it was booked.
    bool Stop();
    // Forgets the timer after the user said yes to it.
    bool Discard();

    // "Quorvella - Alpha 1:25" while a timer runs, else "Quorvella".
    std::u16string WindowTitle() const;
    // Project, category and the time run, or that none runs.
    std::u16string Summary() const;

  private:
    int64_t Now() const;
    std::u16string TimeRun() const;
    void Tell(const std::u16string& text);

    Shell& shell_;
    const Clock& clock_;
    std::filesystem::path dataDir_;
    App* app_ = nullptr;
    std::optional<RunningTimer> timer_;
};

}  // namespace qv
