// Control state of a dialog and the operations the behaviours use on it.
#include "platform/ui/dialog.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/text/unicode_text.h"

namespace qv {
namespace {

bool HasEntries(ControlKind kind) {
    return kind == ControlKind::Combo || kind == ControlKind::ListBox;
}

bool TakesFocus(const ControlState& c) {
    switch (c.kind) {
        case ControlKind::Static:
        case ControlKind::GroupBox:
            return false;
        default:
            return c.enabled && c.visible;
    }
}

}  // namespace

Dialog::Dialog(const DialogTemplate& source) : template_(&source) {
    controls_.reserve(source.controls.size());
    for (const ControlTemplate& t : source.controls) {
        ControlState c;
        c.id = t.id;
        c.kind = t.kind;
        c.style = t.style;
        c.text = std::u16string(t.text);
        c.enabled = (t.style & kStyleDisabled) == 0;
        c.visible = (t.style & kStyleHidden) == 0 && !t.portrait.hidden;
        c.editLimit = t.editLimit;
        c.rect = t.portrait.rect;
        c.image = t.image;
        c.source = &t;
        if (c.kind == ControlKind::DatePicker) c.date = CalendarDate{};
        if ((t.style & kStyleDefault) != 0 && defaultButton_ == kNoControl) defaultButton_ = t.id;
        controls_.push_back(std::move(c));
    }
    // The first control that can take the focus has it, as the dialog manager gives it.
    for (const ControlState& c : controls_) {
        if (TakesFocus(c) && c.id != kUnnamedControl) {
            focus_ = c.id;
            break;
        }
    }
}

ControlState* Dialog::Find(int id) {
    for (ControlState& c : controls_) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

const ControlState* Dialog::Find(int id) const {
    for (const ControlState& c : controls_) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

ControlState* Dialog::FindKind(int id, ControlKind kind) {
    ControlState* c = Find(id);
    return c != nullptr && c->kind == kind ? c : nullptr;
}

const ControlState* Dialog::FindKind(int id, ControlKind kind) const {
    const ControlState* c = Find(id);
    return c != nullptr && c->kind == kind ? c : nullptr;
}

ControlState* Dialog::FindEntries(int id) {
    ControlState* c = Find(id);
    return c != nullptr && HasEntries(c->kind) ? c : nullptr;
}

const ControlState* Dialog::FindEntries(int id) const {
    const ControlState* c = Find(id);
    return c != nullptr && HasEntries(c->kind) ? c : nullptr;
}

std::u16string Dialog::Text(int id) const {
    const ControlState* c = Find(id);
    if (c == nullptr) return {};
    if (HasEntries(c->kind)) {
        if (c->selection < 0 || c->selection >= static_cast<int>(c->entries.size())) return {};
        return c->entries[c->selection];
    }
    return c->text;
}

std::u16string Dialog::Text(int id, size_t maxChars) const {
    std::u16string text = Text(id);
    if (text.size() > maxChars) text.resize(maxChars);
    return text;
}

void Dialog::SetText(int id, std::u16string_view text) {
    ControlState* c = Find(id);
    if (c == nullptr) return;
    c->text = std::u16string(text);
    c->textSelected = false;
    Changed(DialogChange::Text, id);
    // An edit field tells its dialog of every new text, also one set by the program.
    if (c->kind == ControlKind::Edit && behaviour_ != nullptr) {
        behaviour_->OnCommand(*this, id, CommandCode::EditChange);
    }
}

void Dialog::SetEditLimit(int id, int limit) {
    if (ControlState* c = FindKind(id, ControlKind::Edit)) {
        c->editLimit = limit;
        Changed(DialogChange::EditLimit, id);
    }
}

void Dialog::SelectAllText(int id) {
    if (ControlState* c = FindKind(id, ControlKind::Edit)) c->textSelected = true;
}

void Dialog::Enable(int id, bool enabled) {
    ControlState* c = Find(id);
    if (c == nullptr || c->enabled == enabled) return;
    c->enabled = enabled;
    Changed(DialogChange::Enabled, id);
}

bool Dialog::IsEnabled(int id) const {
    const ControlState* c = Find(id);
    return c != nullptr && c->enabled;
}

void Dialog::Show(int id, bool visible) {
    ControlState* c = Find(id);
    if (c == nullptr || c->visible == visible) return;
    c->visible = visible;
    Changed(DialogChange::Visible, id);
}

bool Dialog::IsVisible(int id) const {
    const ControlState* c = Find(id);
    return c != nullptr && c->visible;
}

void Dialog::SetChecked(int id, bool checked) {
    ControlState* c = Find(id);
    if (c == nullptr || c->checked == checked) return;
    c->checked = checked;
    Changed(DialogChange::Checked, id);
}

bool Dialog::IsChecked(int id) const {
    const ControlState* c = Find(id);
    return c != nullptr && c->checked;
}

void Dialog::SetFocus(int id) {
    const ControlState* c = Find(id);
    if (c == nullptr || focus_ == id) return;
    focus_ = id;
    Changed(DialogChange::Focus, id);
    if (c->kind == ControlKind::Edit && behaviour_ != nullptr) {
        behaviour_->OnCommand(*this, id, CommandCode::EditSetFocus);
    }
}

void Dialog::SetDefaultButton(int id) {
    if (defaultButton_ == id) return;
    defaultButton_ = id;
    Changed(DialogChange::DefaultButton, id);
}

std::optional<CalendarDate> Dialog::Date(int id) const {
    const ControlState* c = FindKind(id, ControlKind::DatePicker);
    return c != nullptr ? c->date : std::nullopt;
}

void Dialog::SetDate(int id, std::optional<CalendarDate> date) {
    if (ControlState* c = FindKind(id, ControlKind::DatePicker)) {
        c->date = date;
        Changed(DialogChange::Date, id);
    }
}

int Dialog::AddString(int id, std::u16string_view text) {
    ControlState* c = FindEntries(id);
    if (c == nullptr) return -1;
    auto at = c->entries.end();
    if ((c->style & kStyleSorted) != 0) {
        at = std::upper_bound(
            c->entries.begin(), c->entries.end(), text,
            [](std::u16string_view a, const std::u16string& b) { return CompareNoCase(a, b) < 0; });
    }
    int index = static_cast<int>(at - c->entries.begin());
    c->entries.insert(at, std::u16string(text));
    if (c->selection >= index) ++c->selection;
    Changed(DialogChange::Entries, id);
    return index;
}

int Dialog::FindStringExact(int id, std::u16string_view text, int after) const {
    const ControlState* c = FindEntries(id);
    if (c == nullptr) return -1;
    int n = static_cast<int>(c->entries.size());
    int start = (after < -1 || after >= n) ? -1 : after;
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        if (EqualsNoCase(c->entries[i], text)) return i;
    }
    return -1;
}

int Dialog::SelectString(int id, std::u16string_view prefix, int after) {
    ControlState* c = FindEntries(id);
    if (c == nullptr) return -1;
    int n = static_cast<int>(c->entries.size());
    int start = (after < -1 || after >= n) ? -1 : after;
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        if (StartsWithNoCase(c->entries[i], prefix)) {
            c->selection = i;
            Changed(DialogChange::Selection, id);
            return i;
        }
    }
    return -1;
}

int Dialog::SetCurSel(int id, int index) {
    ControlState* c = FindEntries(id);
    if (c == nullptr) return -1;
    if (index < 0 || index >= static_cast<int>(c->entries.size())) index = -1;
    c->selection = index;
    Changed(DialogChange::Selection, id);
    return index;
}

int Dialog::GetCurSel(int id) const {
    const ControlState* c = FindEntries(id);
    return c != nullptr ? c->selection : -1;
}

std::optional<std::u16string> Dialog::GetLBText(int id, int index) const {
    const ControlState* c = FindEntries(id);
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->entries.size())) {
        return std::nullopt;
    }
    return c->entries[index];
}

