// The resources of res/ handed to the hosts.
#include "app/program_resources.h"

#include "platform/files/missing_files.h"
#include "res/embedded.h"
#include "res/string_table.h"
#include "res/templates.h"

namespace qv {
namespace {

static_assert(kTitleStringId == kStrTitle);

class ResTables : public Resources {
  public:
    const DialogTemplate* Template(int id) const override { return FindDialogTemplate(id); }
    std::optional<std::u16string> String(uint32_t id) const override { return LoadString(id); }
    std::optional<std::string_view> File(std::string_view name) const override {
        const EmbeddedFile* file = FindEmbedded(name);
        if (file == nullptr) return std::nullopt;
        return std::string_view(reinterpret_cast<const char*>(file->data), file->size);
    }
};

}  // namespace

const Resources& ProgramResources() {
    static const ResTables tables;
    return tables;
}

bool ProvisionHelpFiles(const std::filesystem::path& windowsDir) {
    const Resources& res = ProgramResources();
    const FileContent pages[] = {{"enquorvella.htm", res.File("enquorvella.htm").value_or("")},
                                 {"enquorvella.htc", res.File("enquorvella.htc").value_or("")}};
    return WriteMissingFiles(windowsDir, pages);
}

}  // namespace qv
