// The program's global instances, held in one state object: a test builds a fresh one.
#pragma once

#include <cstdint>

#include "core/category.h"
#include "core/date_sort.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/sort_order.h"
#include "core/time_record.h"

namespace qv {

// The handles and identifiers kept on the three databases of the object store. A handle is
// the invalid value (all bits set) when an open failed, and 0 after the program closed it.
struct StoreHandles {
    static constexpr uint32_t kInvalidHandle = 0xFFFFFFFF;
    uint32_t timeHandle = kInvalidHandle;
    uint32_t timeDatabaseId = 0;
    uint32_t projectsHandle = kInvalidHandle;
    uint32_t projectsDatabaseId = 0;
    uint32_t firstProjectRecordId = 0;
    uint32_t categoriesHandle = kInvalidHandle;
    uint32_t categoriesDatabaseId = 0;
    uint32_t firstCategoryRecordId = 0;
};

// What the Project dialog does with scratchProject.
enum class ProjectDialogMode { Create, Edit };

struct AppState {
    AppSettings settings;
    StoreHandles handles;

    // Time records.
    TimeRecordList timeRecords;   // the current project's records, row for row as listed
    TimeRecordList sortBuffer;    // scratch list of the date sort
    TimeRecordList UndoList;      // copies of deleted records, at most twelve
    TimeRecordList rangeRecords;  // what Delete by Range found
    TimeRecord scratchRecord;     // working record of the loaders and Register Time
    TimeRecord rangeStart;        // first and last day of a date range
    TimeRecord rangeEnd;
    TimeRecord balanceRecord;         // total time of the current project
    int64_t balanceMinutes = 0;       // the sum behind balanceRecord's minutes
    TimeRecord projectsBalanceTotal;  // total of the projects balance report

    // Categories, by name.
    CategoryList categories;          // in their kept order, with the last report's totals
    CategoryList categorySortBuffer;  // scratch list of the report sorts

    // Projects, by identifier.
    ProjectList projects;             // every project
    ProjectList projectSortBuffer;    // scratch list of the project sorts
    ProjectRecord scratchProject;     // working record of the loader and the Project dialog
    ProjectRecord currentProject;     // copy of the current project; blank while none exists
    ProjectRecord balanceRangeStart;  // the projects balance range
    ProjectRecord balanceRangeEnd;

    // The main list's sort: working copies of the Sort and SortOrder settings.
    uint32_t mainSortColumn = 0;  // always 0, the Date column
    SortOrder mainSortOrder = SortOrder::NoneChosen;
    bool listSorted = false;  // a sort with a chosen direction was applied in this run

    // Window and dialog state.
    CalendarDate lastUsedDate;    // default date of new records and projects
    CalendarDate rangeStartDate;  // default range of the range dialogs
    CalendarDate rangeEndDate;
    int selectedRecordRow = -1;    // row selected when the last command started
    bool editingExisting = false;  // Register Time edits an existing record
    bool recordsChanged = false;   // the category dialogs changed stored records
    ProjectDialogMode projectDialogMode = ProjectDialogMode::Create;
    int bookSelectedRow = -1;    // the projects book's tapped row
    Text lastRecordsExportName;  // the names the export dialogs last accepted; the two
    Text lastReportExportName;   // report exports share theirs
};

// The main list's date sort in the current direction.
inline bool SortByDate(AppState& state) {
    return SortByDate(state.timeRecords, state.sortBuffer, state.mainSortOrder);
}
}  // namespace qv
