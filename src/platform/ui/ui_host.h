// The host of the window system: runs the main window and modal dialogs and provides the
// shell's services. The program reaches the screen, the user and the device only through it.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/calendar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/main_frame.h"
#include "platform/ui/resources.h"
#include "platform/ui/shell.h"
#include "platform/ui/ui_types.h"

namespace qv {

// The portrait screen; every other size is landscape.
constexpr Size kPortraitScreen{240, 320};
// The shell's strips above and below the work area.
constexpr int kTaskBarHeight = 26;
constexpr int kMenuBarHeight = 26;

class UiHost : public Shell {
  public:
    // The host shows the dialogs, texts and images of `resources`.
    explicit UiHost(const Resources& resources) : Shell(&resources) {}
    const Resources& GetResources() const { return *resources_; }

    // Runs the dialog of template `templateId` modally with `behaviour` and returns its result;
    // -1 when there is no such template. Dialogs nest.
    virtual int RunDialog(int templateId, DialogBehaviour& behaviour) = 0;
    // Creates the modeless child dialog of template `templateId` inside the main window and
    // initialises it; null when it cannot be created.
    virtual Dialog* CreateChildDialog(MainFrame& frame, int templateId,
                                      DialogBehaviour& behaviour) = 0;
    // Runs the main window: creation, then the message loop until the quit message, whose code
    // it returns.
    virtual int RunMainWindow(MainFrame& frame, MainWindowBehaviour& behaviour) = 0;

    // Shell services beyond message box, beep and wait cursor (Shell).
    virtual void SetInputPanel(bool on) = 0;
    virtual void StartHelp(std::u16string_view commandLine) = 0;   // does not wait
    virtual void PlaySoundResource(std::u16string_view name) = 0;  // asynchronous
    virtual Size ScreenSize() const = 0;
    // The main window's client area. The window is made at the screen's top left corner, so
    // the task bar covers its first rows (the project bar starts below them), and it reaches
    // down to the menu bar.
    virtual Size MainClientSize() const {
        Size s = ScreenSize();
        return {s.width, s.height - kMenuBarHeight};
    }
    virtual int PixelsPerInchY() const { return 96; }
    virtual const Clock& GetClock() const = 0;
    // Asks for the window to be painted again (the project bar after its balance changed).
    virtual void Repaint(Dialog& dialog) = 0;
    // The order the program shows dates in: month before day, or day first. Date pickers
    // opened afterwards show and read dates in it.
    virtual void SetMonthFirst(bool) {}
};

}  // namespace qv
