// The headless host: runs the main window and every dialog in memory and asks its owner for
// the user's next action whenever the program waits for the user. It turns each action into
// the input layer's gesture; what a person would notice is reported as host events, what a
// person could not do is refused with a sentence.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar.h"
#include "platform/ui/host_events.h"
#include "platform/ui/ui_host.h"
#include "platform/ui/user_action.h"

namespace qv {

using HeadlessAction = UserAction;

// Thrown by the host when the owner kills the program or has no further action. It models a
// power cut: nothing of the program's exit runs. Only the owner of the host catches it.
struct HeadlessKill {};

class HeadlessHost : public UiHost {
  public:
    // Asked for the next action whenever the program waits for the user; none ends the program
    // like a kill.
    using ActionSource = std::function<std::optional<UserAction>()>;
    // Receives one refusal sentence at a time (without "! ").
    using LineSink = std::function<void(const std::string&)>;

    HeadlessHost(const Resources& resources, const Clock& clock, ActionSource source,
                 HostEventSink events, LineSink errors);
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

    bool WaitCursor() const { return waitCursor_; }
    bool InputPanel() const { return inputPanel_; }
    int Repaints() const { return repaints_; }
    bool Running() const { return main_ != nullptr; }
    MainFrame* Main() const { return main_; }
    // The open modal dialog on top, or null.
    Dialog* TopDialog() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }
    // The window that takes control actions: the top dialog, else the main window's child.
    Dialog* TopWindow() const;

  private:
    UserAction NextAction();
    void Refuse(const UserAction& action, std::string_view why);
    void Emit(HostEvent event);
    // Carries out one action; false when it was refused.
    bool Apply(const UserAction& action);
    bool ApplyToMain(const UserAction& action);
    void ActivateTop();

    const Clock& clock_;
    ActionSource source_;
    HostEventSink events_;
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

}  // namespace qv
