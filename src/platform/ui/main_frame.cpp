// The main window's menu states, child dialog and life.
#include "platform/ui/main_frame.h"

namespace qv {

void MainWindowBehaviour::OnClose(MainFrame& frame) {
    frame.Destroy();
}

void MainWindowBehaviour::OnDestroy(MainFrame& frame) {
    frame.PostQuit(0);
}

MainFrame::MainFrame(std::u16string title, const MenuBarTemplate& menuBar)
    : title_(std::move(title)), menuBar_(&menuBar) {
    for (const MenuTemplate& menu : menuBar.menus) {
        for (const MenuItemTemplate& item : menu.items) {
            if (item.command != 0) menuItems_[item.command] = true;
        }
    }
    for (const MenuBarButton& button : menuBar.buttons) {
        if (button.kind == MenuBarButton::Kind::Image) buttons_[button.command] = true;
    }
}

MainFrame::~MainFrame() = default;

bool MainFrame::HasMenuItem(int command) const {
    return menuItems_.contains(command);
}

void MainFrame::EnableMenuItem(int command, bool enabled) {
    auto it = menuItems_.find(command);
    if (it == menuItems_.end() || it->second == enabled) return;
    it->second = enabled;
    Changed(FrameChange::MenuItem, command);
}

bool MainFrame::IsMenuItemEnabled(int command) const {
    auto it = menuItems_.find(command);
    return it != menuItems_.end() && it->second;
}

bool MainFrame::HasButton(int command) const {
    return buttons_.contains(command);
}

void MainFrame::SetButtonEnabled(int command, bool enabled) {
    auto it = buttons_.find(command);
    if (it == buttons_.end() || it->second == enabled) return;
    it->second = enabled;
    Changed(FrameChange::Button, command);
}

bool MainFrame::IsButtonEnabled(int command) const {
    auto it = buttons_.find(command);
    return it != buttons_.end() && it->second;
}

MainFrame::CommandState MainFrame::StateOf(int command) const {
    if (auto it = buttons_.find(command); it != buttons_.end()) {
        return it->second ? CommandState::Enabled : CommandState::Grey;
    }
    if (auto it = menuItems_.find(command); it != menuItems_.end()) {
        return it->second ? CommandState::Enabled : CommandState::Grey;
    }
    for (const MenuBarButton& button : menuBar_->buttons) {
        if (button.kind == MenuBarButton::Kind::Command && button.command == command) {
            return CommandState::Enabled;
        }
    }
    return CommandState::Missing;
}

bool MainFrame::DispatchCommand(int command) {
    if (destroyed_ || StateOf(command) != CommandState::Enabled) return false;
    if (behaviour_ != nullptr) behaviour_->OnCommand(*this, command);
    return true;
}

void MainFrame::AttachChild(std::unique_ptr<Dialog> dialog, DialogBehaviour& behaviour) {
    child_ = std::move(dialog);
    childBehaviour_ = &behaviour;
    Changed(FrameChange::Child);
}

void MainFrame::DestroyChild() {
    if (child_ == nullptr) return;
    // The host hears of it while the dialog still exists, so it can let go of it.
    std::unique_ptr<Dialog> leaving = std::move(child_);
    childBehaviour_ = nullptr;
    Changed(FrameChange::Child);
}

bool MainFrame::TakeCloseRequest() {
    bool pending = closePending_;
    closePending_ = false;
    return pending;
}

void MainFrame::Destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    closePending_ = false;
    DestroyChild();
    Changed(FrameChange::Destroyed);
    if (behaviour_ != nullptr) behaviour_->OnDestroy(*this);
}

void MainFrame::PostQuit(int code) {
    if (quitPosted_) return;
    quitPosted_ = true;
    quitCode_ = code;
}

}  // namespace qv