int Dialog::DeleteString(int id, int index) {
    ControlState* c = FindEntries(id);
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->entries.size())) return -1;
    c->entries.erase(c->entries.begin() + index);
    if (c->selection == index) {
        c->selection = -1;
    } else if (c->selection > index) {
        --c->selection;
    }
    Changed(DialogChange::Entries, id);
    return static_cast<int>(c->entries.size());
}

void Dialog::ResetContent(int id) {
    if (ControlState* c = FindEntries(id)) {
        c->entries.clear();
        c->selection = -1;
        Changed(DialogChange::Entries, id);
    }
}

int Dialog::Count(int id) const {
    const ControlState* c = FindEntries(id);
    return c != nullptr ? static_cast<int>(c->entries.size()) : -1;
}

bool Dialog::CreateListView(int id, Rect rect) {
    if (Find(id) != nullptr) return false;
    ControlState c;
    c.id = id;
    c.kind = ControlKind::ListView;
    c.rect = rect;
    controls_.push_back(std::move(c));
    Changed(DialogChange::Added, id);
    return true;
}

bool Dialog::DestroyControl(int id) {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [id](const ControlState& c) { return c.id == id; });
    if (it == controls_.end()) return false;
    controls_.erase(it);
    if (focus_ == id) focus_ = kNoControl;
    if (defaultButton_ == id) defaultButton_ = kNoControl;
    Changed(DialogChange::Removed, id);
    return true;
}

