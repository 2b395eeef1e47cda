// The desktop host: the handheld's screen in a Qt window. A title strip, the work area and the
// menu bar at the bottom; dialogs fill the screen, modal and nested. Every control of the model
// is a widget at its template rectangle, drawn at a whole-number zoom. Widgets turn a person's
// gestures into calls of the input layer; the model's change notices update exactly the widgets
// that changed.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "platform/ui/host_events.h"
#include "platform/ui/ui_host.h"
#include "platform/ui/user_action.h"

class QMenu;
class QWidget;

namespace qv {

class ScreenWindow;
class DialogView;

// The desktop's keyboard. Ctrl and a letter run a menu command, refused as the item is while it
// is grey or a dialog is open; the item and the menu bar button with the same effect show the
// key. Escape in a dialog clicks its leaving control: Cancel or Back, or IDOK where that is the
// shell's Done.
struct CommandKey {
    int command;
    int button;  // 0: none
    char letter;
};
struct EscapeControl {
    int templateId;
    int control;
};

class QtHost : public UiHost, private MainFrameObserver {
  public:
    struct Services {
        std::function<void(std::u16string_view)> startHelp;  // opens the help viewer
        std::function<void(std::u16string_view)> playSound;  // starts a sound, never waits
    };

    // `zoom` handheld pixels to desktop pixels (1..3). A QApplication must exist.
    QtHost(const Resources& resources, const Clock& clock, int zoom, Services services);
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // Shell
    int MessageBox(const std::u16string& text, const std::u16string& caption,
                   uint32_t flags) override;
    void MessageBeep(uint32_t type) override;
    void SetWaitCursor(bool on) override;

    // UiHost
    int RunDialog(int templateId, DialogBehaviour& behaviour) override;
    Dialog* CreateChildDialog(MainFrame& frame, int templateId,
                              DialogBehaviour& behaviour) override;
    int RunMainWindow(MainFrame& frame, MainWindowBehaviour& behaviour) override;
    void SetInputPanel(bool on) override;
    void StartHelp(std::u16string_view commandLine) override;
    void PlaySoundResource(std::u16string_view name) override;
    Size ScreenSize() const override { return screen_; }
    const Clock& GetClock() const override { return clock_; }
    void Repaint(Dialog& dialog) override;
    void SetMonthFirst(bool on) override { monthFirst_ = on; }
    bool MonthFirst() const { return monthFirst_; }

    // The handheld screen in handheld pixels; before the program runs, or to turn it.
    void SetScreenSize(Size size);
    // Turns the screen between 240 x 320 and 320 x 240.
    void Rotate();
    // The shell's close request, from the window's close button, Exit, a signal or the end of
    // the session: open message boxes end with the answer that changes nothing (OK, No), open
    // dialogs end as cancelled and the exit steps run. One that comes before the main window
    // runs answers the start-up's message boxes the same way and closes the window as soon as
    // it is made.
    void RequestClose();
    // Brings the window to the front, also out of the task bar (a second start asked for it).
    void Raise();

    // Before the main window runs: the tables stay with the caller.
    void SetKeyboard(std::span<const CommandKey> keys, std::span<const EscapeControl> escapes) {
        keys_ = keys;
        escapes_ = escapes;
    }
    // The control Escape clicks in a dialog of this template, or kNoControl for none.
    int EscapeControlOf(int templateId) const;

    // Everything a person notices beyond the controls (for the replay tool and tests).
    void SetEventSink(HostEventSink events) { events_ = std::move(events); }

    // Scripted runs: whenever the program waits for the user, `step` is called instead of
    // waiting for events. It acts on the widgets and returns; it may end the run by throwing.
    void SetScriptedStep(std::function<void()> step) { scriptedStep_ = std::move(step); }
    // The scripted answer to a message box: called while the box shows; it presses a button
    // of the box (through `answer`) or throws.
    using BoxAnswer = std::function<void(QWidget* box, bool question)>;
    void SetScriptedAnswer(BoxAnswer answer) { scriptedAnswer_ = std::move(answer); }

    int Zoom() const { return zoom_; }
    QWidget* Window() const;
    MainFrame* Main() const { return main_; }
    Dialog* TopDialog() const;
    // Whether a dialog or a message box is up, or the main window not yet made: the user is in
    // the middle of something that changes must not run under.
    bool InTheMiddle() const {
        return main_ == nullptr || TopDialog() != nullptr || !openBoxes_.empty();
    }
    // The window that takes control actions: the top dialog, else the main window's child.
    Dialog* TopWindow() const;
    // The widget that shows control `id` of the topmost window, or null.
    QWidget* WidgetOf(int id) const;
    // The shell's Done button in the title strip, and the menu bar's button of a command.
    QWidget* DoneButton() const;
    QWidget* MenuBarWidget() const;
    std::vector<Dialog*> OpenDialogs() const;
    // The menu behind the title strip's icon, for the desktop's own items.
    QMenu* WindowMenu() const;
    // Whether the main window takes a command now: it runs, and no dialog or message box is
    // open over it.
    bool TakesCommands() const;
    bool WaitCursor() const { return waitCursor_; }

  private:
    friend class ScreenWindow;
    void OnFrameChanged(const MainFrame& frame, FrameChange what, int command) override;
    // Waits for the user once: a scripted step, or the next events.
    void WaitOnce();
    void Emit(const HostEvent& e) {
        if (events_) events_(e);
    }
    void ActivateTop();
    void ScreenResized(Size size);  // the window's client area changed to this screen size
    void FollowMinimumSize(Size screen);

    const Clock& clock_;
    int zoom_;
    Services services_;
    Size screen_ = kPortraitScreen;
    bool waitCursor_ = false;
    bool monthFirst_ = false;  // date pickers show the month before the day
    bool mainCreated_ = false;
    bool closeBeforeMain_ = false;     // a close request came while no main window ran
    std::vector<QWidget*> openBoxes_;  // message boxes showing, the newest last
    MainFrame* main_ = nullptr;
    const Dialog* initialising_ = nullptr;
    std::unique_ptr<ScreenWindow> window_;
    std::unique_ptr<DialogView> childView_;
    std::vector<std::unique_ptr<DialogView>> dialogViews_;
    HostEventSink events_;
    std::span<const CommandKey> keys_;
    std::span<const EscapeControl> escapes_;
    std::function<void()> scriptedStep_;
    BoxAnswer scriptedAnswer_;
};

}  // namespace qv
