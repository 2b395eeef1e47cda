// The help viewer: the program's help command lines opened in the desktop's browser.
#include "platform/qt/help_launcher.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "core/text.h"

namespace qv {

namespace {

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool EndsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view end) {
    return text.size() >= end.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

std::u16string_view TrimSpaces(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::string> HelpUrl(std::u16string_view commandLine, const DeviceFolders& folders) {
    std::u16string_view rest = TrimSpaces(commandLine);
    constexpr std::u16string_view kFileScheme = u"file:";
    if (rest.size() >= kFileScheme.size() &&
        EqualsIgnoringAsciiCase(rest.substr(0, kFileScheme.size()), kFileScheme)) {
        rest.remove_prefix(kFileScheme.size());
    }
    std::u16string_view anchor;
    if (size_t hash = rest.find(u'#'); hash != std::u16string_view::npos) {
        anchor = rest.substr(hash + 1);
        rest = rest.substr(0, hash);
    }

    // A bare file name is looked for where the handheld's help viewer looks: in \Windows.
    std::u16string devicePath;
    if (rest.find_first_of(u"\\/") == std::u16string_view::npos) {
        if (rest.empty()) return std::nullopt;
        devicePath = u"\\Windows\\";
    } else if (rest.front() != u'\\') {
        return std::nullopt;
    }
    devicePath += rest;

    const bool contents = EndsWithIgnoringAsciiCase(devicePath, u".htc");
    if (!contents && !EndsWithIgnoringAsciiCase(devicePath, u".htm") &&
        !EndsWithIgnoringAsciiCase(devicePath, u".html")) {
        return std::nullopt;
    }
    if (contents) {
        devicePath.replace(devicePath.size() - 3, 3, u"htm");  // the page beside it, at its top
        anchor = {};
    }
    const std::optional<std::filesystem::path> file = folders.Resolve(devicePath);
    if (!file) return std::nullopt;

    QUrl url = QUrl::fromLocalFile(QString::fromStdString(file->string()));
    if (!anchor.empty()) {
        url.setFragment(QString::fromUtf16(anchor.data(), static_cast<qsizetype>(anchor.size())),
                        QUrl::DecodedMode);
    }
    return url.toString(QUrl::FullyEncoded).toStdString();
}

bool OpenHelp(std::u16string_view commandLine, const DeviceFolders& folders,
              const std::function<void()>& restorePages) {
    const std::optional<std::string> url = HelpUrl(commandLine, folders);
    if (!url) return false;
    const QUrl target(QString::fromStdString(*url), QUrl::StrictMode);
    std::error_code ec;
    if (!std::filesystem::exists(target.toLocalFile().toStdString(), ec)) {
        // Help pages the user removed come back as a new device has them; a page that is not
        // one of ours stays missing and the browser says so.
        if (restorePages) restorePages();
    }
    return QDesktopServices::openUrl(target);
}

}  // namespace qv
