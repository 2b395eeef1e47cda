// The main window: menu bar, the project bar with the time-record list, and the commands.
#pragma once

#include <memory>

#include "app/app.h"
#include "app/project_bar.h"
#include "platform/ui/main_frame.h"

namespace qv {

// Commands of the menu bar and the menus.
enum Command : int {
    kCmdNew = 40003,
    kCmdNewProject = 40054,
    kCmdProjects = 40055,
    kCmdProjectsBalance = 40056,
    kCmdUndoDeleting = 40050,
    kCmdTimeReport = 40021,
    kCmdExit = 40049,
    kCmdEditCategories = 40019,
    kCmdDeleteByRange = 40052,
    kCmdEmptyUndo = 40053,
    kCmdExportTimeRecords = 40045,
    kCmdViewOptions = 40046,
    kCmdAbout = 40010,
    kButtonEditCategories = 551,
    kButtonTimeReport = 552,
    kButtonUndo = 553,
};

constexpr int kMainList = 500;
constexpr int kProjectBarTemplate = 130;

// Row images of the main list and header images of every list.
enum ListImage : int {
    kImageUp = 0,
    kImageDown = 1,
    kImageNone = 2,
    kImageMemo = 3,
    kImageNoMemo = 4,
    kImageBlank = 5,
};

class MainWindow : public MainWindowBehaviour {
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
    void UpdateListCommands();
    // Notifications of the list, after the project bar has noted the selected row.
    void ListNotify(NotifyCode code, int item);

    // Before a command: note the selected row. After it: focus the list and select that row.
    void RememberSelection();
    void RestoreSelection();

    MainFrame& Frame() { return *frame_; }
    Dialog* Bar() { return frame_ ? frame_->Child() : nullptr; }
    ProjectBar& BarBehaviour() { return bar_; }

private:
    // A command that opens a dialog, and what follows it; the caller keeps the selection.
    void RunDialogCommand(int command);
    bool ApplyListSort();
    void HeaderTap(int column);
    void GreyListCommands();
    void SetCommand(int command, bool enabled);
    void NewRecord();
    void EditRecord();
    void AfterNewRecord(int result);

    App& app_;
    MainFrame* frame_ = nullptr;
    ProjectBar bar_;
};

// The time cell of a row added or edited singly: two zero digits after the separator even for
// no time, and nothing for a duration beyond 24 hours.
std::u16string RowTimeText(const TimeRecord& record, uint32_t timeViewType);

}  // namespace qv
