// The command line's help texts.
#include "cli/cli_texts.h"

#include <utility>

namespace qv::cli {

namespace {

constexpr std::string_view kOverview =
    "\n"
    "Subcommands (each works with or without the window running; 'quorvella SUBCOMMAND --help'\n"
    "says more):\n"
    "  add          book a time record\n"
    "  list         the time records of a project\n"
    "  report       time per category or per project over a range of days\n"
    "  export       write records or a report as a CSV file\n"
    "  projects     the projects\n"
    "  categories   the categories\n"
    "  timer        start, stop or look at the timer\n"
    "  sync         keep one time book on several computers through a shared folder\n"
    "\n"
    "Dates are YYYY-MM-DD, durations H:MM or whole minutes. Exit status: 0 done, 1 refused (the\n"
    "reason on standard error, nothing changed), 2 a usage error.\n";

constexpr std::string_view kAdd =
    "usage: quorvella add --time DURATION --project NAME --category NAME [--date DATE]\n"
    "                     [--memo TEXT]\n"
    "Books a time record, as Register Time's OK does.\n"
    "  --time DURATION   H:MM or whole minutes; 0:10 to 23:50 in steps of ten minutes\n"
    "  --project NAME    a project of the projects book, by its exact name\n"
    "  --category NAME   a category of the list, by its exact name\n"
    "  --date DATE       YYYY-MM-DD; today (the local date) when not given\n"
    "  --memo TEXT       at most 29 characters\n"
    "With the window running the record shows in its list and balance at once; while a dialog\n"
    "is open there the booking is refused.\n";

constexpr std::string_view kList =
    "usage: quorvella list [--project NAME] [--from DATE] [--to DATE] [--json]\n"
    "The time records of a project (the current one when not given), in the main list's order,\n"
    "from and to the days given (both included). One record a line, tab-separated: date,\n"
    "duration, project, category, memo, in View Options' date and duration formats (a tab or\n"
    "a line break inside a text shows as a blank).\n"
    "  --json   an array of {\"date\": \"YYYY-MM-DD\", \"minutes\": N, \"project\": \"...\",\n"
    "           \"category\": \"...\", \"memo\": \"...\"}\n";

constexpr std::string_view kReport =
    "usage: quorvella report categories|projects [--project NAME] [--from DATE] [--to DATE]\n"
    "                        [--json]\n"
    "categories: the time of each category in a project's records (the current project when\n"
    "not given), as the time report lists it; projects: the time of each project, as the\n"
    "projects balance lists it. Without --from or --to the range is open at that end. One row a\n"
    "line, tab-separated: name, time; then the total.\n"
    "  --json   {\"rows\": [{\"name\": \"...\", \"minutes\": N}, ...], \"total\": N}\n"
    "A range with no time booked in it is refused, as the window refuses it.\n";

constexpr std::string_view kExport =
    "usage: quorvella export records|categories|projects --name NAME [--unicode] [--business]\n"
    "                        [--minutes|--hours] [--replace] [--project NAME] [--from DATE]\n"
    "                        [--to DATE]\n"
    "Writes NAME.csv as the export dialogs do, into the Personal folder (--business: the\n"
    "Business folder) of the Quorvella documents folder. records: the records of a project\n"
    "(the current one when not given) in the main list's order; categories and projects: the\n"
    "report of that name over the range given.\n"
    "  --unicode    UTF-16 instead of the single-byte code page\n"
    "  --minutes    times in minutes; --hours: whole hours; by default hours and minutes\n"
    "  --replace    replace a file of that name; without it an existing file is kept and the\n"
    "               export refused\n";

constexpr std::string_view kProjects =
    "usage: quorvella projects [--json]\n"
    "The projects in the order the store keeps them, one a line, tab-separated: the date it\n"
    "was made (View Options' format), name, description; the current one marked with '*'.\n"
    "  --json   an array of {\"name\": \"...\", \"date\": \"YYYY-MM-DD\", \"description\": "
    "\"...\",\n"
    "           \"current\": true|false}\n";

constexpr std::string_view kCategories =
    "usage: quorvella categories [--json]\n"
    "The categories in their kept order, one a line.\n"
    "  --json   an array of names\n";

constexpr std::string_view kTimer =
    "usage: quorvella timer start [--project NAME] [--category NAME] [--memo TEXT]\n"
    "       quorvella timer stop [--book|--discard]\n"
    "       quorvella timer status [--json]\n"
    "The one timer of the data folder, as the window's Start, Stop and Discard timer.\n"
    "start: starts it now for the project named (the current one when not given), the category\n"
    "named (the category last used in that project when not given) and the memo (at most 29\n"
    "characters). Refused while a timer runs.\n"
    "  --project NAME    a project of the projects book, by its exact name\n"
    "  --category NAME   a category of the list, by its exact name\n"
    "  --memo TEXT       at most 29 characters\n"
    "stop: stops it.\n"
    "  --book      books what Stop proposes at once: the day it started, the time run to the\n"
    "              nearest ten minutes (at least 0:10, at most 23:50; the rest is said on\n"
    "              standard error), its project, category and memo; refused (the timer kept)\n"
    "              when the record cannot be booked\n"
    "  --discard   forgets it without booking\n"
    "  With neither, the running window opens Register Time with the proposal; without a\n"
    "  window one of them is needed.\n"
    "status: 'no timer runs', or a line each for project, category, memo, started (local date\n"
    "and time) and elapsed (H:MM), name and value tab-separated. A damaged timer file is said\n"
    "on standard error and moved aside; then no timer runs (exit status 0).\n"
    "  --json   {\"running\": true, \"start\": \"YYYY-MM-DDTHH:MM:SSZ\", \"project\": \"...\",\n"
    "           \"category\": \"...\", \"memo\": \"...\", \"minutes\": N} or {\"running\": false}\n"
    "With the window running its title and tray follow at once; while a dialog is open there\n"
    "start and stop are refused.\n";

constexpr std::string_view kSync =
    "usage: quorvella sync --folder DIR\n"
    "       quorvella sync --off\n"
    "       quorvella sync --now\n"
    "       quorvella sync --status [--json]\n"
    "Keeps one time book on several computers through a folder that a file-copying tool\n"
    "(Syncthing, a cloud folder) keeps alike on each of them. Each computer appends its own\n"
    "changes to its own journal file in the folder and reads the others'; for one record,\n"
    "project or category the later change wins on every computer. Settings stay with each\n"
    "computer. Off until turned on.\n"
    "  --folder DIR   turns sync on with this folder (made when missing); the first time, the\n"
    "                 whole book of this computer is written to its journal\n"
    "  --off          stops; the journals stay, and --folder with the same folder goes on\n"
    "                 where it stopped\n"
    "  --now          writes out what changed here and applies what waits from the others;\n"
    "                 exit status 1 when the folder cannot be used\n"
    "  --status       on or off, the folder, this computer's identity, then a line for each\n"
    "                 computer seen, tab-separated: identity (this one marked '*'), when its\n"
    "                 newest change read was written (local time), changes read, changes waiting\n"
    "  --json         {\"on\": true|false, \"folder\": \"...\", \"computer\": \"...\",\n"
    "                  \"unwritten\": N, \"computers\": [{\"id\": \"...\", \"self\": true|false,\n"
    "                  \"last_seen\": \"YYYY-MM-DDTHH:MM:SSZ\" or null, \"changes\": N,\n"
    "                  \"waiting\": N}, ...]}\n"
    "While sync is on, every other command first applies what waits and, after a change,\n"
    "writes it out before it ends; a problem with the folder is said on standard error and the\n"
    "command goes on. With the window running it syncs by itself; while a dialog is open there\n"
    "--folder, --off and --now are refused.\n";

constexpr std::pair<std::string_view, std::string_view> kHelps[] = {
    {"add", kAdd},       {"list", kList},         {"report", kReport},
    {"export", kExport}, {"projects", kProjects}, {"categories", kCategories},
    {"timer", kTimer},   {"sync", kSync},
};

}  // namespace

std::string_view SubcommandsHelp() {
    return kOverview;
}

std::string_view SubcommandHelp(std::string_view name) {
    for (const auto& [command, help] : kHelps) {
        if (command == name) return help;
    }
    return {};
}

}  // namespace qv::cli
