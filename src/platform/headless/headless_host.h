// The headless host: runs the main window and every dialog in memory and asks its owner for
// the user's next action whenever the program waits for the user. What a person would notice
// is written as transcript lines; what a person could not do is refused with a sentence.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar.h"
#include "platform/ui/ui_host.h"

namespace qv {

// One user action on a window.
struct HeadlessAction {
    enum class Kind {
        Command,  // id: a menu item or menu bar button of the main window
        Project,  // text: the project bar's drop-down entry to choose
        Click,    // id: a button; 1 is the shell's Done button
        Type,     // id, text: replace an edit field's text as typed
        Choose,   // id, text: the drop-down or list box entry equal to text
        Check,    // id
        Uncheck,  // id
        Date,     // id, date (none: no valid date)
        Tap,      // id, index: a row of a list view or list box
        Enter,    // id, index: select a row of a list view and press Enter
        Header,   // id, index: a column header of a list view
        Help,
        Close,   // the shell's close request to the main window
        Answer,  // yes: the answer to the open question
        Screen,  // screen: the new screen size
        Kill,    // ends the program at once, without exit steps
    };
    Kind kind = Kind::Help;
    int id = 0;
    int index = 0;
    std::u16string text;
    std::optional<CalendarDate> date;
    bool yes = false;
    Size screen;

    static HeadlessAction Of(Kind kind, int id = 0, int index = 0) {
        HeadlessAction a;
        a.kind = kind;
        a.id = id;
        a.index = index;
        return a;
    }
    static HeadlessAction WithText(Kind kind, int id, std::u16string text) {
        HeadlessAction a = Of(kind, id);
        a.text = std::move(text);
        return a;
    }
    static HeadlessAction MakeCommand(int id) { return Of(Kind::Command, id); }
    static HeadlessAction MakeProject(std::u16string name) {
        return WithText(Kind::Project, 0, std::move(name));
    }
    static HeadlessAction MakeClick(int id) { return Of(Kind::Click, id); }
    static HeadlessAction MakeType(int id, std::u16string text) {
        return WithText(Kind::Type, id, std::move(text));
    }
    static HeadlessAction MakeChoose(int id, std::u16string text) {
        return WithText(Kind::Choose, id, std::move(text));
    }
    static HeadlessAction MakeCheck(int id) { return Of(Kind::Check, id); }
    static HeadlessAction MakeUncheck(int id) { return Of(Kind::Uncheck, id); }
    static HeadlessAction MakeDate(int id, std::optional<CalendarDate> date) {
        HeadlessAction a = Of(Kind::Date, id);
        a.date = date;
        return a;
    }
    static HeadlessAction MakeTap(int id, int row) { return Of(Kind::Tap, id, row); }
    static HeadlessAction MakeEnter(int id, int row) { return Of(Kind::Enter, id, row); }
    static HeadlessAction MakeHeader(int id, int column) { return Of(Kind::Header, id, column); }
    static HeadlessAction MakeHelp() { return Of(Kind::Help); }
    static HeadlessAction MakeClose() { return Of(Kind::Close); }
    static HeadlessAction MakeAnswer(bool yes) {
        HeadlessAction a = Of(Kind::Answer);
        a.yes = yes;
        return a;
    }
    static HeadlessAction MakeScreen(int width, int height) {
        HeadlessAction a = Of(Kind::Screen);
        a.screen = {width, height};
        return a;
    }
    static HeadlessAction MakeKill() { return Of(Kind::Kill); }
};

// "click 1058", "type 1025", "project \"Alpha\"", "answer yes": the action as a refusal names it.
std::string DescribeAction(const HeadlessAction& action);

// A text in double quotes, UTF-8, with \" and \\ escaped.
std::string QuoteText(std::u16string_view text);

// Thrown by the host when the owner kills the program or has no further action. It models a
// power cut: nothing of the program's exit runs. Only the owner of the host catches it.
struct HeadlessKill {};

class HeadlessHost : public UiHost {
  public:
    // Asked for the next action whenever the program waits for the user; none ends the program
    // like a kill.
    using ActionSource = std::function<std::optional<HeadlessAction>()>;
    // Receives one transcript line or one refusal sentence at a time (without "! ").
    using LineSink = std::function<void(const std::string&)>;

    HeadlessHost(const Clock& clock, ActionSource source, LineSink events, LineSink errors);
    ~HeadlessHost() override;

    // Shell
    int MessageBox(const std::u16string& text, const std::u16string& caption,
                   uint32_t flags) override;
    void MessageBeep(uint32_t type) override;
    void SetWaitCursor(bool on) override { waitCursor_ = on; }

    // UiHost
    int RunDialog(int templateId, DialogBehaviour& behaviour) override;
    Dialog* CreateChildDialog(MainFrame& frame, int templateId,
                              DialogBehaviour& behaviour) override;
    int RunMainWindow(MainFrame& frame, MainWindowBehaviour& behaviour) override;
    void SetInputPanel(bool on) override { inputPanel_ = on; }
    void StartHelp(std::u16string_view commandLine) override;
    void PlaySoundResource(std::u16string_view name) override;
    Size ScreenSize() const override { return screen_; }
    const Clock& GetClock() const override { return clock_; }
    void Repaint(Dialog&) override { ++repaints_; }

    // The screen size before the program runs; while it runs use the Screen action.
    void SetScreenSize(Size size) { screen_ = size; }
    // The "exit CODE" line, for the owner when the program has ended.
    void EmitExit(int code);

    bool WaitCursor() const { return waitCursor_; }
    bool InputPanel() const { return inputPanel_; }
    int Repaints() const { return repaints_; }
    bool Running() const { return main_ != nullptr; }
    MainFrame* Main() const { return main_; }
    // The open modal dialog on top, or null.
    Dialog* TopDialog() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }
    // The window that takes control actions: the top dialog, else the project bar.
    Dialog* TopWindow() const;

    // The printers of the transcript. Each gives its lines, or an error sentence.
    struct Shown {
        std::vector<std::string> lines;
        std::string error;
    };
    Shown ShowControl(int id) const;
    Shown ShowDialog() const;
    Shown ShowMain() const;

  private:
    HeadlessAction NextAction();
    void Refuse(const HeadlessAction& action, std::string_view why);
    void Emit(const std::string& line);
    // Carries out one action; false when it was refused.
    bool Apply(const HeadlessAction& action);
    bool ApplyToMain(const HeadlessAction& action);
    // Refusals name the action as `named` (a project choice names the project).
    bool ApplyToWindow(Dialog& d, const HeadlessAction& action, const HeadlessAction& named);
    void ChangeScreen(Size size);
    void ActivateTop();
    void GiveFocus(Dialog& d, int id);

    const Clock& clock_;
    ActionSource source_;
    LineSink events_;
    LineSink errors_;
    Size screen_ = kPortraitScreen;
    bool waitCursor_ = false;
    bool inputPanel_ = false;
    int repaints_ = 0;
    MainFrame* main_ = nullptr;
    bool mainCreated_ = false;
    const Dialog* initialising_ = nullptr;
    std::vector<Dialog*> dialogs_;
};

// Control lines of the transcript. The main window's lines leave the focus out.
std::string FormatControlLine(const ControlState& control, const Dialog& dialog,
                              bool showFocus = true);
std::vector<std::string> FormatRowLines(const ControlState& list);

}  // namespace qv
