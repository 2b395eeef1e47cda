// The program's message conventions and the recording shell.
#include "platform/ui/shell.h"

#include "platform/ui/resources.h"

namespace qv {

std::u16string Shell::Title() const {
    std::optional<std::u16string> title;
    if (resources_ != nullptr) title = resources_->String(kTitleStringId);
    return title.value_or(u"Quorvella");
}

void ShowNotice(Shell& shell, const std::u16string& text) {
    shell.SetWaitCursor(false);
    shell.MessageBox(text, shell.Title(), kNoticeBox);
}

void ShowStop(Shell& shell, const std::u16string& text) {
    shell.SetWaitCursor(false);
    shell.MessageBox(text, shell.Title(), kStopBox);
}

bool AskYesNo(Shell& shell, const std::u16string& text) {
    shell.SetWaitCursor(false);
    return shell.MessageBox(text, shell.Title(), kQuestionBox) == IDYES;
}

int RecordingShell::MessageBox(const std::u16string& text, const std::u16string& caption,
                               uint32_t flags) {
    if (waitCursor) waitCursorOnAtMessage = true;
    events.push_back({Event::Message, text, caption, flags});
    if ((flags & MB_YESNO) == 0) return IDOK;
    if (answers.empty()) return IDNO;
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingShell::MessageBeep(uint32_t type) {
    events.push_back({Event::Beep, {}, {}, type});
}

void RecordingShell::SetWaitCursor(bool on) {
    waitCursor = on;
    events.push_back({on ? Event::WaitOn : Event::WaitOff, {}, {}, 0});
}

std::vector<std::u16string> RecordingShell::Messages() const {
    std::vector<std::u16string> texts;
    for (const Event& e : events) {
        if (e.kind == Event::Message) texts.push_back(e.text);
    }
    return texts;
}

}  // namespace qv
