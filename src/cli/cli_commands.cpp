// The subcommands: the table, the reading of their arguments, and their execution over a
// session. Refusals are said in one line and leave the store as it was.
#include "cli/cli_commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_reading.h"
#include "cli/cli_texts.h"
#include "core/date_range.h"
#include "core/project_lists.h"
#include "core/reports.h"
#include "dialogs/frame.h"
#include "export/csv_export.h"
#include "platform/files/system_clock.h"
#include "platform/files/timer_file.h"
#include "store/record_store.h"

namespace qv::cli {

namespace {

struct OptionSpec {
    std::string_view name;  // without the leading dashes
    bool takesValue;
    bool required;
    std::string_view onlyFor = {};  // the first word it belongs to; empty: every one
};

}  // namespace

struct Subcommand {
    std::string_view name;
    std::vector<std::string_view> kinds;  // the first word it needs, if any
    std::vector<OptionSpec> options;
    Answer (*run)(Session&, const Request&);
};

namespace {

// Dates and durations as typed.
constexpr size_t kMemoChars = 29;
constexpr int32_t kLeastMinutes = 10;
constexpr int32_t kMostMinutes = 23 * 60 + 50;
constexpr int32_t kMinuteStep = 10;
constexpr uint32_t kOpenStart = 0;
constexpr uint32_t kOpenEnd = 99999999;

Answer Refuse(std::string_view why, const std::string& what = {}, std::string_view after = {}) {
    Answer a;
    a.status = kRefused;
    a.err = "quorvella: " + std::string(why) + what + std::string(after) + "\n";
    return a;
}

Answer UsageError(std::string_view why, const std::string& what = {}, std::string_view after = {}) {
    Answer a;
    a.status = kUsageError;
    a.err = "quorvella: " + std::string(why) + what + std::string(after) + "\n" +
            std::string(says::kSeeHelp) + "\n";
    return a;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ToNumber(std::string_view digits) {
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

// YYYY-MM-DD, a day of the calendar.
std::optional<CalendarDate> ReadDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !AllDigits(text.substr(0, 4)) ||
        !AllDigits(text.substr(5, 2)) || !AllDigits(text.substr(8, 2))) {
        return std::nullopt;
    }
    const CalendarDate date = MakeDate(static_cast<uint16_t>(ToNumber(text.substr(0, 4))),
                                       static_cast<uint16_t>(ToNumber(text.substr(5, 2))),
                                       static_cast<uint16_t>(ToNumber(text.substr(8, 2))));
    if (date.year == 0 || !SecondsSinceEpoch(date)) return std::nullopt;
    return date;
}

// H:MM or whole minutes.
std::optional<int32_t> ReadDuration(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        if (!AllDigits(text) || text.size() > 6) return std::nullopt;
        return ToNumber(text);
    }
    const std::string_view hours = text.substr(0, colon);
    const std::string_view minutes = text.substr(colon + 1);
    if (!AllDigits(hours) || hours.size() > 4 || minutes.size() != 2 || !AllDigits(minutes) ||
        ToNumber(minutes) > 59) {
        return std::nullopt;
    }
    return ToNumber(hours) * 60 + ToNumber(minutes);
}

// A name as typed: UTF-8 in, the program's text with blanks trimmed out.
std::u16string NameOf(const std::string& typed) {
    return TrimBlanks(FromUtf8(typed));
}

// Appends UTF-16 text as UTF-8; as the inside of a JSON string, quotes, backslashes and
// control characters escaped; as a field of a tab-separated line, a control character (a tab,
// a line break) a blank. A lone surrogate becomes U+FFFD.
void AppendText(std::string& out, std::u16string_view text, bool json) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            if (json && (c == u'"' || c == u'\\')) {
                out += '\\';
            } else if (json && c < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
                continue;
            }
            out += c < 0x20 ? ' ' : static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
        } else {
            if (c < 0x10000) {
                out += static_cast<char>(0xE0 | (c >> 12));
            } else {
                out += static_cast<char>(0xF0 | (c >> 18));
                out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            }
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf8(std::u16string_view text) {
    std::string out;
    AppendText(out, text, false);
    return out;
}

std::string Utf8(const std::u16string& text) {
    return Utf8(std::u16string_view(text));
}

std::string Utf8(const Text& text) {
    return text ? Utf8(std::u16string_view(*text)) : std::string();
}

std::string Utf8(const InlineText& text) {
    return Utf8(*text);
}

// A JSON string.
std::string Json(std::u16string_view text) {
    std::string out = "\"";
    AppendText(out, text, true);
    return out + "\"";
}

std::string Json(const std::u16string& text) {
    return Json(std::u16string_view(text));
}

std::string Json(const Text& text) {
    return Json(text ? std::u16string_view(*text) : std::u16string_view());
}

// "YYYY-MM-DD" with its quotes.
void AppendIsoDate(std::string& out, const CalendarDate& d) {
    const auto digits = [&out](unsigned value, int count) {
        char text[4];
        for (int k = count - 1; k >= 0; --k, value /= 10)
            text[k] = static_cast<char>('0' + value % 10);
        out.append(text, static_cast<size_t>(count));
    };
    out += '"';
    digits(d.year, 4);
    out += '-';
    digits(d.month, 2);
    out += '-';
    digits(d.day, 2);
    out += '"';
}

std::string IsoDate(const CalendarDate& d) {
    std::string out;
    AppendIsoDate(out, d);
    return out;
}

// The project a command names, or the current one; null (with the refusal) when the name is
// unknown, and null without one when there is no project at all.
const ProjectRecord* ChosenProject(Session& s, const Request& r, std::optional<Answer>& refusal) {
    AppState& state = s.live.state;
    if (const std::string* name = r.Value("project")) {
        for (ProjectRecord* p : ItemsOf<ProjectRecord>(state.projects)) {
            if (p->name && *p->name == NameOf(*name)) return p;
        }
        refusal = Refuse(says::kNoProjectNamed, *name, "'");
        return nullptr;
    }
    if (state.projects.Empty()) return nullptr;
    return &state.currentProject;
}

// The range of days a command names: open at an end not given.
std::optional<std::pair<uint32_t, uint32_t>> RangeOf(const Request& r,
                                                     std::optional<Answer>& refusal) {
    uint32_t first = kOpenStart;
    uint32_t last = kOpenEnd;
    if (const std::string* from = r.Value("from")) {
        const CalendarDate d = *ReadDate(*from);
        first = DateKeyOf(d.year, d.month, d.day);
    }
    if (const std::string* to = r.Value("to")) {
        const CalendarDate d = *ReadDate(*to);
        last = DateKeyOf(d.year, d.month, d.day);
    }
    if (!IsOrderedRange(first, last)) {
        refusal = Refuse(says::kStartsAfterEnds);
        return std::nullopt;
    }
    return std::pair{first, last};
}

// --- add -----------------------------------------------------------------------------------

std::string_view StoreFailureText(const StoreResult& result) {
    for (const StoreFailure& f : result.failures()) {
        if (f.fault == StoreFault::TooManyRecords) return says::kTooManyRecords;
        if (f.fault == StoreFault::Unreadable) return says::kStoreUnreadable;
    }
    return says::kStoreAdding;
}

// Whether a category of the list has this name.
bool IsCategory(const AppState& state, const std::u16string& name) {
    const std::vector<CategoryItem*> categories = ItemsOf<CategoryItem>(state.categories);
    return !name.empty() && std::any_of(categories.begin(), categories.end(),
                                        [&](const CategoryItem* c) { return c->name == name; });
}

// Stores a record that passed Register Time's checks, as its OK stores it.
Answer Store(Session& s, TimeRecord& record) {
    std::string why;
    StoreContext* target = s.beginChange ? s.beginChange(why) : &s.live;
    if (target == nullptr) return Refuse(why);
    uint32_t newId = 0;
    const StoreResult added = AddTimeRecord(*target, record, newId);
    if (!added) return Refuse(StoreFailureText(added));
    record.recordId = newId;
    if (s.recordAdded) s.recordAdded(record);
    return {};
}

Answer RunAdd(Session& s, const Request& r) {
    AppState& state = s.live.state;
    if (state.projects.Empty()) return Refuse(says::kNoProjects);

    const int32_t minutes = *ReadDuration(*r.Value("time"));
    if (minutes < kLeastMinutes || minutes > kMostMinutes || minutes % kMinuteStep != 0) {
        return Refuse(says::kTimeRange);
    }
    const std::u16string category = NameOf(*r.Value("category"));
    if (!IsCategory(state, category)) {
        return Refuse(says::kNoCategoryNamed, *r.Value("category"), "'");
    }
    std::optional<Answer> refusal;
    const ProjectRecord* project = ChosenProject(s, r, refusal);
    if (project == nullptr) return *refusal;
    const std::u16string memo = r.Has("memo") ? TrimBlanks(FromUtf8(*r.Value("memo"))) : u"";
    if (memo.size() > kMemoChars) return Refuse(says::kMemoTooLong);

    const CalendarDate today = s.live.clock.GetLocalTime();
    const CalendarDate date =
        r.Has("date") ? *ReadDate(*r.Value("date")) : MakeDate(today.year, today.month, today.day);
    TimeRecord record;
    Reset(record);
    if (!SetDate(record, date)) return Refuse(says::kDateRange);
    SetMinutes(record, FormatDecimal(minutes));
    SetCategory(record, category);
    SetMemo(record, memo);
    record.projectId = project->projectId;
    return Store(s, record);
}

// --- timer -----------------------------------------------------------------------------------

// "2026-12-07 09:15" in local time, or "2026-12-07T09:15:00Z" in universal time.
std::string MomentText(int64_t seconds, bool universal) {
    const CalendarDate t = universal ? UtcDateOf(seconds) : LocalTimeOf(UtcDateOf(seconds));
    char text[64];
    if (universal) {
        std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", unsigned{t.year},
                      unsigned{t.month}, unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute},
                      unsigned{t.second});
    } else {
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", unsigned{t.year},
                      unsigned{t.month}, unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute});
    }
    return text;
}