int Dialog::InsertColumn(int id, int index, ListColumn column) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || index < 0 || c->columns.size() >= ListCells::kMaxCells) return -1;
    index = std::min(index, static_cast<int>(c->columns.size()));
    c->columns.insert(c->columns.begin() + index, std::move(column));
    c->rows.ForEach([index](ListRow& row) {
        if (static_cast<int>(row.cells.size()) > index) {
            row.cells.insert(static_cast<size_t>(index), u"");
        }
    });
    Changed(DialogChange::Columns, id);
    return index;
}

bool Dialog::DeleteColumn(int id, int index) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->columns.size())) return false;
    c->columns.erase(c->columns.begin() + index);
    c->rows.ForEach([index](ListRow& row) {
        if (static_cast<int>(row.cells.size()) > index) row.cells.erase(static_cast<size_t>(index));
    });
    Changed(DialogChange::Columns, id);
    return true;
}

int Dialog::ColumnCount(int id) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    return c != nullptr ? static_cast<int>(c->columns.size()) : -1;
}

bool Dialog::SetHeaderImage(int id, int column, int image) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || column < 0 || column >= static_cast<int>(c->columns.size())) return false;
    c->columns[column].headerImage = image;
    Changed(DialogChange::Columns, id);
    return true;
}

int Dialog::HeaderImage(int id, int column) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || column < 0 || column >= static_cast<int>(c->columns.size())) return -1;
    return c->columns[column].headerImage;
}

int Dialog::InsertRow(int id, int index, std::u16string_view text, int image) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || index < 0) return -1;
    index = std::min(index, static_cast<int>(c->rows.size()));
    ListRow row;
    row.image = image;
    row.cells.resize(std::max<size_t>(c->columns.size(), 1));
    row.cells.Set(0, text);
    c->rows.Insert(static_cast<size_t>(index), std::move(row));
    if (c->selectedRow >= index) ++c->selectedRow;
    if (c->focusedRow >= index) ++c->focusedRow;
    Changed(DialogChange::Rows, id);
    return index;
}

bool Dialog::SetCell(int id, int row, int column, std::u16string_view text) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
        column >= std::max<int>(static_cast<int>(c->columns.size()), 1)) {
        return false;
    }
    ListCells& cells = c->rows[row].cells;
    if (static_cast<int>(cells.size()) <= column) cells.resize(column + 1);
    cells.Set(static_cast<size_t>(column), text);
    Changed(DialogChange::Row, id, row);
    return true;
}

std::u16string Dialog::Cell(int id, int row, int column) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
        column >= static_cast<int>(c->rows[row].cells.size())) {
        return {};
    }
    return std::u16string(c->rows[row].cells[column]);
}

bool Dialog::SetRowImage(int id, int row, int image) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size())) return false;
    c->rows[row].image = image;
    Changed(DialogChange::Row, id, row);
    return true;
}

