// The desktop program's command line: --help, --version and the screen's zoom.
#include "platform/qt/command_line.h"

#include <algorithm>

#ifndef QV_VERSION
#error "QV_VERSION must be defined by the build (the project's version)"
#endif

namespace qv {

namespace {

constexpr int kScreenHeight = 320;

bool ParseZoom(const std::string& text, int& zoom) {
    if (text.size() != 1 || text[0] < '0' + kMinZoom || text[0] > '0' + kMaxZoom) return false;
    zoom = text[0] - '0';
    return true;
}

CommandLine Refuse(std::string why) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.error = std::move(why);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool help = false;
    bool version = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--overview") {
            line.overview = true;
        } else if (arg == "--zoom" || arg.starts_with("--zoom=")) {
            std::string value;
            if (arg == "--zoom") {
                if (i + 1 == args.size()) return Refuse("option '--zoom' needs a value");
                value = args[++i];
            } else {
                value = arg.substr(7);
            }
            if (!ParseZoom(value, line.zoom)) {
                return Refuse("zoom must be 1, 2 or 3, not '" + value + "'");
            }
        } else if (arg.starts_with("-")) {
            return Refuse("unknown option '" + arg + "'");
        } else {
            return Refuse("unexpected argument '" + arg + "'");
        }
    }
    // Help wins over version, as with most programs; both end the program before it runs.
    if (help)
        line.action = CommandLine::Action::ShowHelp;
    else if (version)
        line.action = CommandLine::Action::ShowVersion;
    return line;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
    return ParseCommandLine(args);
}

int DefaultZoom(int availableHeight) {
    const long long zoom = (static_cast<long long>(availableHeight) * 2 / 3) / kScreenHeight;
    return static_cast<int>(std::clamp<long long>(zoom, kMinZoom, kMaxZoom));
}

std::string UsageLine() {
    return "usage: quorvella [--zoom 1|2|3] [--overview] [--help] [--version]\n"
           "       quorvella add|list|report|export|projects|categories|timer [OPTIONS]";
}

std::string HelpText() {
    return UsageLine() +
           "\n"
           "Quorvella keeps a personal record of working time: time records, projects and\n"
           "categories, reports over any range of days, and CSV exports.\n"
           "\n"
           "Options:\n"
           "  --zoom N     show the 240 x 320 screen N times larger (1, 2 or 3); without it,\n"
           "               the largest size that fits comfortably on the desktop\n"
           "  --overview   open the overview of a week's or a month's hours as well\n"
           "  -h, --help   show this help and end\n"
           "  --version    show the version and licence and end\n";
}

// The version, the copyright and the licence, in the words GNU programs use.
std::string VersionText() {
    return std::string("quorvella ") + QV_VERSION +
           "\n"
           "Copyright (C) 2026 The Quorvella developers\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

std::optional<int> AnswerCommandLine(const CommandLine& line, std::ostream& out,
                                     std::ostream& err) {
    switch (line.action) {
        case CommandLine::Action::Run:
            return std::nullopt;
        case CommandLine::Action::ShowHelp:
            out << HelpText() << std::flush;
            return out ? 0 : 1;  // a help text that could not be written is no success
        case CommandLine::Action::ShowVersion:
            out << VersionText() << std::flush;
            return out ? 0 : 1;
        case CommandLine::Action::Refuse:
            err << "quorvella: " << line.error << "\n" << UsageLine() << "\n" << std::flush;
            return 2;
    }
    return 2;
}

}  // namespace qv
