// Shell services every part of the program uses: message boxes, the beep, the wait cursor.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace qv {

class Resources;

// Message box flags and answers, with the handheld's numbers.
constexpr uint32_t MB_OK = 0x00;
constexpr uint32_t MB_YESNO = 0x04;
constexpr uint32_t MB_ICONSTOP = 0x10;         // 16: errors after which the program cannot go on
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;  // 48: notices and most errors
constexpr uint32_t kNoticeBox = MB_OK | MB_ICONEXCLAMATION;       // 48
constexpr uint32_t kStopBox = MB_OK | MB_ICONSTOP;                // 16
constexpr uint32_t kQuestionBox = MB_YESNO | MB_ICONEXCLAMATION;  // 52
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr uint32_t MB_BEEP = 1;  // the beep of a missing entry

class Shell {
  public:
    // `resources` gives the caption of the program's messages; without it they carry the
    // program's name.
    explicit Shell(const Resources* resources = nullptr) : resources_(resources) {}
    virtual ~Shell() = default;
    // A box without owner window; returns IDOK, or IDYES / IDNO for a question.
    virtual int MessageBox(const std::u16string& text, const std::u16string& caption,
                           uint32_t flags) = 0;
    virtual void MessageBeep(uint32_t type) = 0;
    virtual void SetWaitCursor(bool on) = 0;

    // The caption of the program's messages: its title from the string table.
    std::u16string Title() const;

  protected:
    const Resources* resources_;
};

// The program's messages: caption always the program title. The wait cursor goes first.
void ShowNotice(Shell& shell, const std::u16string& text);  // exclamation icon, OK
void ShowStop(Shell& shell, const std::u16string& text);    // stop icon, OK
bool AskYesNo(Shell& shell, const std::u16string& text);    // only Yes proceeds

// Records what a person would have seen, for tests; questions take queued answers (No when
// none is left).
class RecordingShell : public Shell {
  public:
    struct Event {
        enum Kind { Message, Beep, WaitOn, WaitOff } kind;
        std::u16string text;
        std::u16string caption;
        uint32_t flags = 0;
        friend bool operator==(const Event&, const Event&) = default;
    };

    int MessageBox(const std::u16string& text, const std::u16string& caption,
                   uint32_t flags) override;
    void MessageBeep(uint32_t type) override;
    void SetWaitCursor(bool on) override;

    std::vector<Event> events;
    std::deque<int> answers;
    bool waitCursor = false;
    bool waitCursorOnAtMessage = false;  // set when a box came while the wait cursor showed

    std::vector<std::u16string> Messages() const;  // the texts of every box, in order
};

}  // namespace qv