// The timer of the data folder: a damaged file is moved aside and said on standard error
// (into `err`), and then no timer runs.
std::optional<RunningTimer> ReadRunningTimer(Session& s, int64_t now, std::string& err) {
    const std::filesystem::path& dataDir = s.files.Folders().dataDir;
    const TimerReading read = ReadTimer(dataDir, now);
    if (read.state == TimerReading::State::Running) return read.timer;
    if (read.state == TimerReading::State::Damaged) {
        err += "quorvella: " + std::string(says::kTimerDamaged) + TimerFilePath(dataDir).string() +
               ": " + read.problem + "; " +
               (read.movedTo.empty() ? std::string(says::kTimerKept) + read.moveFailure
                                     : std::string(says::kTimerMoved) + read.movedTo.string()) +
               "\n";
        if (s.timerChanged) s.timerChanged();
    }
    return std::nullopt;
}

Answer RunTimerStatus(Session& s, const Request& r) {
    const int64_t now = SecondsNow(s.live.clock);
    Answer a;
    const std::optional<RunningTimer> timer = ReadRunningTimer(s, now, a.err);
    const bool json = r.Has("json");
    if (!timer) {
        a.out = json ? "{\"running\":false}\n" : std::string(says::kNoTimer) + "\n";
        return a;
    }
    const int64_t minutes = std::max<int64_t>(0, now - timer->start) / 60;
    if (json) {
        a.out = "{\"running\":true,\"start\":\"" + MomentText(timer->start, true) +
                "\",\"project\":" + Json(timer->project) +
                ",\"category\":" + Json(timer->category) + ",\"memo\":" + Json(timer->memo) +
                ",\"minutes\":" + std::to_string(minutes) + "}\n";
    } else {
        a.out = "project\t" + Utf8(timer->project) + "\ncategory\t" + Utf8(timer->category) +
                "\nmemo\t" + Utf8(timer->memo) + "\nstarted\t" + MomentText(timer->start, false) +
                "\nelapsed\t" + ToUtf8(HoursMinutes(minutes)) + "\n";
    }
    return a;
}

