// The device's folders on this machine and the file calls of the CSV writer.
#include "platform/files/device_files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/text.h"
#include "platform/files/small_file.h"

namespace qv {

namespace {

constexpr size_t kMaxUserDirsBytes = 64 * 1024;  // a few lines in a real one

std::filesystem::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/tmp";
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback.
std::filesystem::path XdgFolder(const char* variable, const std::filesystem::path& fallback) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return value;
    return fallback;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents" or an absolute path.
std::filesystem::path DocumentsFolder(const std::filesystem::path& home) {
    std::filesystem::path config = XdgFolder("XDG_CONFIG_HOME", home / ".config");
    // Read without waiting on a pipe and only when small: it is a few lines.
    const std::filesystem::path file = config / "user-dirs.dirs";
    const SmallFileRead read = ReadSmallRegularFile(file, kMaxUserDirsBytes);
    if (read.outcome != SmallFileRead::Outcome::Read &&
        read.outcome != SmallFileRead::Outcome::Missing) {
        std::fprintf(stderr, "quorvella: %s is %s; the documents folder is %s\n", file.c_str(),
                     read.reason.c_str(), (home / "Documents").c_str());
        std::fflush(stderr);
    }
    std::istringstream in(read.content);
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        size_t close = line.find('"', key.size());
        if (close == std::string::npos) break;
        std::string value = line.substr(key.size(), close - key.size());
        std::filesystem::path folder;
        if (value.rfind("$HOME", 0) == 0) {
            std::string rest = value.substr(5);
            if (!rest.empty() && rest[0] != '/') break;
            folder = home.string() + rest;
        } else if (!value.empty() && value[0] == '/') {
            folder = value;
        } else {
            break;
        }
        // A documents folder equal to home means the user turned it off.
        if ((folder / "").lexically_normal() == (home / "").lexically_normal()) {
            break;
        }
        return folder;
    }
    return home / "Documents";
}

bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
        if (x != y) return false;
    }
    return true;
}

std::vector<std::u16string_view> SplitComponents(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    while (true) {
        size_t cut = path.find(u'\\', start);
        parts.push_back(path.substr(start, cut == std::u16string_view::npos ? cut : cut - start));
        if (cut == std::u16string_view::npos) break;
        start = cut + 1;
    }
    return parts;
}

// A name that stands for exactly one entry in a folder on both systems.
bool IsPlainComponent(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c == u'/' || c < 0x20) return false;
        // Lone surrogates would turn into U+FFFD and alias other names.
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

}  // namespace

DeviceFolders DeviceFolders::UnderRoot(const std::filesystem::path& root) {
    return DeviceFolders{root, root / "My Documents"};
}

DeviceFolders DeviceFolders::ForUser() {
    std::filesystem::path home = HomeFolder();
    std::filesystem::path data = XdgFolder("XDG_DATA_HOME", home / ".local" / "share");
    return DeviceFolders{data / "quorvella", DocumentsFolder(home) / "Quorvella"};
}

std::optional<std::filesystem::path> DeviceFolders::Resolve(
    const std::u16string& devicePath) const {
    if (devicePath.empty() || devicePath.front() != u'\\') return std::nullopt;
    std::vector<std::u16string_view> parts =
        SplitComponents(std::u16string_view(devicePath).substr(1));

    std::filesystem::path base;
    size_t used = 0;
    if (parts.size() >= 2 && EqualsAsciiNoCase(parts[0], u"My Documents") &&
        EqualsAsciiNoCase(parts[1], u"Business")) {
        base = documentsDir / "Business";
        used = 2;
    } else if (parts.size() >= 2 && EqualsAsciiNoCase(parts[0], u"My Documents") &&
               EqualsAsciiNoCase(parts[1], u"Personal")) {
        base = documentsDir / "Personal";
        used = 2;
    } else if (!parts.empty() && EqualsAsciiNoCase(parts[0], u"Windows")) {
        base = WindowsDir();
        used = 1;
    } else {
        return std::nullopt;
    }
    for (size_t i = used; i < parts.size(); ++i) {
        if (!IsPlainComponent(parts[i])) return std::nullopt;
        base /= ToUtf8(parts[i]);
    }
    return base;
}

bool DeviceFolders::Provision() const {
    bool ok = MakeFolder(dataDir);
    ok = MakeFolder(WindowsDir()) && ok;
    ok = MakeFolder(documentsDir / "Business") && ok;
    ok = MakeFolder(documentsDir / "Personal") && ok;
    return ok;
}

std::optional<uint32_t> DeviceFiles::FindFirstFile(const std::u16string& devicePath) {
    auto path = folders_.Resolve(devicePath);
    if (!path) return std::nullopt;
    struct stat st {};
    if (::stat(path->c_str(), &st) != 0) {
        // A link that leads nowhere is still something in the way: it is reported as a file, so
        // it is asked about and deleted rather than written through.
        if (::lstat(path->c_str(), &st) == 0) return FILE_ATTRIBUTE_ARCHIVE;
        return std::nullopt;
    }
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
    // Read-only when we may not write it, or when nobody may (as root sees a 0444 file).
    if (::access(path->c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes;
}

FileHandle DeviceFiles::CreateFile(const std::u16string& devicePath) {
    if (failCreates_) return kInvalidFileHandle;
    auto path = folders_.Resolve(devicePath);
    if (!path) return kInvalidFileHandle;
    // Replaced only as the handheld would create over it: a folder or a read-only file stays.
    if (std::optional<uint32_t> attributes = FindFirstFile(devicePath);
        attributes && (*attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return kInvalidFileHandle;
    }
    // The temporaries of a write cut short by a crash go first.
    AtomicFile(*path).RemoveStaleTemporaries();
    auto replacement = std::make_unique<FileReplacement>(*path, faults_, 0644);
    if (!replacement->Begin()) return kInvalidFileHandle;
    const FileHandle file = nextHandle_++;
    open_.emplace(file, std::move(replacement));
    return file;
}

bool DeviceFiles::WriteFile(FileHandle file, const void* data, size_t size) {
    auto it = open_.find(file);
    if (it == open_.end()) return false;
    if (failWritesAfter_ == 0) {
        it->second->Abandon();
        return false;
    }
    if (!it->second->Write(data, size)) return false;
    if (failWritesAfter_ > 0) --failWritesAfter_;
    return true;
}

bool DeviceFiles::CloseHandle(FileHandle file) {
    auto it = open_.find(file);
    if (it == open_.end()) return false;
    const std::unique_ptr<FileReplacement> replacement = std::move(it->second);
    open_.erase(it);
    return replacement->Commit();
}

}  // namespace qv
