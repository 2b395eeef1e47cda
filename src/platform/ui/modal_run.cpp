// The modal run both hosts share.
#include "platform/ui/modal_run.h"

#include <utility>

namespace qv {
namespace {

// Undoes a step when the scope ends, also when a kill unwinds it.
template <typename F>
struct AtExit {
    F undo;
    ~AtExit() { undo(); }
};
template <typename F>
AtExit(F) -> AtExit<F>;

}  // namespace

int RunModal(const Resources& resources, int templateId, DialogBehaviour& behaviour,
             ModalSteps& steps, const Dialog*& initialising) {
    const DialogTemplate* source = resources.Template(templateId);
    if (source == nullptr) return -1;
    Dialog d(*source);
    d.SetBehaviour(&behaviour);
    steps.Report(HostEvent::Opened(templateId, std::u16string(source->caption)));
    {
        steps.ShowModal(d);
        AtExit hide{[&] { steps.HideModal(d); }};
        if ((source->frameFlags & kFrameInputPanelDown) != 0) steps.LowerInputPanel();
        {
            AtExit restore{[&, old = std::exchange(initialising, &d)] { initialising = old; }};
            behaviour.OnInit(d);
        }
        if (!d.Ended()) behaviour.OnSize(d, steps.Landscape());
        if (!d.Ended()) behaviour.OnActivate(d);
        steps.Settled(d);
        while (!d.Ended()) steps.WaitForUser();
    }
    steps.Report(HostEvent::Ended(templateId, d.Result()));
    steps.ActivateTop();
    return d.Result();
}

}  // namespace qv