Answer RunTimerStart(Session& s, const Request& r) {
    if (!s.refuseChanges.empty()) return Refuse(s.refuseChanges);
    AppState& state = s.live.state;
    if (state.projects.Empty()) return Refuse(says::kNoProjects);
    const int64_t now = SecondsNow(s.live.clock);
    std::string err;
    if (ReadRunningTimer(s, now, err)) return Refuse(says::kTimerRuns);
    std::optional<Answer> refusal;
    const ProjectRecord* project = ChosenProject(s, r, refusal);
    if (project == nullptr) return *refusal;
    std::u16string category;
    if (const std::string* typed = r.Value("category")) {
        category = NameOf(*typed);
        if (!IsCategory(state, category)) return Refuse(says::kNoCategoryNamed, *typed, "'");
    } else {
        ReadingState reading(s.live, s.processEnds);
        if (!reading.LoadProject(project->projectId)) return Refuse(says::kStoreUnreadable);
        category = LastUsedCategory(reading.state);
    }
    const std::u16string memo = r.Has("memo") ? TrimBlanks(FromUtf8(*r.Value("memo"))) : u"";
    if (memo.size() > kMemoChars) return Refuse(says::kMemoTooLong);

    const RunningTimer timer{now, project->name.value_or(u""), category, memo};
    std::string why;
    if (!StartTimer(s.files.Folders().dataDir, timer, why)) {
        return Refuse(says::kTimerNotStarted, why);
    }
    if (s.timerChanged) s.timerChanged();
    Answer a;
    a.err = err;
    a.out = std::string(says::kTimerStarted) + Utf8(timer.project) +
            (category.empty() ? std::string() : ", " + Utf8(category)) + ", " +
            MomentText(now, false) + "\n";
    return a;
}