int Dialog::RowImage(int id, int row) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size())) return -1;
    return c->rows[row].image;
}

bool Dialog::DeleteRow(int id, int row) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size())) return false;
    c->rows.Erase(static_cast<size_t>(row));
    auto adjust = [row](int& r) {
        if (r == row) {
            r = -1;
        } else if (r > row) {
            --r;
        }
    };
    adjust(c->selectedRow);
    adjust(c->focusedRow);
    int last = std::max(0, static_cast<int>(c->rows.size()) - 1);
    c->topRow = std::min(c->topRow, last);
    Changed(DialogChange::Rows, id);
    return true;
}

void Dialog::DeleteAllRows(int id) {
    if (ControlState* c = FindKind(id, ControlKind::ListView)) {
        c->rows.Clear();
        c->selectedRow = -1;
        c->focusedRow = -1;
        c->topRow = 0;
        Changed(DialogChange::Rows, id);
    }
}

bool Dialog::SetRows(int id, std::vector<ListRow> rows) {
    return ReplaceRows(id,
                       [&](ListRows& into, size_t cells) { into.Assign(std::move(rows), cells); });
}

bool Dialog::SetRows(int id, size_t count, std::shared_ptr<const ListRowSource> source) {
    return ReplaceRows(
        id, [&](ListRows& into, size_t cells) { into.Assign(count, std::move(source), cells); });
}

bool Dialog::ReplaceRows(int id, const std::function<void(ListRows&, size_t)>& assign) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr) return false;
    assign(c->rows, std::max<size_t>(c->columns.size(), 1));
    c->selectedRow = -1;
    c->focusedRow = -1;
    c->topRow = 0;
    Changed(DialogChange::Rows, id);
    return true;
}

int Dialog::RowCount(int id) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    return c != nullptr ? static_cast<int>(c->rows.size()) : -1;
}

bool Dialog::SelectRow(int id, int row) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < -1 || row >= static_cast<int>(c->rows.size())) return false;
    c->selectedRow = row;
    Changed(DialogChange::RowSelection, id);
    return true;
}

int Dialog::SelectedRow(int id) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    return c != nullptr ? c->selectedRow : -1;
}

bool Dialog::SetFocusedRow(int id, int row) {
    ControlState* c = FindKind(id, ControlKind::ListView);
    if (c == nullptr || row < -1 || row >= static_cast<int>(c->rows.size())) return false;
    c->focusedRow = row;
    Changed(DialogChange::RowSelection, id);
    return true;
}

int Dialog::FocusedRow(int id) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    return c != nullptr ? c->focusedRow : -1;
}

void Dialog::ScrollBy(int id, int rows) {
    if (ControlState* c = FindKind(id, ControlKind::ListView)) {
        ScrollToRow(id, c->topRow + rows);
    }
}

void Dialog::ScrollToRow(int id, int row) {
    if (ControlState* c = FindKind(id, ControlKind::ListView)) {
        int last = std::max(0, static_cast<int>(c->rows.size()) - 1);
        c->topRow = std::clamp(row, 0, last);
        Changed(DialogChange::Scroll, id);
    }
}

int Dialog::TopRow(int id) const {
    const ControlState* c = FindKind(id, ControlKind::ListView);
    return c != nullptr ? c->topRow : 0;
}

void Dialog::Move(int id, Rect rect) {
    if (ControlState* c = Find(id)) {
        c->rect = rect;
        Changed(DialogChange::Place, id);
    }
}

void Dialog::ApplyLayout(bool landscape) {
    for (ControlState& c : controls_) {
        if (c.source == nullptr) continue;
        const LayoutRect& place = landscape ? c.source->landscape : c.source->portrait;
        c.rect = place.rect;
        if (c.source->portrait.hidden || c.source->landscape.hidden) c.visible = !place.hidden;
    }
    // Unnamed labels move too: the host places every control again.
    Changed(DialogChange::Layout, kNoControl);
}

void Dialog::End(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    Changed(DialogChange::Ended, kNoControl);
}

}  // namespace qv
