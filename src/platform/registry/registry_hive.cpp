// The registry hive file: reading, atomic saving, and the calls the settings make.
#include "platform/registry/registry_hive.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sstream>
#include <system_error>

#include "platform/files/small_file.h"

namespace qv {

namespace {

constexpr char kHeader[] = "quorvella-hive 1";

// Key and value names match regardless of ASCII case, as in the handheld's registry.
std::u16string Fold(const std::u16string& name) {
    std::u16string folded = name;
    for (char16_t& c : folded) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return folded;
}

// A key path is one or more non-empty components separated by single backslashes.
bool IsValidKeyPath(const std::u16string& path) {
    if (path.empty() || path.front() == u'\\' || path.back() == u'\\') return false;
    if (path.find(u"\\\\") != std::u16string::npos) return false;
    return path.find(u'\0') == std::u16string::npos;
}

// Parents sort before their children: the separator orders below every other code unit.
std::u16string PathSortKey(const std::u16string& path) {
    std::u16string key = path;
    std::replace(key.begin(), key.end(), u'\\', u'\0');
    return key;
}

void AppendLittleEndian16(std::vector<uint8_t>& out, char16_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<uint32_t> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::string QuoteHiveText(const std::u16string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c <= 0x7E) {
            out += static_cast<char>(c);
        } else {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        }
    }
    out += '"';
    return out;
}

std::optional<std::u16string> UnquoteHiveText(const std::string& line, size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::u16string text;
    size_t i = pos + 1;
    while (i < line.size()) {
        char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return text;
        }
        if (c == '\\') {
            if (i + 1 >= line.size()) return std::nullopt;
            char e = line[i + 1];
            if (e == '"' || e == '\\') {
                text += static_cast<char16_t>(e);
                i += 2;
            } else if (e == 'u' && i + 6 <= line.size()) {
                unsigned value = 0;
                for (size_t k = i + 2; k < i + 6; ++k) {
                    int h = HexValue(line[k]);
                    if (h < 0) return std::nullopt;
                    value = value * 16 + static_cast<unsigned>(h);
                }
                text += static_cast<char16_t>(value);
                i += 6;
            } else {
                return std::nullopt;
            }
        } else if (c >= 0x20 && c <= 0x7E) {
            text += static_cast<char16_t>(c);
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;  // no closing quote
}

}  // namespace

RegistryHive::RegistryHive(std::filesystem::path file) : RegistryHive(std::move(file), true) {}

RegistryHive::RegistryHive(std::filesystem::path file, bool tidy)
    : file_(std::move(file)), writer_(file_) {
    // A save cut short by a crash leaves its temporary behind; nothing else ever removes it.
    if (tidy) writer_.RemoveStaleTemporaries();
    // Opened without waiting, so a pipe under the name cannot hold the start; a hive is
    // kilobytes, so a huge file is a wrong file, not one to take in whole.
    SmallFileRead read = ReadSmallRegularFile(file_, kMaxHiveBytes);
    using Outcome = SmallFileRead::Outcome;
    if (read.outcome == Outcome::Missing) return;
    if (read.outcome != Outcome::Read) {
        if (read.outcome == Outcome::NotRegular) {
            notRegular_ = true;
        } else {
            loadedCorrupt_ = true;
        }
        if (tidy) {
            std::fprintf(stderr, "quorvella: the settings file %s is %s; the defaults are used\n",
                         file_.c_str(), read.reason.c_str());
            std::fflush(stderr);
        }
        return;
    }
    const std::string& content = read.content;

    // Any flaw makes the whole file read as an empty hive: half a hive is worse than none.
    Keys keys;
    Key* current = nullptr;
    bool sawHeader = false;
    bool sawEnd = false;
    bool ok = true;
    std::istringstream lines(content);
    std::string line;
    while (ok && std::getline(lines, line)) {
        if (sawEnd) {
            ok = false;
        } else if (!sawHeader) {
            ok = line == kHeader;
            sawHeader = true;
        } else if (line == "end") {
            sawEnd = true;
        } else if (line.rfind("key ", 0) == 0) {
            size_t pos = 4;
            auto path = UnquoteHiveText(line, pos);
            ok = path && pos == line.size() && IsValidKeyPath(*path);
            if (ok) {
                // A key's parent is listed before it, so every prefix is already present.
                size_t cut = path->rfind(u'\\');
                if (cut != std::u16string::npos && !keys.count(Fold(path->substr(0, cut)))) {
                    ok = false;
                } else {
                    auto [it, inserted] = keys.emplace(Fold(*path), Key{*path, {}});
                    ok = inserted;
                    current = &it->second;
                }
            }
        } else if (line.rfind("value ", 0) == 0 && current != nullptr) {
            size_t pos = 6;
            auto name = UnquoteHiveText(line, pos);
            HiveValue value;
            if (!name) {
                ok = false;
            } else if (line.compare(pos, 7, " dword ") == 0) {
                auto number = ParseNumber(line.substr(pos + 7));
                ok = number.has_value();
                value.type = REG_DWORD;
                value.number = number.value_or(0);
            } else if (line.compare(pos, 4, " sz ") == 0) {
                pos += 4;
                auto text = UnquoteHiveText(line, pos);
                ok = text && pos == line.size();
                value.type = REG_SZ;
                value.text = text.value_or(u"");
            } else {
                ok = false;
            }
            if (ok) {
                value.name = *name;
                ok = current->values.emplace(Fold(*name), std::move(value)).second;
            }
        } else {
            ok = false;
        }
    }
    if (!ok || !sawEnd) {
        loadedCorrupt_ = true;
        return;
    }
    keys_ = std::move(keys);
}

std::optional<RegistryKey> RegistryHive::OpenKey(const std::u16string& path) {
    if (!IsValidKeyPath(path)) return std::nullopt;
    std::u16string folded = Fold(path);
    if (!keys_.count(folded)) return std::nullopt;
    RegistryKey handle = nextHandle_++;
    open_[handle] = folded;
    return handle;
}

std::optional<RegistryKey> RegistryHive::CreateKey(const std::u16string& path) {
    if (!IsValidKeyPath(path)) return std::nullopt;
    std::u16string folded = Fold(path);
    if (!keys_.count(folded)) {
        // Missing parents are made too; existing ones keep the case they were made with.
        bool made = Change([&](Keys& keys) {
            for (size_t cut = path.find(u'\\');; cut = path.find(u'\\', cut + 1)) {
                std::u16string prefix = path.substr(0, cut);
                keys.emplace(Fold(prefix), Key{prefix, {}});
                if (cut == std::u16string::npos) break;
            }
        });
        if (!made) return std::nullopt;
    }
    RegistryKey handle = nextHandle_++;
    open_[handle] = folded;
    return handle;
}

std::optional<RegistryValue> RegistryHive::QueryValue(RegistryKey key, const std::u16string& name,
                                                      uint32_t maxBytes) {
    const Key* k = OpenedKey(key);
    if (k == nullptr) return std::nullopt;
    auto it = k->values.find(Fold(name));
    if (it == k->values.end()) return std::nullopt;
    const HiveValue& v = it->second;
    RegistryValue result;
    result.type = v.type;
    if (v.type == REG_DWORD) {
        for (int shift = 0; shift < 32; shift += 8) {
            result.data.push_back(static_cast<uint8_t>((v.number >> shift) & 0xFF));
        }
    } else {
        for (char16_t c : v.text) AppendLittleEndian16(result.data, c);
        AppendLittleEndian16(result.data, 0);
    }
    // The caller's buffer is too small: the call fails as with ERROR_MORE_DATA.
    if (result.data.size() > maxBytes) return std::nullopt;
    return result;
}

const RegistryHive::Key* RegistryHive::OpenedKey(RegistryKey key) const {
    auto handle = open_.find(key);
    if (handle == open_.end()) return nullptr;
    // A key made inside a group that was then dropped is gone, though its handle is open.
    auto it = keys_.find(handle->second);
    return it == keys_.end() ? nullptr : &it->second;
}

bool RegistryHive::Change(const std::function<void(Keys&)>& edit) {
    if (groupDepth_ > 0) {
        edit(keys_);
        groupChanged_ = true;
        return true;
    }
    Keys changed = keys_;
    edit(changed);
    if (!Save(changed)) return false;
    keys_ = std::move(changed);
    return true;
}

bool RegistryHive::SetValue(RegistryKey key, HiveValue value) {
    if (OpenedKey(key) == nullptr) return false;
    const std::u16string& path = open_.at(key);
    return Change([&](Keys& keys) {
        auto& values = keys.at(path).values;
        std::u16string folded = Fold(value.name);
        auto existing = values.find(folded);
        if (existing != values.end()) value.name = existing->second.name;  // keeps its case
        values[folded] = std::move(value);
    });
}

bool RegistryHive::SetDwordValue(RegistryKey key, const std::u16string& name, uint32_t number) {
    HiveValue value;
    value.name = name;
    value.type = REG_DWORD;
    value.number = number;
    return SetValue(key, std::move(value));
}

bool RegistryHive::SetStringValue(RegistryKey key, const std::u16string& name,
                                  const std::u16string& text) {
    HiveValue value;
    value.name = name;
    value.type = REG_SZ;
    value.text = text;
    return SetValue(key, std::move(value));
}

bool RegistryHive::CloseKey(RegistryKey key) {
    return open_.erase(key) == 1;
}

void RegistryHive::BeginChanges() {
    if (groupDepth_++ > 0) return;
    groupStart_ = keys_;
    groupChanged_ = false;
}

bool RegistryHive::CommitChanges() {
    if (groupDepth_ == 0) return false;
    if (--groupDepth_ > 0) return true;
    const bool changed = groupChanged_;
    groupChanged_ = false;
    if (!changed || Save(keys_)) {
        groupStart_.clear();
        return true;
    }
    // Not one of the group's changes is kept: memory goes back to what the file holds.
    keys_ = std::move(groupStart_);
    groupStart_.clear();
    return false;
}

namespace {

std::vector<HiveKeyListing> ListKeys(const std::map<std::u16string, HiveKeyListing>& keys) {
    std::vector<HiveKeyListing> listing;
    for (const auto& [folded, key] : keys) listing.push_back(key);
    std::sort(listing.begin(), listing.end(), [](const auto& a, const auto& b) {
        return PathSortKey(a.path) < PathSortKey(b.path);
    });
    for (auto& key : listing) {
        std::sort(key.values.begin(), key.values.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
    }
    return listing;
}

}  // namespace

std::vector<HiveKeyListing> RegistryHive::List() const {
    std::map<std::u16string, HiveKeyListing> keys;
    for (const auto& [folded, key] : keys_) {
        HiveKeyListing entry{key.path, {}};
        for (const auto& [name, value] : key.values) entry.values.push_back(value);
        keys.emplace(folded, std::move(entry));
    }
    return ListKeys(keys);
}

bool RegistryHive::Save(const Keys& keys) {
    if (failSaves_) return SaveFailed(std::generic_category().message(ENOSPC));
    // A pipe, a device or a link to nothing is the user's own arrangement: never replaced.
    if (notRegular_) return SaveFailed("not a regular file");

    std::string content = std::string(kHeader) + "\n";
    std::map<std::u16string, HiveKeyListing> listed;
    for (const auto& [folded, key] : keys) {
        HiveKeyListing entry{key.path, {}};
        for (const auto& [name, value] : key.values) entry.values.push_back(value);
        listed.emplace(folded, std::move(entry));
    }
    for (const auto& key : ListKeys(listed)) {
        content += "key " + QuoteHiveText(key.path) + "\n";
        for (const auto& value : key.values) {
            content += "value " + QuoteHiveText(value.name);
            if (value.type == REG_DWORD) {
                content += " dword " + std::to_string(value.number) + "\n";
            } else {
                content += " sz " + QuoteHiveText(value.text) + "\n";
            }
        }
    }
    content += "end\n";

    // Keep the unreadable hive for whoever wants to look at it, under a name no earlier copy
    // has: hard-linked, so an existing copy is never replaced. Without it, no save.
    auto keepCorruptAside = [this](std::string& reason) {
        if (!loadedCorrupt_) return true;
        int error = 0;
        for (int n = 1; n < 1000; ++n) {
            std::filesystem::path aside = file_;
            aside += ".corrupt" + (n == 1 ? std::string() : "-" + std::to_string(n));
            if (::link(file_.c_str(), aside.c_str()) == 0) return true;
            error = errno;
            if (error == ENOENT) return true;  // gone meanwhile: nothing left to keep
            if (error != EEXIST) break;
        }
        reason = "cannot keep the unreadable hive aside: " + std::generic_category().message(error);
        return false;
    };
    if (!writer_.Replace(content, keepCorruptAside)) return SaveFailed(writer_.FailureReason());
    loadedCorrupt_ = false;
    lastSaveFailure_.clear();
    return true;
}

bool RegistryHive::SaveFailed(const std::string& reason) {
    lastSaveFailure_ = reason;
    // The caller only learns that the save failed; the user learns where and why.
    std::fprintf(stderr, "quorvella: cannot save settings to %s: %s\n", file_.c_str(),
                 reason.c_str());
    std::fflush(stderr);
    return false;
}

std::vector<HiveKeyListing> ListHive(const std::filesystem::path& file) {
    return RegistryHive(file, false).List();
}

}  // namespace qv
