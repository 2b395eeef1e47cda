// The headless host: the modal loops ask the owner for actions and hand each to the input
// layer; everything a person would notice becomes a host event.
#include "platform/headless/headless_host.h"

#include <utility>

#include "platform/ui/modal_run.h"
#include "platform/ui/user_input.h"

namespace qv {
namespace {

// Restores a value when a scope ends, also when a kill unwinds it.
template <typename T>
class Restore {
  public:
    Restore(T& target, T value) : target_(target), old_(std::exchange(target, std::move(value))) {}
    ~Restore() { target_ = std::move(old_); }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

  private:
    T& target_;
    T old_;
};

bool IsQuestion(uint32_t flags) {
    return (flags & 0x0F) == MB_YESNO;
}

// One gesture of the input layer on a dialog for a window action.
input::Refusal Gesture(Dialog& d, const UserAction& a) {
    using K = UserAction::Kind;
    switch (a.kind) {
        case K::Click:
            return input::Click(d, a.id);
        case K::Type:
            return input::Type(d, a.id, a.text);
        case K::Choose:
        case K::Project:
            return input::Choose(d, a.id, a.text);
        case K::Check:
        case K::Uncheck:
            return input::SetChecked(d, a.id, a.kind == K::Check);
        case K::Date:
            return input::PickDate(d, a.id, a.date);
        case K::Tap:
            return input::TapRow(d, a.id, a.index);
        case K::Enter:
            return input::EnterRow(d, a.id, a.index);
        case K::Header:
            return input::TapHeader(d, a.id, a.index);
        default:
            return std::string("not an action on a window");
    }
}

}  // namespace

HeadlessHost::HeadlessHost(const Resources& resources, const Clock& clock, ActionSource source,
                           HostEventSink events, LineSink errors)
    : UiHost(resources),
      clock_(clock),
      source_(std::move(source)),
      events_(std::move(events)),
      errors_(std::move(errors)) {}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::Emit(HostEvent event) {
    if (events_) events_(event);
}

void HeadlessHost::Refuse(const UserAction& action, std::string_view why) {
    if (errors_) errors_(DescribeAction(action) + ": " + std::string(why));
}

UserAction HeadlessHost::NextAction() {
    std::optional<UserAction> action = source_ ? source_() : std::nullopt;
    if (!action || action->kind == UserAction::Kind::Kill) throw HeadlessKill{};
    return std::move(*action);
}

int HeadlessHost::MessageBox(const std::u16string& text, const std::u16string& /*caption*/,
                             uint32_t flags) {
    // The program takes the wait cursor away before it says anything.
    if (waitCursor_ && errors_) errors_("a message box came while the wait cursor was on");
    int answer = IDOK;
    if (IsQuestion(flags)) {
        Emit(HostEvent::Box(HostEvent::Kind::Question, text, flags));
        for (;;) {
            UserAction a = NextAction();
            if (a.kind == UserAction::Kind::Answer) {
                answer = a.yes ? IDYES : IDNO;
                break;
            }
            Refuse(a, "the question needs an answer yes or no");
        }
    } else {
        Emit(HostEvent::Box(HostEvent::Kind::Message, text, flags));
    }
    // The box had the focus; the window below it is active again.
    ActivateTop();
    return answer;
}

void HeadlessHost::MessageBeep(uint32_t /*type*/) {
    Emit(HostEvent::Of(HostEvent::Kind::Beep));
}

void HeadlessHost::StartHelp(std::u16string_view commandLine) {
    Emit(HostEvent::Of(HostEvent::Kind::Help, std::u16string(commandLine)));
}

void HeadlessHost::PlaySoundResource(std::u16string_view name) {
    Emit(HostEvent::Of(HostEvent::Kind::Sound, std::u16string(name)));
}

Dialog* HeadlessHost::TopWindow() const {
    if (!dialogs_.empty()) return dialogs_.back();
    if (main_ != nullptr) return main_->Child();
    return nullptr;
}

void HeadlessHost::ActivateTop() {
    if (!dialogs_.empty()) {
        Dialog* d = dialogs_.back();
        // A dialog being initialised is not shown yet and cannot be activated.
        if (d != initialising_ && !d->Ended() && d->Behaviour() != nullptr) {
            d->Behaviour()->OnActivate(*d);
        }
    } else if (main_ != nullptr && mainCreated_ && !main_->IsDestroyed() &&
               main_->Behaviour() != nullptr) {
        main_->Behaviour()->OnActivate(*main_);
    }
}

int HeadlessHost::RunDialog(int templateId, DialogBehaviour& behaviour) {
    struct Steps : ModalSteps {
        HeadlessHost& host;
        explicit Steps(HeadlessHost& h) : host(h) {}
        void ShowModal(Dialog& d) override { host.dialogs_.push_back(&d); }
        void HideModal(Dialog&) override { host.dialogs_.pop_back(); }
        void LowerInputPanel() override { host.inputPanel_ = false; }
        void WaitForUser() override { host.Apply(host.NextAction()); }
        void Report(const HostEvent& event) override { host.Emit(event); }
        bool Landscape() const override { return host.screen_ != kPortraitScreen; }
        void ActivateTop() override { host.ActivateTop(); }
    } steps(*this);
    return RunModal(GetResources(), templateId, behaviour, steps, initialising_);
}

Dialog* HeadlessHost::CreateChildDialog(MainFrame& frame, int templateId,
                                        DialogBehaviour& behaviour) {
    const DialogTemplate* source = GetResources().Template(templateId);
    if (source == nullptr) return nullptr;
    auto d = std::make_unique<Dialog>(*source);
    Dialog* child = d.get();
    child->SetBehaviour(&behaviour);
    Size area = MainClientSize();
    child->SetWindowRect({0, 0, area.width, area.height});
    frame.AttachChild(std::move(d), behaviour);
    behaviour.OnInit(*child);
    return frame.Child() == child ? child : nullptr;
}

int HeadlessHost::RunMainWindow(MainFrame& frame, MainWindowBehaviour& behaviour) {
    Restore<MainFrame*> running(main_, &frame);
    Restore<bool> created(mainCreated_, false);
    frame.SetBehaviour(&behaviour);
    behaviour.OnCreate(frame);
    mainCreated_ = true;
    if (!frame.IsDestroyed()) behaviour.OnActivate(frame);
    while (!frame.QuitPosted()) {
        if (frame.TakeCloseRequest()) {
            behaviour.OnClose(frame);
            continue;
        }
        // A destroyed window without a quit message would leave the loop waiting forever.
        if (frame.IsDestroyed()) break;
        Apply(NextAction());
    }
    frame.SetBehaviour(nullptr);
    return frame.QuitCode();
}

bool HeadlessHost::Apply(const UserAction& a) {
    using K = UserAction::Kind;
    switch (a.kind) {
        case K::Answer:
            Refuse(a, "no question is open");
            return false;
        case K::Screen:
            if (a.screen.width <= 0 || a.screen.height <= 0) {
                Refuse(a, "not a screen size");
                return false;
            }
            screen_ = a.screen;
            input::ChangeScreen(main_, dialogs_, screen_ != kPortraitScreen);
            return true;
        case K::Close:
            // The shell's close request reaches the main window also under a dialog: the open
            // dialogs end as cancelled, and the exit steps run once the main window has control.
            if (main_ == nullptr || main_->IsDestroyed()) {
                Refuse(a, "the main window is not open");
                return false;
            }
            input::Close(main_, dialogs_);
            return true;
        case K::Command:
        case K::Project:
            if (!dialogs_.empty()) {
                Refuse(a, "a dialog is open");
                return false;
            }
            return ApplyToMain(a);
        case K::Help:
            input::Help(TopDialog(), main_);
            return true;
        default:
            break;
    }
    Dialog* window = TopWindow();
    if (window == nullptr) {
        Refuse(a, "no window is open");
        return false;
    }
    if (window->Behaviour() == nullptr) return false;
    if (input::Refusal why = Gesture(*window, a)) {
        Refuse(a, *why);
        return false;
    }
    return true;
}

bool HeadlessHost::ApplyToMain(const UserAction& a) {
    if (main_ == nullptr || main_->IsDestroyed()) {
        Refuse(a, "the main window is not open");
        return false;
    }
    input::Refusal why;
    if (a.kind == UserAction::Kind::Command) {
        why = input::Command(*main_, a.id);
    } else if (Dialog* child = main_->Child()) {
        why = Gesture(*child, a);
    } else {
        why = "missing";
    }
    if (why) Refuse(a, *why);
    return !why;
}

}  // namespace qv