Answer RunTimerStop(Session& s, const Request& r) {
    const bool book = r.Has("book");
    const bool discard = r.Has("discard");
    if (!book && !discard && !s.openStopDialog) return UsageError(says::kBookOrDiscard);
    if (!s.refuseChanges.empty()) return Refuse(s.refuseChanges);
    const int64_t now = SecondsNow(s.live.clock);
    std::string err;
    const std::optional<RunningTimer> timer = ReadRunningTimer(s, now, err);
    if (!timer) {
        Answer a = Refuse(says::kNoTimer);
        a.err = err + a.err;
        return a;
    }
    const std::filesystem::path& dataDir = s.files.Folders().dataDir;
    Answer a;
    if (!book && !discard) {
        s.openStopDialog();
        a.out = std::string(says::kStopDialogOpen) + "\n";
        return a;
    }
    if (book) {
        const AppState& state = s.live.state;
        const TimerStop stop = ProposeStop(*timer, now);
        const std::vector<ProjectRecord*> projects = ItemsOf<ProjectRecord>(state.projects);
        const auto project = std::find_if(projects.begin(), projects.end(),
                                          [&](auto* p) { return p->name == timer->project; });
        if (project == projects.end()) {
            return Refuse(says::kNoProjectNamed, Utf8(timer->project), "'");
        }
        if (!IsCategory(state, timer->category)) {
            return Refuse(says::kNoCategoryNamed, Utf8(timer->category), "'");
        }
        if (timer->memo.size() > kMemoChars) return Refuse(says::kMemoTooLong);
        TimeRecord record;
        Reset(record);
        if (!SetDate(record, stop.date)) return Refuse(says::kDateRange);
        SetMinutes(record, FormatDecimal(stop.duration.minutes));
        SetCategory(record, timer->category);
        SetMemo(record, timer->memo);
        record.projectId = (*project)->projectId;
        if (Answer stored = Store(s, record); stored.status != kDone) return stored;
        if (stop.duration.unbookedMinutes > 0) {
            a.err = "quorvella: " + ToUtf8(HoursMinutes(stop.duration.unbookedMinutes)) +
                    std::string(says::kNotBooked) + "\n";
        }
        a.out = std::string(says::kBooked) + ToUtf8(HoursMinutes(stop.duration.minutes)) + ", " +
                IsoDate(stop.date).substr(1, 10) + ", " + Utf8(timer->project) + ", " +
                Utf8(timer->category) + "\n";
    } else {
        a.out = std::string(says::kDiscarded) + Utf8(timer->project) + ", " +
                ToUtf8(HoursMinutes(std::max<int64_t>(0, now - timer->start) / 60)) + "\n";
    }
    std::string why;
    const bool removed = RemoveTimer(dataDir, why);
    if (s.timerChanged) s.timerChanged();
    if (!removed) {
        Answer kept =
            Refuse(says::kTimerNotForgotten, TimerFilePath(dataDir).string() + ": " + why);
        kept.out = a.out;
        return kept;
    }
    return a;
}

// --- list ------------------------------------------------------------------------------------

Answer RunList(Session& s, const Request& r) {
    std::optional<Answer> refusal;
    const auto range = RangeOf(r, refusal);
    if (!range) return *refusal;
    const ProjectRecord* project = ChosenProject(s, r, refusal);
    if (refusal) return *refusal;
    const bool json = r.Has("json");
    Answer a;
    if (project == nullptr) {
        if (json) a.out = "[]\n";
        return a;
    }
    ReadingState reading(s.live, s.processEnds);
    if (!reading.LoadProject(project->projectId)) return Refuse(says::kStoreUnreadable);
    const AppSettings& view = s.live.state.settings;
    const std::string projectText = Utf8(project->name);
    const std::string projectJson = ",\"project\":" + Json(project->name) + ",\"category\":\"";
    const char16_t separator = TimeSeparator(view.TimeTypeView);
    std::string& out = a.out;
    out.reserve(static_cast<size_t>(reading.state.timeRecords.Size()) * 128);
    bool first = true;
    if (json) out = "[";
    for (TimeRecord* t : ItemsOf<TimeRecord>(reading.state.timeRecords)) {
        if (!DayInRange(t->dateKey, range->first, range->second)) continue;
        const std::u16string_view category = t->category ? *t->category : std::u16string_view();
        const std::u16string_view memo = t->memo ? *t->memo : std::u16string_view();
        if (json) {
            out += first ? "\n{\"date\":" : ",\n{\"date\":";
            AppendIsoDate(out, t->date);
            out += ",\"minutes\":";
            out += std::to_string(MinutesOf(*t));
            out += projectJson;
            AppendText(out, category, true);
            out += "\",\"memo\":\"";
            AppendText(out, memo, true);
            out += "\"}";
        } else {
            AppendText(out, *DateText(*t, view.DateTypeView), false);
            out += '\t';
            if (t->minutesText) AppendText(out, *DurationText(MinutesOf(*t), separator), false);
            out += '\t';
            out += projectText;
            out += '\t';
            AppendText(out, category, false);
            out += '\t';
            AppendText(out, memo, false);
            out += '\n';
        }
        first = false;
    }
    if (json) out += first ? "]\n" : "\n]\n";
    return a;
}

