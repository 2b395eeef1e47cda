// A headless host fed from a script of actions, where a step may instead look at the host (a
// "show" line of a replay script); it keeps the transcript lines and the refusals. It shows the
// dialogs of the resources `Use` returns: the program's for ScriptedHost.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <variant>

#include "app/program_resources.h"
#include "platform/headless/headless_host.h"
#include "tools/replay/transcript.h"

namespace qv::test {

template <const Resources& (*Use)()>
struct ScriptedHostOn : ::testing::Test {
    using A = HeadlessAction;
    FixedClock clock{MakeDate(2005, 10, 29)};
    std::deque<std::variant<A, std::function<void()>>> steps;
    std::vector<std::string> events;
    std::vector<std::string> errors;
    HeadlessHost host{Use(), clock, [this] { return Next(); },
                      [this](const HostEvent& e) { events.push_back(replay::EventLine(e)); },
                      [this](const std::string& line) { errors.push_back(line); }};

    void Add(A action) { steps.emplace_back(std::move(action)); }
    void Look(std::function<void()> look) { steps.emplace_back(std::move(look)); }
    std::optional<A> Next() {
        while (!steps.empty()) {
            auto step = std::move(steps.front());
            steps.pop_front();
            if (auto* action = std::get_if<A>(&step)) return *action;
            std::get<std::function<void()>>(step)();
        }
        return std::nullopt;
    }
};

using ScriptedHost = ScriptedHostOn<&ProgramResources>;

}  // namespace qv::test
