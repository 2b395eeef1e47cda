// The headless host: the modal loops ask the owner for actions, checked as a person's hands
// would be, and everything a person would notice becomes a transcript line.
#include "platform/headless/headless_host.h"

#include <cstdio>
#include <utility>

#include "core/text.h"
#include "res/templates.h"

namespace qv {
namespace {

// Restores a value when a scope ends, also when a kill unwinds it.
template <typename T>
class Restore {
  public:
    Restore(T& target, T value) : target_(target), old_(std::exchange(target, std::move(value))) {}
    ~Restore() { target_ = std::move(old_); }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

  private:
    T& target_;
    T old_;
};

class PopDialog {
  public:
    PopDialog(std::vector<Dialog*>& stack, Dialog* d) : stack_(stack) { stack_.push_back(d); }
    ~PopDialog() { stack_.pop_back(); }
    PopDialog(const PopDialog&) = delete;
    PopDialog& operator=(const PopDialog&) = delete;

  private:
    std::vector<Dialog*>& stack_;
};

const char* KindWord(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
            return "static";
        case ControlKind::GroupBox:
            return "group";
        case ControlKind::Button:
            return "button";
        case ControlKind::CheckBox:
            return "check";
        case ControlKind::Radio:
            return "radio";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::Combo:
            return "combo";
        case ControlKind::DatePicker:
            return "date";
        case ControlKind::ListBox:
            return "listbox";
        case ControlKind::ListView:
            return "list";
    }
    return "control";
}

std::string ImageText(int image) {
    return image < 0 ? std::string("[-]") : "[" + std::to_string(image) + "]";
}

std::string DateText(const CalendarDate& d) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", static_cast<unsigned>(d.year),
                  static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
    return buffer;
}

std::string FocusText(int id) {
    return id == kNoControl ? std::string("-") : std::to_string(id);
}

bool IsQuestion(uint32_t flags) {
    return (flags & 0x0F) == MB_YESNO;
}

const char* IconWord(uint32_t flags) {
    switch (flags & 0xF0) {
        case MB_ICONSTOP:
            return "stop";
        case 0x20:
            return "question";
        case 0x40:
            return "information";
        default:
            return "exclamation";
    }
}

// Radio buttons form a group from one with the group style, or the first after another kind
// of control, up to the next such start.
void CheckRadioInGroup(Dialog& d, int id) {
    const std::vector<ControlState>& controls = d.Controls();
    size_t at = 0;
    while (at < controls.size() && controls[at].id != id) ++at;
    if (at == controls.size()) return;
    size_t first = at;
    while (first > 0 && (controls[first].style & kStyleGroup) == 0 &&
           controls[first - 1].kind == ControlKind::Radio) {
        --first;
    }
    for (size_t i = first; i < controls.size() && controls[i].kind == ControlKind::Radio; ++i) {
        if (i > first && (controls[i].style & kStyleGroup) != 0) break;
        d.SetChecked(controls[i].id, i == at);
    }
}

}  // namespace

