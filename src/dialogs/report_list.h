// The sortable two-column list of the report dialogs: names in the first column, time totals
// in the second, an arrow in the header of the column the list is sorted by.
#pragma once

#include <cstdint>

#include "core/app_state.h"
#include "platform/ui/dialog.h"

namespace qv {

// A report list's columns: the sort column values of the reports' settings.
enum ReportColumn : uint32_t {
    kReportByName = 0,
    kReportByTime = 1,
};

struct ReportColumnShape {
    uint32_t header;  // string identifier
    int portraitWidth;
    int landscapeWidth;
};

// Reorders the report's items; order 1 is descending, 0 and 2 ascending. False when the items
// could not be sorted.
using ReportSort = bool (*)(AppState& state, uint32_t order);

// What one dialog's report list is: where it stands in each layout, its columns, and the two
// sorts of the items it shows.
struct ReportListShape {
    int id;
    Rect portrait;
    Rect landscape;
    ReportColumnShape columns[2];
    ReportSort byName;
    ReportSort byTime;
};

class ReportList {
  public:
    explicit ReportList(const ReportListShape& shape) : shape_(shape) {}

    // Creates the list at its place in the layout with both columns, the header arrow showing
    // the working sort values. False when the list or a column cannot be made.
    bool Create(Dialog& d, bool landscape) const;
    // Sorts the items as the working sort values say.
    bool Sort(AppState& state) const;
    // A tap on a header turns its arrow, or makes its column the sort column in the direction
    // already chosen. False, and nothing changes, for a column the list does not have.
    bool HeaderTap(Dialog& d, int column);
    // Sorts the items by a column in the working direction.
    bool SortBy(AppState& state, int column) const;

    // The working copies of the report's sort settings: the dialog loads them and writes them
    // back.
    uint32_t sortColumn = kReportByName;
    uint32_t sortOrder = 0;

  private:
    void SetHeaders(Dialog& d, uint32_t column, int image) const;

    const ReportListShape& shape_;
};

}  // namespace qv