// --- report and the report exports -----------------------------------------------------------

// The report's sort as its window list keeps it: by time only with a chosen direction.
template <typename ByName, typename ByTime>
bool SortReport(AppState& state, uint32_t column, uint32_t order, ByName byName, ByTime byTime) {
    if (column == 1 && (order == 0 || order == 1)) return byTime(state, order);
    return byName(state, column == 1 ? 0 : order);
}

// Computes the report of the request's kind in the reading state: the categories or the
// projects with their totals, in the window's order. A refusal when nothing is in range.
std::optional<Answer> MakeReport(Session& s, const Request& r, ReadingState& reading,
                                 int64_t& total) {
    std::optional<Answer> refusal;
    const auto range = RangeOf(r, refusal);
    if (!range) return refusal;
    AppState& state = reading.state;
    total = 0;
    if (r.kind == "categories") {
        const ProjectRecord* project = ChosenProject(s, r, refusal);
        if (refusal) return refusal;
        if (state.categories.Empty()) return Refuse(says::kNoCategories);
        if (project == nullptr) return Refuse(says::kNothingInRange);
        if (!reading.LoadProject(project->projectId)) return Refuse(says::kStoreUnreadable);
        if (!ComputeCategoryTotals(state.categories, state.timeRecords, range->first,
                                   range->second)) {
            return Refuse(says::kNothingInRange);
        }
        SortReport(state, state.settings.SortRapport, state.settings.SortOrderRapport,
                   SortCategoriesByName, SortCategoriesByTime);
        for (CategoryItem* c : ItemsOf<CategoryItem>(state.categories)) total += c->totalMinutes;
        return std::nullopt;
    }
    if (r.Has("project")) return UsageError(says::kUnknownOption, "--project", "'");
    if (state.projects.Empty()) return Refuse(says::kNoProjects);
    if (!reading.LoadAll()) return Refuse(says::kStoreUnreadable);
    int32_t grand = 0;
    if (!ComputeProjectTotals(state.projects, state.timeRecords, range->first, range->second,
                              grand)) {
        return Refuse(says::kNothingInRange);
    }
    SortReport(state, state.settings.SortPBalance, state.settings.SortOrderPBalance,
               SortProjectsByName, SortProjectsByTotal);
    total = grand;
    return std::nullopt;
}

template <typename T, typename List>
void ReportRows(const List& list, bool json, uint32_t timeView, std::string& out) {
    bool first = true;
    for (T* item : ItemsOf<T>(list)) {
        if (json) {
            out += std::string(first ? "" : ",") + "\n{\"name\":" + Json(item->name) +
                   ",\"minutes\":" + std::to_string(item->totalMinutes) + "}";
        } else {
            out += Utf8(item->name) + "\t" +
                   Utf8(std::u16string_view(ReportTimeText(item->totalMinutes, timeView))) + "\n";
        }
        first = false;
    }
}

Answer RunReport(Session& s, const Request& r) {
    ReadingState reading(s.live, s.processEnds);
    int64_t total = 0;
    if (std::optional<Answer> refusal = MakeReport(s, r, reading, total)) return *refusal;
    const bool json = r.Has("json");
    const uint32_t timeView = reading.state.settings.TimeTypeView;
    Answer a;
    if (json) a.out = "{\"rows\":[";
    if (r.kind == "categories") {
        ReportRows<CategoryItem>(reading.state.categories, json, timeView, a.out);
    } else {
        ReportRows<ProjectRecord>(reading.state.projects, json, timeView, a.out);
    }
    if (json) {
        a.out += "\n],\"total\":" + std::to_string(total) + "}\n";
    } else {
        a.out += std::string(says::kTotal) + "\t" +
                 Utf8(std::u16string_view(ReportTimeText(static_cast<int32_t>(total), timeView))) +
                 "\n";
    }
    return a;
}

