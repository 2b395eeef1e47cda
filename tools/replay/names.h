// Controls and menu commands by name as well as by number: "RegisterTime.Ok" is the control
// kRegisterTimeOk of Register Time's control list, "ProjectBar.List" the main list, "CmdNew"
// the command kCmdNew. The names are read from the program's own identifier lists when the
// tool is built (control_names.py), so every constant there has its name here.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace qv::replay {

struct NamedId {
    std::string_view name;
    int id;
};

std::span<const NamedId> ControlNames();
std::span<const NamedId> CommandNames();

// The identifier of a name; none for a name that is no constant's.
std::optional<int> ControlId(std::string_view name);
std::optional<int> CommandId(std::string_view name);

}  // namespace qv::replay
