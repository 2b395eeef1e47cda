// The report dialogs' sortable list: its columns, header arrows and the choice of sort.
#include "dialogs/report_list.h"

#include "dialogs/list_images.h"
#include "res/string_table.h"

namespace qv {
namespace {

// A stored "no direction chosen" shows, and sorts, as ascending.
int ArrowOf(uint32_t order) {
    return order == 1 ? kImageDown : kImageUp;
}

bool SortsByTime(uint32_t column, uint32_t order) {
    return column == kReportByTime && (order == 0 || order == 1);
}

}  // namespace

bool ReportList::Create(Dialog& d, bool landscape) const {
    if (!d.CreateListView(shape_.id, landscape ? shape_.landscape : shape_.portrait)) {
        return false;
    }
    for (int c = 0; c < 2; ++c) {
        const ReportColumnShape& wanted = shape_.columns[c];
        ListColumn column;
        column.header = LoadString(wanted.header).value_or(u"");
        column.width = landscape ? wanted.landscapeWidth : wanted.portraitWidth;
        column.headerImage = kImageNone;
        if (d.InsertColumn(shape_.id, c, column) < 0) return false;
    }
    // A list sorted by time without a chosen direction is shown, and sorted, by name while the
    // time column stays the sort column.
    if (SortsByTime(sortColumn, sortOrder)) {
        SetHeaders(d, kReportByTime, ArrowOf(sortOrder));
    } else if (sortColumn == kReportByTime) {
        SetHeaders(d, kReportByName, kImageUp);
    } else {
        SetHeaders(d, kReportByName, ArrowOf(sortOrder));
    }
    return true;
}

bool ReportList::Sort(AppState& state) const {
    if (SortsByTime(sortColumn, sortOrder)) return shape_.byTime(state, sortOrder);
    return shape_.byName(state, sortColumn == kReportByTime ? 0 : sortOrder);
}

bool ReportList::HeaderTap(Dialog& d, int column) {
    if (column != 0 && column != 1) return false;
    const int shown = d.HeaderImage(shape_.id, column);
    int image = kImageUp;
    if (shown == kImageUp) {
        image = kImageDown;
        sortOrder = 1;
    } else if (shown == kImageDown) {
        image = kImageUp;
        sortOrder = 0;
    } else {
        // The column becomes the sort column in the direction already chosen; a stored "none
        // chosen" becomes ascending, as its arrow shows.
        image = ArrowOf(sortOrder);
        sortOrder = image == kImageDown ? 1 : 0;
        sortColumn = static_cast<uint32_t>(column);
    }
    SetHeaders(d, static_cast<uint32_t>(column), image);
    return true;
}

bool ReportList::SortBy(AppState& state, int column) const {
    return column == 0 ? shape_.byName(state, sortOrder) : shape_.byTime(state, sortOrder);
}

void ReportList::SetHeaders(Dialog& d, uint32_t column, int image) const {
    d.SetHeaderImage(shape_.id, static_cast<int>(column), image);
    d.SetHeaderImage(shape_.id, column == kReportByName ? 1 : 0, kImageNone);
}

}  // namespace qv