// --- export ----------------------------------------------------------------------------------

Answer RunExport(Session& s, const Request& r) {
    const std::u16string name = NameOf(*r.Value("name"));
    if (!IsValidName(name) || !ExportNameFits(name)) return Refuse(says::kBadExportName);
    const uint32_t timeType = r.Has("minutes") ? Minutes
                              : r.Has("hours") ? HoursOnly
                                               : HoursAndMinutes;
    const uint32_t encoding = r.Has("unicode") ? ExportUnicode : ExportAscii;
    const uint32_t folder = r.Has("business") ? ExportBusiness : ExportPersonal;

    ReadingState reading(s.live, s.processEnds);
    AppState& state = reading.state;
    bool asked = false;
    const bool replace = r.Has("replace");
    ExportContext out{s.files,
                      [&](const std::u16string&) {
                          asked = true;
                          return replace;
                      },
                      state.settings.DateTypeView, state.settings.TimeTypeView};
    ExportResult result;
    if (r.kind == "records") {
        std::optional<Answer> refusal;
        const auto range = RangeOf(r, refusal);
        if (!range) return *refusal;
        const ProjectRecord* project = ChosenProject(s, r, refusal);
        if (refusal) return *refusal;
        if (project == nullptr) return Refuse(says::kNoProjects);
        if (!reading.LoadProject(project->projectId)) return Refuse(says::kStoreUnreadable);
        TimeRecordList chosen;
        for (TimeRecord* t : ItemsOf<TimeRecord>(state.timeRecords)) {
            if (DayInRange(t->dateKey, range->first, range->second)) chosen.Append(*t);
        }
        result = ExportTimeRecords(out, chosen, name, timeType, encoding, folder);
    } else {
        int64_t total = 0;
        if (std::optional<Answer> refusal = MakeReport(s, r, reading, total)) return *refusal;
        result = r.kind == "categories"
                     ? ExportCategoryReport(out, state.categories, name, timeType, encoding, folder)
                     : ExportProjectsBalance(out, state.projects, name, timeType, encoding, folder);
    }
    if (result) return {};
    const std::string file = ToUtf8(result.file);
    switch (result.fault) {
        case ExportFault::NoBusinessFolder:
        case ExportFault::NoPersonalFolder:
            return Refuse(says::kNoFolder, file);
        case ExportFault::CannotCreate:
            return Refuse(says::kCannotCreate, file);
        case ExportFault::WriteFailed:
            return Refuse(says::kWriteFailed, file);
        case ExportFault::None:
            break;
    }
    if (asked) return Refuse(says::kFileExists, ToUtf8(*ExportPath(name, folder)));
    return Refuse(says::kWriteFailed, ToUtf8(ExportPath(name, folder).value_or(u"")));
}

// --- projects and categories -----------------------------------------------------------------

Answer RunProjects(Session& s, const Request& r) {
    const AppState& state = s.live.state;
    const bool json = r.Has("json");
    Answer a;
    bool first = true;
    if (json) a.out = "[";
    for (ProjectRecord* p : ItemsOf<ProjectRecord>(state.projects)) {
        const bool current = p->projectId == state.currentProject.projectId;
        if (json) {
            a.out += std::string(first ? "\n" : ",\n") + "{\"name\":" + Json(p->name) +
                     ",\"date\":" + IsoDate(p->date) + ",\"description\":" + Json(p->description) +
                     ",\"current\":" + (current ? "true" : "false") + "}";
        } else {
            a.out += Utf8(DateText(*p, state.settings.DateTypeView)) + "\t" + Utf8(p->name) +
                     (current ? " *" : "") + "\t" + Utf8(p->description) + "\n";
        }
        first = false;
    }
    if (json) a.out += first ? "]\n" : "\n]\n";
    return a;
}

Answer RunCategories(Session& s, const Request& r) {
    const bool json = r.Has("json");
    Answer a;
    bool first = true;
    if (json) a.out = "[";
    for (CategoryItem* c : ItemsOf<CategoryItem>(s.live.state.categories)) {
        if (json) {
            a.out += std::string(first ? "\n" : ",\n") + Json(c->name);
        } else {
            a.out += Utf8(c->name) + "\n";
        }
        first = false;
    }
    if (json) a.out += first ? "]\n" : "\n]\n";
    return a;
}

