// The main window: title, menu bar with its item and button states, the modeless child dialog
// (the project bar), and the window's life from creation to the quit message.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/ui_types.h"

namespace qv {

class MainFrame;

// What changed in the main window, for the host that shows it.
enum class FrameChange {
    MenuItem,  // command: a menu item was enabled or greyed
    Button,    // command: a menu bar image button was enabled or greyed
    Child,     // the child dialog was attached or destroyed
    Destroyed,
};

class MainFrameObserver {
  public:
    virtual ~MainFrameObserver() = default;
    virtual void OnFrameChanged(const MainFrame& frame, FrameChange what, int command) = 0;
};

// The main window's events.
class MainWindowBehaviour {
  public:
    virtual ~MainWindowBehaviour() = default;
    // Builds the window's contents; a failure calls MainFrame::Destroy.
    virtual void OnCreate(MainFrame&) {}
    // A menu item or menu bar button; only enabled ones arrive.
    virtual void OnCommand(MainFrame&, int /*command*/) {}
    // The close request (shell, Exit, posted close): by default the window is destroyed.
    virtual void OnClose(MainFrame& frame);
    // Destruction: by default posts the quit message with code 0.
    virtual void OnDestroy(MainFrame& frame);
    // The work area changed (input panel, screen rotation).
    virtual void OnWorkAreaChange(MainFrame&) {}
    virtual void OnActivate(MainFrame&) {}
    virtual void OnHelp(MainFrame&) {}
};

class MainFrame {
  public:
    MainFrame(std::u16string title, const MenuBarTemplate& menuBar);
    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;
    ~MainFrame();

    const std::u16string& Title() const { return title_; }
    const MenuBarTemplate& MenuBar() const { return *menuBar_; }

    // Menu items of the Time and Tools menus, by command; all enabled at first.
    bool HasMenuItem(int command) const;
    void EnableMenuItem(int command, bool enabled);
    bool IsMenuItemEnabled(int command) const;
    // Image buttons of the menu bar (551, 552, 553): enabled, or grey (indeterminate).
    bool HasButton(int command) const;
    void SetButtonEnabled(int command, bool enabled);
    bool IsButtonEnabled(int command) const;

    // What a command identifier reaches: an image button's own state, else the menu item's
    // (the New button shares command 40003 with its menu item).
    enum class CommandState { Missing, Enabled, Grey };
    CommandState StateOf(int command) const;
    // Delivers the command to the behaviour when it is enabled; false otherwise.
    bool DispatchCommand(int command);

    // The modeless child dialog hosted over the client area.
    void AttachChild(std::unique_ptr<Dialog> dialog, DialogBehaviour& behaviour);
    void DestroyChild();
    Dialog* Child() { return child_.get(); }
    const Dialog* Child() const { return child_.get(); }
    DialogBehaviour* ChildBehaviour() const { return childBehaviour_; }

    // Life. The host sets the behaviour when it runs the window.
    void SetBehaviour(MainWindowBehaviour* behaviour) { behaviour_ = behaviour; }
    MainWindowBehaviour* Behaviour() const { return behaviour_; }
    void SetObserver(MainFrameObserver* observer) { observer_ = observer; }
    void PostClose() { closePending_ = true; }  // handled by the message loop later
    bool TakeCloseRequest();
    void Destroy();  // destroys the child, then tells the behaviour; once only
    bool IsDestroyed() const { return destroyed_; }
    void PostQuit(int code);
    bool QuitPosted() const { return quitPosted_; }
    int QuitCode() const { return quitCode_; }

  private:
    void Changed(FrameChange what, int command = 0) const {
        if (observer_ != nullptr) observer_->OnFrameChanged(*this, what, command);
    }

    std::u16string title_;
    const MenuBarTemplate* menuBar_;
    std::map<int, bool> menuItems_;
    std::map<int, bool> buttons_;
    std::unique_ptr<Dialog> child_;
    DialogBehaviour* childBehaviour_ = nullptr;
    MainWindowBehaviour* behaviour_ = nullptr;
    MainFrameObserver* observer_ = nullptr;
    bool closePending_ = false;
    bool destroyed_ = false;
    bool quitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace qv
