// What the program hands its hosts and its shell: the dialog templates, the string table and
// the files built into it. The hosts know nothing else of the program's resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/ui_types.h"

namespace qv {

// The string the shell's message boxes carry as their caption: the program's title.
constexpr uint32_t kTitleStringId = 1;

class Resources {
  public:
    virtual ~Resources() = default;
    // The dialog template with this resource number, or null.
    virtual const DialogTemplate* Template(int id) const = 0;
    // The text of string `id`, or none when the table has no such string.
    virtual std::optional<std::u16string> String(uint32_t id) const = 0;
    // The bytes of the built-in file of this name ("bitmap106.png", "IDW_TIME_ADDED.wav"), or
    // none.
    virtual std::optional<std::string_view> File(std::string_view name) const = 0;
};

}  // namespace qv
