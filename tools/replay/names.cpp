#include "tools/replay/names.h"

#include "control_names.inc"

namespace qv::replay {
namespace {

std::optional<int> Lookup(std::span<const NamedId> table, std::string_view name) {
    for (const NamedId& n : table) {
        if (n.name == name) return n.id;
    }
    return std::nullopt;
}

}  // namespace

std::span<const NamedId> ControlNames() {
    return kControlNames;
}

std::span<const NamedId> CommandNames() {
    return kCommandNames;
}

std::optional<int> ControlId(std::string_view name) {
    return Lookup(kControlNames, name);
}

std::optional<int> CommandId(std::string_view name) {
    return Lookup(kCommandNames, name);
}

}  // namespace qv::replay
