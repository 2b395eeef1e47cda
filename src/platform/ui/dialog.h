// A dialog at run time: the state of every control by identifier, and the behaviour that
// answers its events. No widget appears here; hosts render this state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar.h"
#include "platform/ui/list_rows.h"
#include "platform/ui/ui_types.h"

namespace qv {

// Command codes a control sends to its dialog.
enum class CommandCode {
    Clicked,          // button, check box or radio button tapped (BN_CLICKED)
    SelectionChange,  // combo or list box selection changed by the user (CBN_/LBN_SELCHANGE)
    DropDown,         // combo list opened (CBN_DROPDOWN)
    CloseUp,          // combo list closed (CBN_CLOSEUP)
    EditChange,       // edit text changed, by typing or by SetText (EN_CHANGE)
    EditSetFocus,     // edit field received the focus (EN_SETFOCUS)
};

// Notifications of list views and date pickers.
enum class NotifyCode {
    Click,         // tap on a list view (NM_CLICK); item = the tapped row
    Return,        // Enter on a list view (NM_RETURN); item = the selected row
    ColumnClick,   // tap on a header (LVN_COLUMNCLICK); item = the column
    DateDropDown,  // the calendar of a date picker opens (DTN_DROPDOWN)
    DateCloseUp,   // the calendar closes (DTN_CLOSEUP)
    DateChange,    // the date changed (DTN_DATETIMECHANGE)
};

struct ListColumn {
    std::u16string header;
    int width = 0;
    int headerImage = -1;  // -1: no header image
    friend bool operator==(const ListColumn&, const ListColumn&) = default;
};

struct ControlState {
    int id = kUnnamedControl;
    ControlKind kind = ControlKind::Static;
    uint32_t style = kStyleNone;
    std::u16string text;  // drop-down lists show their selected entry instead
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool textSelected = false;  // an edit field's whole text is selected
    int editLimit = 0;          // 0: the default limit
    Rect rect;
    int image = 0;
    // Combo box and list box.
    std::vector<std::u16string> entries;
    int selection = -1;
    // Date picker; none when it reports no valid date.
    std::optional<CalendarDate> date;
    // List view.
    std::vector<ListColumn> columns;
    ListRows rows;
    int selectedRow = -1;
    int focusedRow = -1;
    int topRow = 0;  // the first visible row
    // Template layouts; run-time controls have none.
    const ControlTemplate* source = nullptr;
};

constexpr int kDefaultEditLimit = 30000;
constexpr int kNoControl = 0;  // focus or default button: none

class Dialog;

// What changed in a dialog, for the host that shows it. Hosts update exactly what changed and
// never hear their own updates as a person's input: the model reports, it does not ask.
enum class DialogChange {
    Text,           // a control's text (edit fields also when typed)
    Enabled,        // a control was enabled or disabled
    Visible,        // a control was shown or hidden
    Checked,        // a check box or radio button
    EditLimit,      // an edit field's character limit
    Date,           // a date picker's date, or none
    Entries,        // a drop-down list's or list box's entries (and so its selection)
    Selection,      // the selected entry of a drop-down list or list box
    Place,          // a control's rectangle
    Layout,         // every template control took its place (and visibility) of a layout
    Focus,          // id: the control with the focus now, or kNoControl
    DefaultButton,  // id: the default button now, or kNoControl
    Columns,        // a list view's columns or header images
    Rows,           // a list view's rows were inserted, deleted or cleared
    Row,            // row: one row's cells or image
    RowSelection,   // a list view's selected or focused row
    Scroll,         // a list view's first visible row
    Added,          // a control was created at run time
    Removed,        // a control was destroyed
    Ended,          // the dialog ended
};

class DialogObserver {
  public:
    virtual ~DialogObserver() = default;
    // `id` is the control; `row` the row of a Row change, else -1.
    virtual void OnDialogChanged(const Dialog& dialog, DialogChange what, int id, int row) = 0;
};

// The events of a dialog, one handler each. Handlers read and change the dialog's controls and
// end it with Dialog::End.
class DialogBehaviour {
  public:
    virtual ~DialogBehaviour() = default;
    virtual void OnInit(Dialog&) {}
    virtual void OnCommand(Dialog&, int /*id*/, CommandCode) {}
    virtual void OnNotify(Dialog&, int /*id*/, NotifyCode, int /*item*/) {}
    // Every size change, and once after initialisation: the screen is landscape unless it is
    // exactly 240 x 320.
    virtual void OnSize(Dialog&, bool /*landscape*/) {}
    virtual void OnActivate(Dialog&) {}
    virtual void OnHelp(Dialog&) {}
    // Paint orders in client coordinates; `client` is the client area's size.
    virtual void OnPaint(const Dialog&, Size /*client*/, PaintList&) {}
};

class Dialog {
  public:
    // The controls of the template, at their portrait places and with their first states.
    explicit Dialog(const DialogTemplate& source);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const DialogTemplate& Template() const { return *template_; }
    int TemplateId() const { return template_->id; }
    std::u16string_view Caption() const { return template_->caption; }

    // The behaviour hears the notifications that control changes send by themselves (edit text
    // set, focus given to an edit field). The host sets it before initialisation.
    void SetBehaviour(DialogBehaviour* behaviour) { behaviour_ = behaviour; }
    DialogBehaviour* Behaviour() const { return behaviour_; }