std::string QuoteText(std::u16string_view text) {
    std::string utf8 = ToUtf8(text);
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string DescribeAction(const HeadlessAction& a) {
    using K = HeadlessAction::Kind;
    auto with = [&a](const char* word) { return std::string(word) + " " + std::to_string(a.id); };
    switch (a.kind) {
        case K::Command:
            return with("command");
        case K::Project:
            return "project " + QuoteText(a.text);
        case K::Click:
            return with("click");
        case K::Type:
            return with("type");
        case K::Choose:
            return with("choose");
        case K::Check:
            return with("check");
        case K::Uncheck:
            return with("uncheck");
        case K::Date:
            return with("date");
        case K::Tap:
            return with("tap");
        case K::Enter:
            return with("enter");
        case K::Header:
            return with("header");
        case K::Help:
            return "help";
        case K::Close:
            return "close";
        case K::Answer:
            return a.yes ? "answer yes" : "answer no";
        case K::Screen:
            return "screen " + std::to_string(a.screen.width) + " " +
                   std::to_string(a.screen.height);
        case K::Kill:
            return "kill";
    }
    return "action";
}

std::string FormatControlLine(const ControlState& c, const Dialog& dialog, bool showFocus) {
    std::string line = std::string(KindWord(c.kind)) + " " + std::to_string(c.id);
    switch (c.kind) {
        case ControlKind::DatePicker:
            line += " " + (c.date ? DateText(*c.date) : std::string("none"));
            break;
        case ControlKind::Combo:
        case ControlKind::ListBox: {
            bool selected = c.selection >= 0 && c.selection < static_cast<int>(c.entries.size());
            line += " selected " + (selected ? QuoteText(c.entries[c.selection]) : "-");
            line += " entries";
            for (const std::u16string& e : c.entries) line += " " + QuoteText(e);
            break;
        }
        case ControlKind::ListView:
            line += " columns";
            for (const ListColumn& col : c.columns) {
                line += " " + QuoteText(col.header) + " " + ImageText(col.headerImage);
            }
            break;
        default:
            line += " " + QuoteText(c.text);
            break;
    }
    if (!c.visible) line += " hidden";
    if (!c.enabled) line += " disabled";
    if (showFocus && c.id != kUnnamedControl && dialog.Focus() == c.id) line += " focused";
    if (c.id != kUnnamedControl && dialog.DefaultButton() == c.id) line += " default";
    if (c.checked) line += " checked";
    return line;
}

std::vector<std::string> FormatRowLines(const ControlState& list) {
    std::vector<std::string> lines;
    for (size_t r = 0; r < list.rows.size(); ++r) {
        const ListRow& row = list.rows[r];
        std::string line = "row " + std::to_string(r) + " " + ImageText(row.image);
        for (const std::u16string& cell : row.cells) line += " " + QuoteText(cell);
        if (static_cast<int>(r) == list.selectedRow) line += " selected";
        lines.push_back(std::move(line));
    }
    return lines;
}

HeadlessHost::HeadlessHost(const Clock& clock, ActionSource source, LineSink events,
                           LineSink errors)
    : clock_(clock),
      source_(std::move(source)),
      events_(std::move(events)),
      errors_(std::move(errors)) {}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::Emit(const std::string& line) {
    if (events_) events_(line);
}

void HeadlessHost::Refuse(const HeadlessAction& action, std::string_view why) {
    if (errors_) errors_(DescribeAction(action) + ": " + std::string(why));
}

void HeadlessHost::EmitExit(int code) {
    Emit("exit " + std::to_string(code));
}

HeadlessAction HeadlessHost::NextAction() {
    std::optional<HeadlessAction> action = source_ ? source_() : std::nullopt;
    if (!action || action->kind == HeadlessAction::Kind::Kill) throw HeadlessKill{};
    return std::move(*action);
}

int HeadlessHost::MessageBox(const std::u16string& text, const std::u16string& /*caption*/,
                             uint32_t flags) {
    // The program takes the wait cursor away before it says anything.
    if (waitCursor_ && errors_) errors_("a message box came while the wait cursor was on");
    int answer = IDOK;
    if (IsQuestion(flags)) {
        Emit("question " + QuoteText(text));
        for (;;) {
            HeadlessAction a = NextAction();
            if (a.kind == HeadlessAction::Kind::Answer) {
                answer = a.yes ? IDYES : IDNO;
                break;
            }
            Refuse(a, "the question needs an answer yes or no");
        }
    } else {
        Emit(std::string("message ") + IconWord(flags) + " " + QuoteText(text));
    }
    // The box had the focus; the window below it is active again.
    ActivateTop();
    return answer;
}

void HeadlessHost::MessageBeep(uint32_t /*type*/) {
    Emit("beep");
}

void HeadlessHost::StartHelp(std::u16string_view commandLine) {
    Emit("help " + ToUtf8(commandLine));
}

void HeadlessHost::PlaySoundResource(std::u16string_view name) {
    Emit("sound " + ToUtf8(name));
}

Dialog* HeadlessHost::TopWindow() const {
    if (!dialogs_.empty()) return dialogs_.back();
    if (main_ != nullptr) return main_->Child();
    return nullptr;
}

void HeadlessHost::ActivateTop() {
    if (!dialogs_.empty()) {
        Dialog* d = dialogs_.back();
        // A dialog being initialised is not shown yet and cannot be activated.
        if (d != initialising_ && !d->Ended() && d->Behaviour() != nullptr) {
            d->Behaviour()->OnActivate(*d);
        }
    } else if (main_ != nullptr && mainCreated_ && !main_->IsDestroyed() &&
               main_->Behaviour() != nullptr) {
        main_->Behaviour()->OnActivate(*main_);
    }
}

int HeadlessHost::RunDialog(int templateId, DialogBehaviour& behaviour) {
    const DialogTemplate* source = FindDialogTemplate(templateId);
    if (source == nullptr) return -1;
    Dialog d(*source);
    d.SetBehaviour(&behaviour);
    Emit("open " + std::to_string(templateId) + " " + QuoteText(source->caption));
    {
        PopDialog top(dialogs_, &d);
        if ((source->frameFlags & kFrameInputPanelDown) != 0) inputPanel_ = false;
        {
            Restore<const Dialog*> init(initialising_, &d);
            behaviour.OnInit(d);
        }
        if (!d.Ended()) behaviour.OnSize(d, screen_ != kPortraitScreen);
        if (!d.Ended()) behaviour.OnActivate(d);
        while (!d.Ended()) Apply(NextAction());
    }
    Emit("end " + std::to_string(templateId) + " " + std::to_string(d.Result()));
    ActivateTop();
    return d.Result();
}

Dialog* HeadlessHost::CreateChildDialog(MainFrame& frame, int templateId,
                                        DialogBehaviour& behaviour) {
    const DialogTemplate* source = FindDialogTemplate(templateId);
    if (source == nullptr) return nullptr;
    auto d = std::make_unique<Dialog>(*source);
    Dialog* child = d.get();
    child->SetBehaviour(&behaviour);
    Size area = WorkAreaSize();
    child->SetWindowRect({0, 0, area.width, area.height});
    frame.AttachChild(std::move(d), behaviour);
    behaviour.OnInit(*child);
    return frame.Child() == child ? child : nullptr;
}

int HeadlessHost::RunMainWindow(MainFrame& frame, MainWindowBehaviour& behaviour) {
    Restore<MainFrame*> running(main_, &frame);
    Restore<bool> created(mainCreated_, false);
    frame.SetBehaviour(&behaviour);
    behaviour.OnCreate(frame);
    mainCreated_ = true;
    if (!frame.IsDestroyed()) behaviour.OnActivate(frame);
    while (!frame.QuitPosted()) {
        if (frame.TakeCloseRequest()) {
            behaviour.OnClose(frame);
            continue;
        }
        // A destroyed window without a quit message would leave the loop waiting forever.
        if (frame.IsDestroyed()) break;
        Apply(NextAction());
    }
    frame.SetBehaviour(nullptr);
    return frame.QuitCode();
}

void HeadlessHost::ChangeScreen(Size size) {
    screen_ = size;
    bool landscape = size != kPortraitScreen;
    if (main_ != nullptr && !main_->IsDestroyed() && main_->Behaviour() != nullptr) {
        main_->Behaviour()->OnWorkAreaChange(*main_);
    }
    std::vector<Dialog*> open = dialogs_;
    for (Dialog* d : open) {
        if (!d->Ended() && d->Behaviour() != nullptr) d->Behaviour()->OnSize(*d, landscape);
    }
}

bool HeadlessHost::Apply(const HeadlessAction& a) {
    using K = HeadlessAction::Kind;
    switch (a.kind) {
        case K::Answer:
            Refuse(a, "no question is open");
            return false;
        case K::Screen:
            if (a.screen.width <= 0 || a.screen.height <= 0) {
                Refuse(a, "not a screen size");
                return false;
            }
            ChangeScreen(a.screen);
            return true;
        case K::Close:
            // The shell's close request reaches the main window also under a dialog: the open
            // dialogs end as cancelled, and the exit steps run once the main window has control.
            for (Dialog* d : dialogs_) {
                if (!d->Ended()) d->End(IDCANCEL);
            }
            return ApplyToMain(a);
        case K::Command:
        case K::Project:
            if (!dialogs_.empty()) {
                Refuse(a, "a dialog is open");
                return false;
            }
            return ApplyToMain(a);
        case K::Help:
            if (!dialogs_.empty()) {
                Dialog* d = dialogs_.back();
                if (d->Behaviour() != nullptr) d->Behaviour()->OnHelp(*d);
            } else if (main_ != nullptr && main_->Behaviour() != nullptr) {
                main_->Behaviour()->OnHelp(*main_);
            }
            return true;
        default:
            break;
    }
    Dialog* window = TopWindow();
    if (window == nullptr) {
        Refuse(a, "no window is open");
        return false;
    }
    return ApplyToWindow(*window, a, a);
}

bool HeadlessHost::ApplyToMain(const HeadlessAction& a) {
    if (main_ == nullptr || main_->IsDestroyed()) {
        Refuse(a, "the main window is not open");
        return false;
    }
    switch (a.kind) {
        case HeadlessAction::Kind::Command:
            switch (main_->StateOf(a.id)) {
                case MainFrame::CommandState::Missing:
                    Refuse(a, "missing");
                    return false;
                case MainFrame::CommandState::Grey:
                    Refuse(a, "grey");
                    return false;
                case MainFrame::CommandState::Enabled:
                    return main_->DispatchCommand(a.id);
            }
            return false;
        case HeadlessAction::Kind::Project: {
            Dialog* bar = main_->Child();
            if (bar == nullptr) {
                Refuse(a, "missing");
                return false;
            }
            HeadlessAction choose = HeadlessAction::MakeChoose(1000, a.text);
            return ApplyToWindow(*bar, choose, a);
        }
        default:
            main_->PostClose();
            return true;
    }
}

void HeadlessHost::GiveFocus(Dialog& d, int id) {
    d.SetFocus(id);
}

bool HeadlessHost::ApplyToWindow(Dialog& d, const HeadlessAction& a, const HeadlessAction& named) {
    using K = HeadlessAction::Kind;
    DialogBehaviour* b = d.Behaviour();
    if (b == nullptr) return false;
    // The shell's Done button of a full-screen dialog.
    if (a.kind == K::Click && a.id == IDOK && !d.Has(IDOK) &&
        (d.Template().frameFlags & kFrameDoneButton) != 0) {
        b->OnCommand(d, IDOK, CommandCode::Clicked);
        return true;
    }
    const ControlState* c = d.Find(a.id);
    if (c == nullptr || c->id == kUnnamedControl) {
        Refuse(named, "missing");
        return false;
    }
    if (!c->visible) {
        Refuse(named, "hidden");
        return false;
    }
    if (!c->enabled) {
        Refuse(named, "disabled");
        return false;
    }
    const ControlKind kind = c->kind;
    const int id = a.id;
    switch (a.kind) {
        case K::Click:
            if (kind != ControlKind::Button) {
                Refuse(named, "not a button");
                return false;
            }
            GiveFocus(d, id);
            b->OnCommand(d, id, CommandCode::Clicked);
            return true;
        case K::Type: {
            if (kind != ControlKind::Edit) {
                Refuse(named, "not an edit field");
                return false;
            }
            GiveFocus(d, id);
            ControlState* edit = d.Find(id);
            if (edit == nullptr) return false;
            size_t limit = edit->editLimit > 0 ? static_cast<size_t>(edit->editLimit)
                                               : static_cast<size_t>(kDefaultEditLimit);
            edit->text = a.text.substr(0, std::min(limit, a.text.size()));
            edit->textSelected = false;
            b->OnCommand(d, id, CommandCode::EditChange);
            return true;
        }
        case K::Choose: {
            if (kind != ControlKind::Combo && kind != ControlKind::ListBox) {
                Refuse(named, "not a list");
                return false;
            }
            int index = -1;
            for (size_t i = 0; i < c->entries.size(); ++i) {
                if (c->entries[i] == a.text) {
                    index = static_cast<int>(i);
                    break;
                }
            }
            if (index < 0) {
                Refuse(named, "no entry " + QuoteText(a.text));
                return false;
            }
            bool notify = kind == ControlKind::Combo || (c->style & kStyleNotify) != 0;
            GiveFocus(d, id);
            if (kind == ControlKind::Combo) b->OnCommand(d, id, CommandCode::DropDown);
            d.SetCurSel(id, index);
            if (notify) b->OnCommand(d, id, CommandCode::SelectionChange);
            if (kind == ControlKind::Combo) b->OnCommand(d, id, CommandCode::CloseUp);
            return true;
        }
        case K::Check:
        case K::Uncheck: {
            if (kind != ControlKind::CheckBox && kind != ControlKind::Radio) {
                Refuse(named, "not a check box or radio button");
                return false;
            }
            bool want = a.kind == K::Check;
            if (kind == ControlKind::Radio && !want) {
                Refuse(named, "a radio button is unchecked by checking another");
                return false;
            }
            if (c->checked == want) return true;
            bool automatic = (c->style & kStyleAutoCheck) != 0;
            GiveFocus(d, id);
            if (automatic) {
                if (kind == ControlKind::Radio) {
                    CheckRadioInGroup(d, id);
                } else {
                    d.SetChecked(id, want);
                }
            }
            b->OnCommand(d, id, CommandCode::Clicked);
            return true;
        }
        case K::Date:
            if (kind != ControlKind::DatePicker) {
                Refuse(named, "not a date picker");
                return false;
            }
            GiveFocus(d, id);
            if (a.date) {
                b->OnNotify(d, id, NotifyCode::DateDropDown, 0);
                d.SetDate(id, a.date);
                b->OnNotify(d, id, NotifyCode::DateChange, 0);
                b->OnNotify(d, id, NotifyCode::DateCloseUp, 0);
            } else {
                d.SetDate(id, std::nullopt);
                b->OnNotify(d, id, NotifyCode::DateChange, 0);
            }
            return true;
        case K::Tap:
        case K::Enter: {
            int count = kind == ControlKind::ListView  ? static_cast<int>(c->rows.size())
                        : kind == ControlKind::ListBox ? static_cast<int>(c->entries.size())
                                                       : -1;
            bool listBoxEnter = kind == ControlKind::ListBox && a.kind == K::Enter;
            if (count < 0 || listBoxEnter) {
                Refuse(named, "not a list view");
                return false;
            }
            if (a.index < 0 || a.index >= count) {
                Refuse(named, "no row " + std::to_string(a.index));
                return false;
            }
            GiveFocus(d, id);
            if (kind == ControlKind::ListBox) {
                bool notify = (c->style & kStyleNotify) != 0;
                d.SetCurSel(id, a.index);
                if (notify) b->OnCommand(d, id, CommandCode::SelectionChange);
                return true;
            }
            d.SelectRow(id, a.index);
            d.SetFocusedRow(id, a.index);
            b->OnNotify(d, id, a.kind == K::Tap ? NotifyCode::Click : NotifyCode::Return, a.index);
            return true;
        }
        case K::Header:
            if (kind != ControlKind::ListView) {
                Refuse(named, "not a list view");
                return false;
            }
            if (a.index < 0 || a.index >= static_cast<int>(c->columns.size())) {
                Refuse(named, "no column " + std::to_string(a.index));
                return false;
            }
            b->OnNotify(d, id, NotifyCode::ColumnClick, a.index);
            return true;
        default:
            Refuse(named, "not an action on a window");
            return false;
    }
}

HeadlessHost::Shown HeadlessHost::ShowControl(int id) const {
    Shown shown;
    Dialog* window = TopWindow();
    const ControlState* c = window != nullptr ? window->Find(id) : nullptr;
    if (c == nullptr || id == kUnnamedControl) {
        shown.error = "show " + std::to_string(id) + ": missing";
        return shown;
    }
    shown.lines.push_back(FormatControlLine(*c, *window));
    if (c->kind == ControlKind::ListView) {
        for (std::string& row : FormatRowLines(*c)) shown.lines.push_back(std::move(row));
    }
    return shown;
}

HeadlessHost::Shown HeadlessHost::ShowDialog() const {
    Shown shown;
    Dialog* d = TopDialog();
    if (d == nullptr) {
        shown.error = "show dialog: no dialog is open";
        return shown;
    }
    shown.lines.push_back("dialog " + std::to_string(d->TemplateId()) + " " +
                          QuoteText(d->Caption()) + " focus " + FocusText(d->Focus()) +
                          " default " + FocusText(d->DefaultButton()));
    for (const ControlState& c : d->Controls()) {
        shown.lines.push_back(FormatControlLine(c, *d));
        if (c.kind == ControlKind::ListView) {
            for (std::string& row : FormatRowLines(c)) shown.lines.push_back(std::move(row));
        }
    }
    return shown;
}

HeadlessHost::Shown HeadlessHost::ShowMain() const {
    Shown shown;
    if (main_ == nullptr || main_->IsDestroyed()) {
        shown.error = "show main: the program is not running";
        return shown;
    }
    shown.lines.push_back("main " + QuoteText(main_->Title()) + " " +
                          std::to_string(screen_.width) + "x" + std::to_string(screen_.height));
    if (const Dialog* bar = main_->Child()) {
        if (const ControlState* combo = bar->Find(1000)) {
            std::string line = FormatControlLine(*combo, *bar, false);
            shown.lines.push_back("bar" + line.substr(line.find(' ')));
        }
        // The balance line is the last text the bar paints.
        std::u16string balance;
        if (main_->ChildBehaviour() != nullptr) {
            PaintList paint;
            Rect place = bar->WindowRect();
            main_->ChildBehaviour()->OnPaint(*bar, {place.w, place.h}, paint);
            for (const PaintOp& op : paint) {
                if (const auto* text = std::get_if<PaintText>(&op)) balance = text->text;
            }
        }
        shown.lines.push_back("balance " + QuoteText(balance));
        if (const ControlState* list = bar->Find(500)) {
            shown.lines.push_back(FormatControlLine(*list, *bar, false));
            for (std::string& row : FormatRowLines(*list)) shown.lines.push_back(std::move(row));
        }
    }
    static constexpr int kMenuOrder[] = {40003, 40054, 40055, 40056, 40050, 40021, 40049,
                                         40019, 40052, 40053, 40045, 40046, 40010};
    std::string menu = "menu";
    for (int command : kMenuOrder) {
        menu +=
            " " + std::to_string(command) + (main_->IsMenuItemEnabled(command) ? " on" : " grey");
    }
    shown.lines.push_back(std::move(menu));
    std::string buttons = "buttons";
    for (int command : {551, 552, 553}) {
        buttons +=
            " " + std::to_string(command) + (main_->IsButtonEnabled(command) ? " on" : " grey");
    }
    shown.lines.push_back(std::move(buttons));
    return shown;
}

}  // namespace qv
