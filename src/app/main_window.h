// The main window: menu bar, the project bar with the time-record list, and the commands.
#pragma once

#include <memory>

#include "app/app.h"
#include "app/command_table.h"
#include "app/commands.h"
#include "app/project_bar.h"
#include "dialogs/list_images.h"
#include "dialogs/register_time.h"
#include "platform/ui/main_frame.h"

namespace qv {

// The project bar (template 130) holds the main list, created at run time.
constexpr int kProjectBarTemplate = 130;
enum ProjectBarControl : int {
    kProjectBarCombo = kProjectCombo,
    kProjectBarList = 500,
};
constexpr int kMainList = kProjectBarList;
constexpr int kDateColumn = 0;  // the only column the list sorts by

// The headers of the main list's three columns.
enum MainListHeader : uint32_t {
    kStrDateHeader = 40011,
    kStrCategoryHeader = 40012,
    kStrTimeHeader = 40013,
};

class MainWindow : public MainWindowBehaviour, public RecordDeletion {
  public:
    explicit MainWindow(App& app);

    void OnCreate(MainFrame& frame) override;
    void OnCommand(MainFrame& frame, int command) override;
    void OnClose(MainFrame& frame) override;
    void OnWorkAreaChange(MainFrame& frame) override;
    void OnActivate(MainFrame& frame) override;
    void OnHelp(MainFrame& frame) override;

    // The list view and its rows; row i always shows the record at position i.
    bool CreateMainList();
    void RefillList();
    void AddRow(const TimeRecord& record);
    void UpdateRow(int row, const TimeRecord& record);
    // The list commands (Time Report, Delete by Range, Export) as the list's rows say, and
    // Projects Balance as the projects do.
    void UpdateListCommands();
    // Notifications of the list, after the project bar has noted the selected row.
    void ListNotify(NotifyCode code, int item);

    // Before a command: note the selected row. After it: focus the list and select that row.
    void RememberSelection();
    void RestoreSelection();

    // A row of the command table: its runner, then what follows the result.
    void RunCommand(const CommandRow& row);
    // New Time: Register Time on a fresh record, or the first project while there is none.
    DialogResult NewRecord();
    // After Register Time on a new record: OK books scratchRecord as New does. True when it
    // was stored.
    bool AfterNewRecord(int result);
    // scratchRecord, just stored under its new identifier, as the list's last row when it
    // belongs to the current project; true when it was listed.
    bool ListRestoredRecord();
    // A record booked from outside the window (the command line), already stored under its
    // identifier: listed and added to the balance as Register Time's OK lists its record.
    void ListBookedRecord(const TimeRecord& record);

    // The book changed under the window (another computer's changes arrived): the drop-down
    // of projects, the current project's list and balance, and the menus shown anew.
    void ShowSyncedBook();

    // Register Time on a record of the current project, as a tap on its row opens it; false
    // when it is not in the list.
    bool OpenRecord(uint32_t projectId, uint32_t recordId);

    // Register Time's Delete.
    bool RoomForUndo() override;
    void RecordDeleted(const TimeRecord& copy) override;

    MainFrame& Frame() { return *frame_; }
    Dialog* Bar() { return frame_ ? frame_->Child() : nullptr; }
    ProjectBar& BarBehaviour() { return bar_; }

  private:
    void FollowUp(uint32_t steps);
    bool ApplyListSort();
    void HeaderTap(int column);
    void SetCommand(int command, bool enabled);
    void EditRecord();
    // scratchRecord, just stored: listed when it belongs to the current project.
    void ShowStoredRecord();
    // After Register Time edited the selected record: replace its row, or take it away when it
    // moved to another project.
    void AfterEditRecord(int result);

    App& app_;
    MainFrame* frame_ = nullptr;
    ProjectBar bar_;
};

// The time cell of a row added or edited singly: two zero digits after the separator even for
// no time, and nothing for a duration beyond 24 hours.
std::u16string RowTimeText(const TimeRecord& record, uint32_t timeViewType);

}  // namespace qv
