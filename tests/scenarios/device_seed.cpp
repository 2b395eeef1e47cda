// Seeds a device folder with the program's own store operations.
#include "device_seed.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "app/program_resources.h"
#include "platform/registry/registry_hive.h"
#include "platform/ui/shell.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "tools/replay/script.h"

namespace qv {

using namespace qv::replay;
namespace fs = std::filesystem;

namespace {

// A file under the device root holding the text's UTF-8 bytes; its folders are made. A path
// that is absolute or climbs out of the root is refused.
bool WriteSeedFile(const fs::path& root, const std::string& relative, const std::string& text) {
    const fs::path path = fs::path(relative).lexically_normal();
    std::error_code error;
    if (relative.empty() || path.is_absolute() || path.empty() || *path.begin() == "..") {
        return false;
    }
    fs::create_directories((root / path).parent_path(), error);
    std::ofstream out(root / path, std::ios::binary | std::ios::trunc);
    return !error && (out << text).flush();
}

// The file cut to `size` bytes, decimal or "half" its present size; never made longer.
bool CutFile(const fs::path& file, const std::string& size) {
    std::error_code error;
    const std::uintmax_t now = fs::file_size(file, error);
    const std::optional<int> bytes = size == "half" ? static_cast<int>(now / 2) : ParseNumber(size);
    if (error || !bytes || static_cast<std::uintmax_t>(*bytes) > now) return false;
    fs::resize_file(file, *bytes, error);
    return !error;
}

bool IsCut(const std::vector<Token>& t) {
    return t.size() == 2 && (t[0].text == "truncate-store" || t[0].text == "truncate-hive");
}

}  // namespace

bool SeedDevice(const DeviceFolders& folders, std::istream& seed, std::string& why) {
    folders.Provision();
    ProvisionHelpFiles(folders.WindowsDir());
    auto fail = [&](size_t line, const std::string& text) {
        why = "seed line " + std::to_string(line) + ": " + text;
        return false;
    };
    std::vector<std::vector<Token>> lines;
    for (std::string text; std::getline(seed, text);) {
        auto t = Tokenize(text);
        if (!t) return fail(lines.size() + 1, "a text is not closed");
        if (!t->empty() && t->front().text[0] == '#') t->clear();
        lines.push_back(*t);
    }
    if (auto store = OpenObjectStoreFile(folders.StoreFile()); !store) {
        return fail(0, "the store cannot be opened");
    } else {
        RegistryHive hive(folders.HiveFile());
        AppState state;
        FixedClock clock(MakeDate(2005, 10, 29));
        StoreContext ctx{state, *store, clock};
        if (!OpenStore(ctx)) return fail(0, "the store does not start");
        std::map<std::string, uint32_t> projects;
        for (ProjectRecord* p = state.projects.First(); p; p = state.projects.Next()) {
            projects[ToUtf8(*p->name)] = p->projectId;
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            const auto& t = lines[i];
            const size_t n = t.size();
            const std::string word = n ? t[0].text : "";
            uint32_t id = 0;
            if (n == 0 || IsCut(t)) continue;
            if (word == "clock" && n == 3) {
                auto d = ParseDate(t[1].text);
                if (!d || !ParseTime(t[2].text, *d)) return fail(i + 1, "not a clock");
                clock.Set(*d);
            } else if (word == "project" && (n == 3 || n == 4)) {
                ProjectRecord p;
                p.name = FromUtf8(t[1].text);
                auto d = ParseDate(t[2].text);
                if (!d) return fail(i + 1, "not a date");
                SetDate(p, *d);
                p.description = n == 4 ? FromUtf8(t[3].text) : u"";
                if (!AddProjectRecord(ctx, p, id)) return fail(i + 1, "project not stored");
                p.projectId = projects[t[1].text] = id;
                state.projects.Append(p);
            } else if (word == "record" && (n == 5 || n == 6)) {
                auto project = projects.find(t[1].text);
                auto d = ParseDate(t[2].text);
                if (project == projects.end() || !d) return fail(i + 1, "unknown project or date");
                TimeRecord r;
                r.projectId = project->second;
                SetDate(r, *d);
                SetMinutes(r, FromUtf8(t[3].text));
                SetCategory(r, FromUtf8(t[4].text));
                if (n == 6) SetMemo(r, FromUtf8(t[5].text));
                if (!AddTimeRecord(ctx, r, id)) return fail(i + 1, "record not stored");
            } else if (word == "forget" && n == 2) {
                // The project leaves the store; its records stay, of a project no longer there.
                auto project = projects.find(t[1].text);
                if (project == projects.end()) return fail(i + 1, "unknown project");
                if (!DeleteProjectRecord(ctx, project->second)) {
                    return fail(i + 1, "project not deleted");
                }
                projects.erase(project);
            } else if (word == "category" && n == 2) {
                CategoryItem c;
                SetName(c, FromUtf8(t[1].text));
                state.categories.Add(c);
                if (!SaveCategories(ctx)) return fail(i + 1, "categories not stored");
            } else if ((word == "dword" || word == "sz") && n == 4) {
                const std::optional<int> dword = ParseNumber(t[3].text);
                if (word == "dword" && !dword) return fail(i + 1, "not a number");
                auto key = hive.CreateKey(FromUtf8(t[1].text));
                if (!key) return fail(i + 1, "no key");
                const std::u16string name = FromUtf8(t[2].text);
                const bool ok = word == "dword"
                                    ? hive.SetDwordValue(*key, name, *dword)
                                    : hive.SetStringValue(*key, name, FromUtf8(t[3].text));
                hive.CloseKey(*key);
                if (!ok) return fail(i + 1, "value not stored");
            } else if (word != "file" || n != 3) {
                return fail(i + 1, "not a seed line");
            } else if (!WriteSeedFile(folders.dataDir, t[1].text, t[2].text)) {
                return fail(i + 1, "file not written");
            }
        }
    }
    // The store is closed (its log folded into the file) before the files are cut.
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& t = lines[i];
        if (IsCut(t) &&
            !CutFile(t[0].text == "truncate-store" ? folders.StoreFile() : folders.HiveFile(),
                     t[1].text)) {
            return fail(i + 1, "the file cannot be cut");
        }
    }
    return true;
}

}  // namespace qv