    // The host that shows the dialog hears of every change of its controls.
    void SetObserver(DialogObserver* observer) { observer_ = observer; }

    // Controls in template order, run-time controls after them.
    const std::vector<ControlState>& Controls() const { return controls_; }
    ControlState* Find(int id);
    const ControlState* Find(int id) const;
    bool Has(int id) const { return Find(id) != nullptr; }

    // Window place of the dialog itself (the project bar is moved by the main window).
    Rect WindowRect() const { return windowRect_; }
    void SetWindowRect(Rect rect) { windowRect_ = rect; }

    // Text. For a drop-down list: the selected entry. `maxChars` cuts the text as a read into
    // a buffer of that many characters would.
    std::u16string Text(int id) const;
    std::u16string Text(int id, size_t maxChars) const;
    void SetText(int id, std::u16string_view text);  // edits then send EditChange
    void SetEditLimit(int id, int limit);
    void SelectAllText(int id);

    void Enable(int id, bool enabled);
    bool IsEnabled(int id) const;
    void Show(int id, bool visible);
    bool IsVisible(int id) const;
    void SetChecked(int id, bool checked);
    bool IsChecked(int id) const;

    // Focus and default button; kNoControl for none. Focus moving into an edit field sends
    // EditSetFocus.
    void SetFocus(int id);
    int Focus() const { return focus_; }
    void SetDefaultButton(int id);
    int DefaultButton() const { return defaultButton_; }

    // Date picker.
    std::optional<CalendarDate> Date(int id) const;
    void SetDate(int id, std::optional<CalendarDate> date);

    // Combo box and list box (sorted controls insert in CompareNoCase order). Indices from 0;
    // -1 for "none" or failure.
    int AddString(int id, std::u16string_view text);
    int FindStringExact(int id, std::u16string_view text, int after = -1) const;
    int SelectString(int id, std::u16string_view prefix, int after = -1);
    int SetCurSel(int id, int index);
    int GetCurSel(int id) const;
    std::optional<std::u16string> GetLBText(int id, int index) const;
    int DeleteString(int id, int index);  // the remaining count, or -1
    void ResetContent(int id);
    int Count(int id) const;

    // List view. Created and destroyed at run time inside the dialog.
    bool CreateListView(int id, Rect rect);
    bool DestroyControl(int id);
    // The column's index, or -1 when the list view is missing or has its four columns.
    int InsertColumn(int id, int index, ListColumn column);
    bool DeleteColumn(int id, int index);
    int ColumnCount(int id) const;
    bool SetHeaderImage(int id, int column, int image);  // -1 removes the image
    int HeaderImage(int id, int column) const;           // -1 when none or no such column
    int InsertRow(int id, int index, std::u16string_view text, int image);  // index or -1
    bool SetCell(int id, int row, int column, std::u16string_view text);
    std::u16string Cell(int id, int row, int column) const;
    bool SetRowImage(int id, int row, int image);
    int RowImage(int id, int row) const;
    bool DeleteRow(int id, int row);
    void DeleteAllRows(int id);
    // All rows at once, in place of the old ones (selection, focus and scrolling start afresh):
    // one change for the host however many rows there are.
    bool SetRows(int id, std::vector<ListRow> rows);
    // The same for `count` rows that `source` builds each when it is first read.
    bool SetRows(int id, size_t count, std::shared_ptr<const ListRowSource> source);
    int RowCount(int id) const;
    // Single selection: selecting a row clears the others; -1 clears the selection.
    bool SelectRow(int id, int row);
    int SelectedRow(int id) const;
    bool SetFocusedRow(int id, int row);
    int FocusedRow(int id) const;
    // Scrolling: the first visible row, kept within the rows.
    void ScrollBy(int id, int rows);
    void ScrollToRow(int id, int row);
    int TopRow(int id) const;

    // Layout: one control, or all template controls to the portrait or landscape set. A control
    // hidden in one set is hidden or shown by the layout; the others keep their visibility.
    void Move(int id, Rect rect);
    void ApplyLayout(bool landscape);

    // Ending: the host's modal loop returns `result`.
    void End(int result);
    bool Ended() const { return ended_; }
    int Result() const { return result_; }

  private:
    ControlState* FindKind(int id, ControlKind kind);
    const ControlState* FindKind(int id, ControlKind kind) const;
    ControlState* FindEntries(int id);
    const ControlState* FindEntries(int id) const;
    // Puts new rows in a list view's place with `assign` (given the list's rows and the
    // least cells a row has), starting selection, focus and scrolling afresh.
    bool ReplaceRows(int id, const std::function<void(ListRows&, size_t)>& assign);

    void Changed(DialogChange what, int id, int row = -1) const {
        if (observer_ != nullptr) observer_->OnDialogChanged(*this, what, id, row);
    }

    const DialogTemplate* template_;
    DialogBehaviour* behaviour_ = nullptr;
    DialogObserver* observer_ = nullptr;
    std::vector<ControlState> controls_;
    Rect windowRect_;
    int focus_ = kNoControl;
    int defaultButton_ = kNoControl;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace qv
