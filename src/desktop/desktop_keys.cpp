#include "desktop/desktop_keys.h"

#include "app/commands.h"
#include "dialogs/about.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/edit_categories.h"
#include "dialogs/export_options.h"
#include "dialogs/projects_balance.h"
#include "dialogs/projects_book.h"
#include "dialogs/register_time.h"
#include "dialogs/time_report.h"
#include "dialogs/view_options.h"
#include "platform/ui/shell.h"

namespace qv {
namespace {

constexpr CommandKey kKeys[] = {
    {kCmdNew, kCmdNew, 'N'},
    {kCmdUndoDeleting, kButtonUndo, 'Z'},
    {kCmdEditCategories, kButtonEditCategories, 'K'},
    {kCmdTimeReport, kButtonTimeReport, 'T'},
    {kCmdExportTimeRecords, 0, 'E'},
    {kCmdExit, 0, 'Q'},
};

// Cancel or Back; the reports, the category list and About are left by the shell's Done.
constexpr EscapeControl kEscapes[] = {
    {kRegisterTimeTemplate, kRegisterTimeCancel},
    {kProjectTemplate, kProjectBack},
    {kProjectsBookTemplate, kProjectsBookBack},
    {kNewCategoryTemplate, kNewCategoryCancel},
    {kEditCategoryTemplate, kEditCategoryCancel},
    {kEditCategoriesTemplate, IDOK},
    {kExportRecordsTemplate, ExportControl(kExportRecordsFirst, kExportCancel)},
    {kExportReportTemplate, ExportControl(kExportReportFirst, kExportCancel)},
    {kViewOptionsTemplate, kViewOptionsCancel},
    {kDeleteByRangeTemplate, kDeleteByRangeCancel},
    {kTimeReportTemplate, IDOK},
    {kProjectsBalanceTemplate, IDOK},
    {kAboutTemplate, IDOK},
};

}  // namespace

std::span<const CommandKey> DesktopCommandKeys() {
    return kKeys;
}

std::span<const EscapeControl> DesktopEscapeControls() {
    return kEscapes;
}

}  // namespace qv
