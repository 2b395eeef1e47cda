// What the command line prints: its help texts and its one-line reasons. The program's own
// words, not the handheld's.
#pragma once

#include <string>
#include <string_view>

namespace qv::cli {

// The overview `quorvella --help` prints after the window's own options.
std::string_view SubcommandsHelp();

// The help of each subcommand, by name; empty for an unknown one.
std::string_view SubcommandHelp(std::string_view name);

// One-line reasons; each is printed after "quorvella: ".
namespace says {
inline constexpr std::string_view kUnknownSubcommand = "unknown subcommand '";
inline constexpr std::string_view kUnknownOption = "unknown option '";
inline constexpr std::string_view kOption = "option '--";
inline constexpr std::string_view kNeedsValue = "' needs a value";
inline constexpr std::string_view kMissingOption = "missing option '";
inline constexpr std::string_view kTwice = "' given twice";
inline constexpr std::string_view kWhatToReport = "say which: categories or projects";
inline constexpr std::string_view kWhatToExport = "say which: records, categories or projects";
inline constexpr std::string_view kWhatTimer = "say which: start, stop or status";
inline constexpr std::string_view kBookOrDiscard =
    "say how to stop the timer: --book or --discard (without them it stops in the window)";
inline constexpr std::string_view kUnexpected = "unexpected argument '";
inline constexpr std::string_view kBadDate = "a date is YYYY-MM-DD, a day of the calendar: '";
inline constexpr std::string_view kBadTime = "a duration is H:MM or whole minutes: '";
inline constexpr std::string_view kBothTimeTypes = "--minutes and --hours exclude each other";
inline constexpr std::string_view kSeeHelp = "Try 'quorvella --help'.";

inline constexpr std::string_view kTimeRange =
    "a duration lies between 0:10 and 23:50, in steps of ten minutes";
inline constexpr std::string_view kDateRange = "the date lies outside the years 1000 to 9999";
inline constexpr std::string_view kNoProjects =
    "there is no project yet; make one in the window first";
inline constexpr std::string_view kNoProjectNamed = "there is no project named '";
inline constexpr std::string_view kNoCategoryNamed = "there is no category named '";
inline constexpr std::string_view kMemoTooLong = "a memo holds at most 29 characters";
inline constexpr std::string_view kStartsAfterEnds = "the range starts after it ends";
inline constexpr std::string_view kNothingInRange = "no time is booked in that range";
inline constexpr std::string_view kNoCategories = "there are no categories";
inline constexpr std::string_view kBadExportName =
    "the file name must be letters, digits and blanks, and short enough for its folder";
inline constexpr std::string_view kFileExists = "the file exists (--replace replaces it): ";
inline constexpr std::string_view kNoFolder = "the export folder is missing: ";
inline constexpr std::string_view kCannotCreate = "the file cannot be made: ";
inline constexpr std::string_view kWriteFailed = "the file could not be written whole: ";
inline constexpr std::string_view kWritten = "written: ";

inline constexpr std::string_view kTooManyRecords =
    "the store holds 65,535 time records, the most it keeps";
inline constexpr std::string_view kStoreAdding = "the time record could not be stored";
inline constexpr std::string_view kStoreUnreadable = "the time records cannot be read";
inline constexpr std::string_view kStoreUnusable = "the store cannot be opened for writing";
inline constexpr std::string_view kDialogOpen =
    "a dialog is open in the Quorvella window; close it and try again";
inline constexpr std::string_view kWindowStarting = "the Quorvella window is starting or closing";
inline constexpr std::string_view kFolderBusy =
    "another Quorvella program holds the data folder and does not answer: ";
inline constexpr std::string_view kTotal = "Total";

inline constexpr std::string_view kNoTimer = "no timer runs";
inline constexpr std::string_view kTimerRuns = "a timer runs already; stop it first";
inline constexpr std::string_view kTimerNotStarted = "the timer cannot be started: ";
inline constexpr std::string_view kTimerStarted = "timer started: ";
inline constexpr std::string_view kBooked = "booked: ";
inline constexpr std::string_view kNotBooked =
    " of the time run is not booked: a record holds at most 23:50";
inline constexpr std::string_view kDiscarded = "timer discarded: ";
inline constexpr std::string_view kStopDialogOpen =
    "Register Time is open in the Quorvella window with the timer's proposal";
inline constexpr std::string_view kTimerNotForgotten = "the timer file could not be removed: ";
inline constexpr std::string_view kTimerDamaged = "timer file ";
inline constexpr std::string_view kTimerMoved = "moved aside as ";
inline constexpr std::string_view kTimerKept = "it could not be moved aside: ";

inline constexpr std::string_view kSyncWhich = "say which: --folder DIR, --off, --now or --status";
inline constexpr std::string_view kNotAFolder = "not a folder: ";
inline constexpr std::string_view kSyncIsOff =
    "sync is off; turn it on with 'quorvella sync --folder DIR'";
inline constexpr std::string_view kSyncProblem = "sync: ";
inline constexpr std::string_view kSyncLimit =
    "sync: applying stopped before passing 65,535 time records or 15 projects; changes waiting: ";
inline constexpr std::string_view kSyncOn = "sync on: ";
inline constexpr std::string_view kSyncOff = "sync off";
inline constexpr std::string_view kSyncWritten = "written: ";
inline constexpr std::string_view kSyncApplied = ", applied: ";
inline constexpr std::string_view kSyncWaiting = ", waiting: ";
}  // namespace says

}  // namespace qv::cli
