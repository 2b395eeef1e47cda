// The replay tool: script lines to actions, the program's events to transcript lines.
#include "tools/replay/replay.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/app.h"
#include "app/program_resources.h"
#include "platform/files/device_files.h"
#include "platform/qt/qt_host.h"
#include "platform/registry/registry_hive.h"
#include "tools/replay/running.h"
#include "tools/replay/transcript.h"

namespace qv::replay {
namespace {

// QUORVELLA_REPLAY_CRASH_AT: "read:N", "write:N" or "sync:N" with N from 1.
std::optional<std::pair<IoPoint, int>> ParseCrashAt(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::string kind = text.substr(0, colon);
    const std::string count = text.substr(colon + 1);
    IoPoint point = IoPoint::Read;
    if (kind == "write") {
        point = IoPoint::Write;
    } else if (kind == "sync") {
        point = IoPoint::Sync;
    } else if (kind != "read") {
        return std::nullopt;
    }
    if (count.empty() || count.size() > 9 ||
        count.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int nth = std::stoi(count);
    if (nth < 1) return std::nullopt;
    return std::make_pair(point, nth);
}

std::string Hex8(uint32_t v) {
    char buf[16];
    snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

}  // namespace

Replay::Replay(std::filesystem::path root, std::vector<std::string> lines, std::ostream& out,
               HostKind host)
    : root_(std::move(root)), lines_(std::move(lines)), out_(out), hostKind_(host) {
    CalendarDate start = MakeDate(2005, 10, 29);
    start.hour = 12;
    start.dayOfWeek = DayOfWeek(start);
    clock_.Set(start);
}

Replay::~Replay() = default;

void Replay::Print(const std::string& line) {
    out_ << line << '\n';
}

void Replay::Event(const std::string& line) {
    if (line.rfind("question ", 0) == 0) questionOpen_ = true;
    Print(line);
}

void Replay::Fail(const std::string& sentence) {
    if (failed_) return;
    failed_ = true;
    if (!namedAction_.empty() && sentence.rfind(namedAction_ + ": ", 0) == 0) {
        Print("! " + namedLine_ + sentence.substr(namedAction_.size()));
        return;
    }
    Print("! " + sentence);
}

std::optional<std::vector<Token>> Replay::NextLine() {
    while (!failed_ && next_ < lines_.size()) {
        std::string line = lines_[next_++];
        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        current_ = line.substr(first);
        Print("> " + current_);
        auto tokens = Tokenize(current_);
        if (!tokens) {
            Fail(current_ + ": a text is not closed");
            return std::nullopt;
        }
        return tokens;
    }
    return std::nullopt;
}

bool Replay::IsKill(const std::vector<Token>& t) {
    return t.size() == 1 && !t[0].quoted && t[0].text == "kill";
}

bool Replay::IsLook(const std::vector<Token>& t) {
    return t.size() == 2 && !t[0].quoted && t[0].text == "show" && !t[1].quoted &&
           (t[1].text == "main" || t[1].text == "dialog" || LookTarget(t));
}

int Replay::Run() {
    while (auto tokens = NextLine()) {
        bool handled = false;
        if (!Environment(*tokens, handled)) break;
        if (handled) continue;
        if (IsLook(*tokens)) continue;  // nothing runs, so there is nothing on screen to show
        if (!failed_) {
            const std::string unknown = UnknownName(*tokens);
            Fail(current_ + (!unknown.empty() ? ": " + unknown
                             : WindowAction(*tokens) || IsKill(*tokens)
                                 ? ": the program is not running"
                                 : ": not an action"));
        }
    }
    return failed_ ? 1 : 0;
}

bool Replay::CrashAtStoreIo(IoPoint point, int nth) {
    if (!RegisterFaultVfs()) return false;
    ArmIoCrash(point, nth, kCrashStatus);
    storeVfs_ = kFaultVfsName;
    return true;
}

bool Replay::Environment(const std::vector<Token>& t, bool& handled) {
    handled = !t[0].quoted;  // a keyword is written bare; a text is no action
    if (!handled) return true;
    const std::string& word = t[0].text;
    if (word == "screen") {
        auto w = t.size() == 3 && !t[1].quoted ? ParseNumber(t[1].text) : std::nullopt;
        auto h = t.size() == 3 && !t[2].quoted ? ParseNumber(t[2].text) : std::nullopt;
        if (!w || !h || *w <= 0 || *h <= 0) {
            Fail(current_ + ": not a screen size");
            return false;
        }
        screen_ = {*w, *h};
        if (running_) handled = false;  // the open windows hear of it
        return true;
    }
    if (word == "clock") {
        std::optional<CalendarDate> date =
            t.size() == 3 && !t[1].quoted && !t[2].quoted ? ParseDate(t[1].text) : std::nullopt;
        if (!date || !ParseTime(t[2].text, *date)) {
            Fail(current_ + ": not a date and time");
            return false;
        }
        date->dayOfWeek = DayOfWeek(*date);
        clock_.Set(*date);
        return true;
    }
    if (word == "show" && t.size() == 2 && !t[1].quoted &&
        (t[1].text == "store" || t[1].text == "registry")) {
        if (t[1].text == "store") {
            ShowStore();
        } else {
            ShowRegistry();
        }
        return !failed_;
    }
    if (word == "start" && t.size() == 1) {
        if (running_) {
            Fail(current_ + ": the program is running");
            return false;
        }
        return hostKind_ == HostKind::Qt ? StartQt() : Start();
    }
    if (word == "start-second" && t.size() == 1) {
        if (!running_) {
            Fail(current_ + ": the program is not running");
            return false;
        }
        StartSecond();
        return true;
    }
    handled = false;
    return true;
}

bool Replay::Start() {
    DeviceFolders folders = DeviceFolders::UnderRoot(root_);
    if (!folders.Provision() || !ProvisionHelpFiles(folders.WindowsDir())) {
        Fail(current_ + ": the device folder cannot be made");
        return false;
    }
    auto lock = LockDevice();
    if (lock == nullptr) return false;
    running_ = std::make_unique<Running>(root_, std::move(lock), instanceRunning_, storeVfs_);
    running_->host = std::make_unique<HeadlessHost>(
        ProgramResources(), clock_, [this] { return NextAction(); },
        [this](const HostEvent& e) { Event(EventLine(e)); },
        [this](const std::string& e) { Fail(e); });
    running_->host->SetScreenSize(screen_);
    killed_ = false;
    questionOpen_ = false;
    ProgramServices services{*running_->host, running_->hive, *running_->store, running_->files,
                             running_->instances};
    try {
        const int code = QuorvellaMain(services);
        if (!failed_) Print("exit " + std::to_string(code));
    } catch (const HeadlessKill&) {
        if (killed_) Print("exit -9");
    }
    running_.reset();
    instanceRunning_ = false;
    return !failed_;
}

std::unique_ptr<DataFolderLock> Replay::LockDevice() {
    auto lock = std::make_unique<DataFolderLock>(DeviceFolders::UnderRoot(root_).dataDir);
    if (lock->GetState() != DataFolderLock::State::HeldElsewhere) return lock;
    Fail(current_ + ": another program runs on the device");
    return nullptr;
}

void Replay::StartSecond() {
    // A second process: its own host; it meets the first one's window and ends at once.
    HeadlessHost host(
        ProgramResources(), clock_, [] { return std::optional<UserAction>(); },
        [this](const HostEvent& e) { Print(EventLine(e)); },
        [this](const std::string& e) { Fail(e); });
    host.SetScreenSize(screen_);
    ProgramServices services{host, running_->hive, *running_->store, running_->files,
                             running_->instances};
    try {
        Print("exit " + std::to_string(QuorvellaMain(services)));
    } catch (const HeadlessKill&) {
    }
}

std::optional<UserAction> Replay::NextAction() {
    while (auto tokens = NextLine()) {
        const std::vector<Token>& t = *tokens;
        if (questionOpen_ && !(t[0].text == "answer" && t.size() == 2)) {
            Fail(current_ + ": the question needs an answer yes or no");
            return std::nullopt;
        }
        bool handled = false;
        if (!Environment(t, handled)) return std::nullopt;
        if (handled) continue;
        if (!t[0].quoted && t[0].text == "screen") {
            return UserAction::MakeScreen(screen_.width, screen_.height);
        }
        if (IsLook(t)) {
            // A look at what is not there stops the run like any line that cannot be carried
            // out: silence would let a transcript's expectation pass unchecked.
            namedAction_ = NamesId(t) ? "show " + std::to_string(*LookTarget(t)) : std::string();
            namedLine_ = current_;
            const Shown shown = Look(t);
            if (!shown.error.empty()) {
                Fail(shown.error);
                return std::nullopt;
            }
            for (const std::string& l : shown.lines) Print(l);
            continue;
        }
        if (IsKill(t)) {
            killed_ = true;
            return UserAction::MakeKill();
        }
        auto action = WindowAction(t);
        if (!action) {
            const std::string unknown = UnknownName(t);
            if (!failed_) Fail(current_ + ": " + (unknown.empty() ? "not an action" : unknown));
            return std::nullopt;
        }
        namedAction_ = NamesId(t) ? DescribeAction(*action) : std::string();
        namedLine_ = current_;
        return action;
    }
    return std::nullopt;  // the end of the script, or a failure: the run stops here
}

Shown Replay::Look(const std::vector<Token>& t) const {
    MainFrame* main = nullptr;
    Dialog* top = nullptr;
    Dialog* window = nullptr;
    Size screen = screen_;
    if (running_ && running_->host) {
        main = running_->host->Main();
        top = running_->host->TopDialog();
        window = running_->host->TopWindow();
        screen = running_->host->ScreenSize();
    } else if (qtHost_ != nullptr) {
        main = qtHost_->Main();
        top = qtHost_->TopDialog();
        window = qtHost_->TopWindow();
        screen = qtHost_->ScreenSize();
    }
    if (t[1].text == "main") return ShowMain(main, screen);
    if (t[1].text == "dialog") return ShowDialog(top);
    return ShowControl(window, *LookTarget(t),
                       top != nullptr ? "dialog " + std::to_string(top->TemplateId())
                                      : std::string("the main window"));
}

std::optional<UserAction> Replay::WindowAction(const std::vector<Token>& t) {
    std::optional<UserAction> action = ParseWindowAction(t);
    if (action && action->kind == UserAction::Kind::Answer) questionOpen_ = false;
    return action;
}

void Replay::ShowStore() {
    std::unique_ptr<ObjectStore> opened;
    ObjectStore* store = running_ ? running_->store.get() : nullptr;
    if (store == nullptr) {
        const std::filesystem::path file = DeviceFolders::UnderRoot(root_).StoreFile();
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) return;  // a device that never started
        opened = OpenObjectStoreForLooking(file);
        if (opened == nullptr) {
            Fail(current_ + ": the store file cannot be read");
            return;
        }
        store = opened.get();
    }
    for (const DatabaseDump& db : store->Dump()) {
        Print("database " + QuoteText(db.name) + " records " + std::to_string(db.records.size()));
        for (const auto& record : db.records) {
            std::string line = "record";
            for (const PropValue& p : record) {
                line += " " + Hex8(p.propid) + "=";
                if (p.Type() == CEVT_LPWSTR) {
                    line += p.lpwstr ? QuoteText(*p.lpwstr) : "-";
                } else {
                    line += std::to_string(p.ulVal);
                }
            }
            Print(line);
        }
    }
}

void Replay::ShowRegistry() {
    const RegistryHive hive(DeviceFolders::UnderRoot(root_).HiveFile());
    if (hive.LoadedCorrupt()) {
        Fail(current_ + ": the registry file cannot be read");
        return;
    }
    for (const HiveKeyListing& key : hive.List()) {
        Print("key HKEY_LOCAL_MACHINE\\" + ToUtf8(key.path));
        for (const HiveValue& v : key.values) {
            if (v.type == REG_SZ) {
                Print("value " + ToUtf8(v.name) + " sz " + QuoteText(v.text));
            } else {
                Print("value " + ToUtf8(v.name) + " dword " + std::to_string(v.number));
            }
        }
    }
}

int ReplayMain(int argc, char** argv) {
    std::optional<std::filesystem::path> root;
    std::optional<std::string> script;
    std::optional<HostKind> host;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc && !root) {
            root = argv[++i];
        } else if (arg == "--host" && i + 1 < argc && !host &&
                   (std::string(argv[i + 1]) == "headless" || std::string(argv[i + 1]) == "qt")) {
            host = std::string(argv[++i]) == "qt" ? HostKind::Qt : HostKind::Headless;
        } else if (!script && (arg == "-" || arg.rfind("--", 0) != 0)) {
            script = arg;
        } else {
            script.reset();
            break;
        }
    }
    std::optional<std::pair<IoPoint, int>> crashAt;
    if (const char* crash = std::getenv("QUORVELLA_REPLAY_CRASH_AT")) {
        crashAt = ParseCrashAt(crash);
        if (!crashAt) script.reset();
    }
    if (!script) {
        std::cerr << "usage: quorvella-replay [--root DIR] [--host headless|qt] SCRIPT   (SCRIPT "
                     "\"-\" reads standard input)\n"
                     "  QUORVELLA_REPLAY_CRASH_AT=read:N|write:N|sync:N  the program crashes "
                     "(exit status 3) at the\n"
                     "  Nth read, write or sync of its store file, counted over the run (under the "
                     "qt host,\n"
                     "  from each start)\n";
        return 2;
    }
    std::vector<std::string> lines;
    {
        std::ifstream file;
        std::istream* in = &std::cin;
        if (*script != "-") {
            std::error_code ec;
            if (std::filesystem::is_directory(*script, ec)) {
                std::cerr << "quorvella-replay: " << *script << " is a folder\n";
                return 2;
            }
            file.open(*script);
            if (!file) {
                std::cerr << "quorvella-replay: cannot read " << *script << "\n";
                return 2;
            }
            in = &file;
        }
        for (std::string line; std::getline(*in, line);) lines.push_back(line);
        if (in->bad()) {
            std::cerr << "quorvella-replay: cannot read " << *script << "\n";
            return 2;
        }
    }
    bool temporary = !root;
    if (temporary) {
        char pattern[] = "/tmp/quorvella-replay-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::cerr << "quorvella-replay: no temporary folder\n";
            return 2;
        }
        root = pattern;
    }
    Replay replay(*root, std::move(lines), std::cout, host.value_or(HostKind::Headless));
    if (crashAt && !replay.CrashAtStoreIo(crashAt->first, crashAt->second)) {
        std::cerr << "quorvella-replay: the failing file layer cannot be set up\n";
        return 2;
    }
    int status = replay.Run();
    std::cout.flush();
    if (temporary) {
        std::error_code ec;
        std::filesystem::remove_all(*root, ec);
    }
    return status;
}

}  // namespace qv::replay