Answer RunTimer(Session& s, const Request& r) {
    if (r.kind == "start") return RunTimerStart(s, r);
    if (r.kind == "stop") return RunTimerStop(s, r);
    return RunTimerStatus(s, r);
}

// --- sync ----------------------------------------------------------------------------------

std::string StatusText(const sync::Status& st, bool json) {
    std::string out;
    const auto number = [](uint64_t n) { return std::to_string(n); };
    if (json) {
        out = std::string("{\"on\":") + (st.on ? "true" : "false") +
              ",\"folder\":" + Json(FromUtf8(st.folder.string())) +
              ",\"computer\":" + Json(FromUtf8(st.computer)) +
              ",\"unwritten\":" + number(st.unwritten) + ",\"computers\":[";
        bool first = true;
        for (const sync::ComputerSeen& c : st.computers) {
            out += std::string(first ? "\n" : ",\n") + "{\"id\":" + Json(FromUtf8(c.id)) +
                   ",\"self\":" + (c.self ? "true" : "false") + ",\"last_seen\":" +
                   (c.lastSeen ? "\"" + MomentText(*c.lastSeen, true) + "\"" : "null") +
                   ",\"changes\":" + number(c.changes) + ",\"waiting\":" + number(c.waiting) + "}";
            first = false;
        }
        return out + (first ? "]}\n" : "\n]}\n");
    }
    out = std::string("on\t") + (st.on ? "yes" : "no") + "\nfolder\t" + st.folder.string() +
          "\ncomputer\t" + st.computer + "\nunwritten\t" + number(st.unwritten) + "\n";
    for (const sync::ComputerSeen& c : st.computers) {
        out += c.id + (c.self ? " *" : "") + "\t" +
               (c.lastSeen ? MomentText(*c.lastSeen, false) : "-") + "\t" + number(c.changes) +
               "\t" + number(c.waiting) + "\n";
    }
    return out;
}

Answer RunSync(Session& s, const Request& r) {
    if (!r.Has("status") && !s.refuseChanges.empty()) return Refuse(s.refuseChanges);
    std::error_code ec;
    const std::string* folder = r.Value("folder");
    if (folder != nullptr && std::filesystem::exists(*folder, ec) &&
        !std::filesystem::is_directory(*folder, ec)) {
        return Refuse(says::kNotAFolder, *folder);
    }
    std::string why;
    sync::Engine* engine = s.syncEngine ? s.syncEngine(why) : nullptr;
    if (engine == nullptr) return Refuse(why.empty() ? says::kStoreUnusable : why);
    Answer a;
    if (r.Has("status")) {
        a.out = StatusText(engine->GetStatus(), r.Has("json"));
        return a;
    }
    if (r.Has("off")) {
        if (!engine->TurnOff()) return Refuse(says::kStoreUnusable);
        a.out = std::string(says::kSyncOff) + "\n";
        return a;
    }
    if (folder == nullptr && !engine->On()) return Refuse(says::kSyncIsOff);
    const sync::RunResult run = folder != nullptr ? engine->TurnOn(*folder) : engine->Run();
    // A run stopped by a problem may have applied changes before it: they are shown as well.
    if (run.BookChanged() && s.syncApplied) s.syncApplied();
    if (!run.ok) return Refuse(run.problem);
    if (folder != nullptr) a.out = std::string(says::kSyncOn) + *folder + "\n";
    a.out += std::string(says::kSyncWritten) + std::to_string(run.written) +
             std::string(says::kSyncApplied) + std::to_string(run.applied) +
             std::string(says::kSyncWaiting) + std::to_string(run.waiting) + "\n";
    a.err = SyncNotes(run);
    return a;
}

// --- the table -------------------------------------------------------------------------------

constexpr OptionSpec kJson{"json", false, false};
constexpr OptionSpec kProject{"project", true, false};
constexpr OptionSpec kFrom{"from", true, false};
constexpr OptionSpec kTo{"to", true, false};

