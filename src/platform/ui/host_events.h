// What a person notices of the program beyond the controls of its windows: a dialog opening
// or ending, a message, a question, a beep, a sound, the help viewer. Every host reports these
// the same way, so a script prints the same transcript under each.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace qv {

struct HostEvent {
    enum class Kind {
        Open,      // templateId, text: the caption
        End,       // templateId, result
        Message,   // text, flags: an OK box
        Question,  // text: a Yes/No box
        Beep,
        Sound,  // text: the sound resource
        Help,   // text: the help viewer's command line
    };
    Kind kind = Kind::Beep;
    int templateId = 0;
    int result = 0;
    std::u16string text;
    uint32_t flags = 0;

    static HostEvent Of(Kind kind, std::u16string text = {}) {
        HostEvent e;
        e.kind = kind;
        e.text = std::move(text);
        return e;
    }
    static HostEvent Opened(int templateId, std::u16string caption) {
        HostEvent e = Of(Kind::Open, std::move(caption));
        e.templateId = templateId;
        return e;
    }
    static HostEvent Ended(int templateId, int result) {
        HostEvent e = Of(Kind::End);
        e.templateId = templateId;
        e.result = result;
        return e;
    }
    static HostEvent Box(Kind kind, std::u16string text, uint32_t flags) {
        HostEvent e = Of(kind, std::move(text));
        e.flags = flags;
        return e;
    }
};

using HostEventSink = std::function<void(const HostEvent&)>;

}  // namespace qv
