// Booking a record proposed from outside the handheld's screens (the desktop's timer): what
// the running program can be asked, and Register Time as New opens it, filled in.
#pragma once

#include <cstdint>
#include <string>

#include "app/app.h"
#include "core/calendar.h"
#include "core/text.h"

namespace qv {

struct PrefilledRecord {
    CalendarDate date;
    int32_t minutes = 0;
    std::u16string project;   // a listed project's name; empty: the current project, as New
    std::u16string category;  // a listed category's name; empty: none chosen, as New
    std::u16string memo;
};

// The current project's name; empty while there is no project.
std::u16string CurrentProjectName(App& app);
bool HasProject(App& app, const std::u16string& name);
bool HasCategory(App& app, const std::u16string& name);
// The category of the current project's latest record (by date, the last listed of that day),
// else the first category; empty when there is none.
std::u16string LastUsedCategory(App& app);

// Register Time on a new record filled with `prefill`; OK books it as New books it (stored,
// listed when it belongs to the current project, the sound). True when it was stored; false
// without opening anything while there is no project.
bool BookPrefilled(App& app, const PrefilledRecord& prefill);

}  // namespace qv