// A row per subcommand; a new subcommand is a row here and its help in cli_texts.cpp.
const std::vector<Subcommand>& Table() {
    static const std::vector<Subcommand> table = {
        {"add",
         {},
         {{"time", true, true},
          {"project", true, true},
          {"category", true, true},
          {"date", true, false},
          {"memo", true, false}},
         RunAdd},
        {"list", {}, {kProject, kFrom, kTo, kJson}, RunList},
        {"report", {"categories", "projects"}, {kProject, kFrom, kTo, kJson}, RunReport},
        {"export",
         {"records", "categories", "projects"},
         {{"name", true, true},
          {"unicode", false, false},
          {"business", false, false},
          {"minutes", false, false},
          {"hours", false, false},
          {"replace", false, false},
          kProject,
          kFrom,
          kTo},
         RunExport},
        {"projects", {}, {kJson}, RunProjects},
        {"categories", {}, {kJson}, RunCategories},
        {"timer",
         {"start", "stop", "status"},
         {{"project", true, false, "start"},
          {"category", true, false, "start"},
          {"memo", true, false, "start"},
          {"book", false, false, "stop"},
          {"discard", false, false, "stop"},
          {"json", false, false, "status"}},
         RunTimer},
        {"sync",
         {},
         {{"folder", true, false},
          {"off", false, false},
          {"now", false, false},
          {"status", false, false},
          {"json", false, false}},
         RunSync},
    };
    return table;
}

const Subcommand* Find(std::string_view name) {
    for (const Subcommand& c : Table()) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

Answer Help(std::string_view name) {
    Answer a;
    a.out = std::string(SubcommandHelp(name));
    return a;
}

}  // namespace

std::string SyncNotes(const sync::RunResult& result) {
    if (!result.ok) return "quorvella: " + result.problem + "\n";
    if (result.limitReached) {
        return "quorvella: " + std::string(says::kSyncLimit) + std::to_string(result.waiting) +
               "\n";
    }
    return {};
}

bool Request::Is(std::string_view name) const {
    return command != nullptr && command->name == name;
}

bool IsSubcommand(std::string_view word) {
    return Find(word) != nullptr;
}

std::variant<Request, Answer> ReadCommandLine(const std::vector<std::string>& args) {
    Request r;
    if (args.empty() || (r.command = Find(args[0])) == nullptr) {
        return UsageError(says::kUnknownSubcommand, args.empty() ? "" : args[0], "'");
    }
    const Subcommand& c = *r.command;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") return Help(c.name);
        if (!arg.starts_with("--")) {
            const bool isKind = std::find(c.kinds.begin(), c.kinds.end(), arg) != c.kinds.end();
            if (!isKind || !r.kind.empty()) return UsageError(says::kUnexpected, arg, "'");
            r.kind = arg;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string option =
            arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const auto known = std::find_if(c.options.begin(), c.options.end(),
                                        [&](const OptionSpec& o) { return o.name == option; });
        if (known == c.options.end() || (!known->takesValue && equals != std::string::npos)) {
            return UsageError(says::kUnknownOption, arg, "'");
        }
        if (r.Has(option)) return UsageError(says::kOption, option, says::kTwice);
        std::string value;
        if (known->takesValue) {
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return UsageError(says::kOption, option, says::kNeedsValue);
            }
        }
        r.values[option] = value;
    }
    for (const OptionSpec& o : c.options) {
        if (o.required && !r.Has(std::string(o.name))) {
            return UsageError(says::kMissingOption, "--" + std::string(o.name), "'");
        }
    }
    if (!c.kinds.empty() && r.kind.empty()) {
        return UsageError(c.name == "report"  ? says::kWhatToReport
                          : c.name == "timer" ? says::kWhatTimer
                                              : says::kWhatToExport);
    }
    for (const OptionSpec& o : c.options) {
        if (!o.onlyFor.empty() && o.onlyFor != r.kind && r.Has(std::string(o.name))) {
            return UsageError(says::kUnknownOption, "--" + std::string(o.name), "'");
        }
    }
    if (r.Has("book") && r.Has("discard")) return UsageError(says::kBookOrDiscard);
    if (c.name == "sync") {
        const int chosen = r.Has("folder") + r.Has("off") + r.Has("now") + r.Has("status");
        if (chosen != 1) return UsageError(says::kSyncWhich);
        if (r.Has("json") && !r.Has("status"))
            return UsageError(says::kUnknownOption, "--json", "'");
        if (const std::string* v = r.Value("folder"); v != nullptr && v->empty()) {
            return UsageError(says::kSyncWhich);
        }
    }
    for (const char* dated : {"date", "from", "to"}) {
        if (const std::string* v = r.Value(dated); v && !ReadDate(*v)) {
            return UsageError(says::kBadDate, *v, "'");
        }
    }
    if (const std::string* v = r.Value("time"); v && !ReadDuration(*v)) {
        return UsageError(says::kBadTime, *v, "'");
    }
    if (r.Has("minutes") && r.Has("hours")) return UsageError(says::kBothTimeTypes);
    return r;
}

Answer Execute(Session& session, const Request& request) {
    return request.command->run(session, request);
}

}  // namespace qv::cli
