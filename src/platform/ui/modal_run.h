// Running a modal dialog, the same on every host: the dialog is made from its template, shows,
// is initialised, sized and activated, and the host waits for the user until it ends. Then it
// goes, the window below it is active again, and its result comes back.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/host_events.h"
#include "platform/ui/resources.h"

namespace qv {

// What a host does its own way while a modal dialog runs.
class ModalSteps {
  public:
    // The dialog joins the open ones, on top, and shows.
    virtual void ShowModal(Dialog& d) = 0;
    // It leaves them again; also when a kill unwinds the loop.
    virtual void HideModal(Dialog& d) = 0;
    virtual void LowerInputPanel() = 0;
    // Initialised and activated, before the first wait.
    virtual void Settled(Dialog&) {}
    // Waits for the user once and carries out what they did.
    virtual void WaitForUser() = 0;
    virtual void Report(const HostEvent& event) = 0;
    virtual bool Landscape() const = 0;
    // Activates the window on top once the dialog has gone.
    virtual void ActivateTop() = 0;

  protected:
    ~ModalSteps() = default;
};

// Runs dialog `templateId` with `behaviour` and returns its result; -1 when there is no such
// template. `initialising` points at the dialog while its initialisation runs (one not shown
// yet is never activated) and is given back its value afterwards, as dialogs nest.
int RunModal(const Resources& resources, int templateId, DialogBehaviour& behaviour,
             ModalSteps& steps, const Dialog*& initialising);

}  // namespace qv
