// Seeds a device folder with the program's own store operations.
#include "device_seed.h"

#include <sqlite3.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "app/program_resources.h"
#include "platform/registry/registry_hive.h"
#include "platform/ui/shell.h"
#include "store/categories_store.h"
#include "store/projects_store.h"
#include "store/record_store.h"
#include "tools/replay/script.h"

namespace qv {

using namespace qv::replay;

namespace {

bool Fail(int line, const std::string& text, std::string& why) {
    why = "seed line " + std::to_string(line) + ": " + text;
    return false;
}

// `file` holding exactly `bytes`.
bool WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

// A file under the device root, with the text's UTF-8 bytes as they are; its folders are made.
// A path that is absolute or climbs out of the root is refused.
bool WriteSeedFile(const std::filesystem::path& root, const std::string& relative,
                   const std::string& text) {
    const std::filesystem::path path = std::filesystem::path(relative).lexically_normal();
    if (relative.empty() || path.is_absolute() || path.empty() || *path.begin() == "..") {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories((root / path).parent_path(), error);
    return !error && WriteBytes(root / path, text);
}

// A number of decimal digits only (no sign, no other base), up to the largest value of T.
template <typename T>
std::optional<T> ParseDecimal(const std::string& text) {
    T value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || stop != end) return std::nullopt;
    return value;
}

// A SQLite database of another program in `file`: its own table and a row, none of ours.
bool WriteOtherDatabase(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr) == SQLITE_OK &&
              sqlite3_exec(db,
                           "CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT);"
                           "INSERT INTO notes (text) VALUES ('not a time record');",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    return sqlite3_close(db) == SQLITE_OK && ok;
}

// A size for a cut: decimal bytes, or "half" of the file's present size.
std::optional<std::uintmax_t> CutSize(const std::string& text, const std::filesystem::path& file) {
    if (text != "half") return ParseDecimal<std::uintmax_t>(text);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    return size / 2;
}

// A file cut to `size` bytes; never made longer.
bool CutFile(const std::filesystem::path& file, std::uintmax_t size) {
    std::error_code error;
    const std::uintmax_t now = std::filesystem::file_size(file, error);
    if (error || size > now) return false;
    std::filesystem::resize_file(file, size, error);
    return !error;
}

// The lines that break the files, applied once everything else is on the device and the store
// is closed.
bool BreakFiles(const DeviceFolders& folders, const std::vector<std::vector<Token>>& lines,
                std::string& why) {
    int number = 0;
    for (const auto& t : lines) {
        ++number;
        if (t.empty()) continue;
        const std::string& word = t[0].text;
        if ((word == "truncate-store" || word == "truncate-hive") && t.size() == 2) {
            const std::filesystem::path file =
                word == "truncate-store" ? folders.StoreFile() : folders.HiveFile();
            const std::optional<std::uintmax_t> size = CutSize(t[1].text, file);
            if (!size) return Fail(number, "not a size", why);
            if (!CutFile(file, *size)) return Fail(number, "the file cannot be cut", why);
        } else if (word == "hive-bytes" && t.size() == 2 && t[1].quoted) {
            if (!WriteBytes(folders.HiveFile(), t[1].text)) {
                return Fail(number, "the hive cannot be written", why);
            }
        }
    }
    return true;
}

bool IsBreaking(const std::vector<Token>& t) {
    return !t.empty() && (t[0].text == "truncate-store" || t[0].text == "truncate-hive" ||
                          t[0].text == "hive-bytes");
}

bool SeedStore(const DeviceFolders& folders, const std::vector<std::vector<Token>>& lines,
               std::string& why) {
    auto store = OpenObjectStoreFile(folders.StoreFile());
    if (!store) return Fail(0, "the store cannot be opened", why);
    RegistryHive hive(folders.HiveFile());
    AppState state;
    FixedClock clock(MakeDate(2005, 10, 29));
    StoreContext ctx{state, *store, clock};
    if (!OpenStore(ctx)) return Fail(0, "the store does not start", why);
    std::map<std::string, uint32_t> projectIds;
    for (ProjectRecord* p = state.projects.First(); p; p = state.projects.Next()) {
        projectIds[ToUtf8(*p->name)] = p->projectId;
    }

    int number = 0;
    for (const auto& t : lines) {
        ++number;
        if (t.empty() || t[0].text[0] == '#' || IsBreaking(t)) continue;
        const std::string& word = t[0].text;
        if (word == "clock" && t.size() == 3) {
            auto d = ParseDate(t[1].text);
            if (!d || !ParseTime(t[2].text, *d)) return Fail(number, "not a clock", why);
            clock.Set(*d);
        } else if (word == "project" && (t.size() == 3 || t.size() == 4)) {
            ProjectRecord p;
            p.name = FromUtf8(t[1].text);
            auto d = ParseDate(t[2].text);
            if (!d) return Fail(number, "not a date", why);
            SetDate(p, *d);
            p.description = t.size() == 4 ? FromUtf8(t[3].text) : u"";
            uint32_t id = 0;
            if (!AddProjectRecord(ctx, p, id)) return Fail(number, "project not stored", why);
            p.projectId = id;
            state.projects.Append(p);
            projectIds[t[1].text] = id;
        } else if (word == "record" && (t.size() == 5 || t.size() == 6)) {
            auto project = projectIds.find(t[1].text);
            auto d = ParseDate(t[2].text);
            if (project == projectIds.end() || !d) {
                return Fail(number, "unknown project or date", why);
            }
            TimeRecord r;
            r.projectId = project->second;
            SetDate(r, *d);
            SetMinutes(r, FromUtf8(t[3].text));
            SetCategory(r, FromUtf8(t[4].text));
            if (t.size() == 6) SetMemo(r, FromUtf8(t[5].text));
            uint32_t id = 0;
            if (!AddTimeRecord(ctx, r, id)) return Fail(number, "record not stored", why);
        } else if (word == "forget" && t.size() == 2) {
            // The project leaves the store and its records stay behind, as records of a
            // project that no longer exists.
            auto project = projectIds.find(t[1].text);
            if (project == projectIds.end()) return Fail(number, "unknown project", why);
            if (!DeleteProjectRecord(ctx, project->second)) {
                return Fail(number, "project not deleted", why);
            }
            projectIds.erase(project);
        } else if (word == "category" && t.size() == 2) {
            CategoryItem c;
            SetName(c, FromUtf8(t[1].text));
            state.categories.Add(c);
            if (!SaveCategories(ctx)) return Fail(number, "categories not stored", why);
        } else if ((word == "dword" || word == "sz") && t.size() == 4) {
            std::optional<uint32_t> dword;
            if (word == "dword" && !(dword = ParseDecimal<uint32_t>(t[3].text))) {
                return Fail(number, "not a number", why);
            }
            auto key = hive.CreateKey(FromUtf8(t[1].text));
            if (!key) return Fail(number, "no key", why);
            bool ok = dword ? hive.SetDwordValue(*key, FromUtf8(t[2].text), *dword)
                            : hive.SetStringValue(*key, FromUtf8(t[2].text), FromUtf8(t[3].text));
            hive.CloseKey(*key);
            if (!ok) return Fail(number, "value not stored", why);
        } else if (word == "file" && t.size() == 3) {
            if (!WriteSeedFile(folders.dataDir, t[1].text, t[2].text)) {
                return Fail(number, "file not written", why);
            }
        } else {
            return Fail(number, "not a seed line", why);
        }
    }
    return true;
}

}  // namespace

bool SeedDevice(const DeviceFolders& folders, std::istream& seed, std::string& why) {
    folders.Provision();
    ProvisionHelpFiles(folders.WindowsDir());
    std::vector<std::vector<Token>> lines;
    for (std::string text; std::getline(seed, text);) {
        auto t = Tokenize(text);
        if (!t) return Fail(static_cast<int>(lines.size() + 1), "a text is not closed", why);
        lines.push_back(*t);
    }

    // The broken store comes first: nothing else would open it.
    for (const auto& t : lines) {
        if (!t.empty() && t[0].text == "garbage") {
            WriteBytes(folders.StoreFile(), "this is not a store at all");
            return true;
        }
        if (!t.empty() && t[0].text == "sqlite-other") {
            if (!WriteOtherDatabase(folders.StoreFile())) {
                return Fail(0, "the other database cannot be made", why);
            }
            return true;
        }
    }
    // The store is closed (its log folded into the file) before the files are broken.
    return SeedStore(folders, lines, why) && BreakFiles(folders, lines, why);
}

}  // namespace qv
