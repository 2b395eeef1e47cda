// quorvella-replay: runs the real program on the headless or the desktop host, takes a person's
// actions from a script and prints what that person would see.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "platform/files/system_clock.h"
#include "platform/headless/headless_host.h"
#include "platform/objectstore/fault_vfs.h"
#include "platform/objectstore/object_store.h"
#include "tools/replay/script.h"

class QWidget;

namespace qv {
class DataFolderLock;
class QtHost;
}  // namespace qv

namespace qv::replay {

struct Shown;

// The exit status of a run ended by CrashAtStoreIo.
inline constexpr int kCrashStatus = 3;

// The host that runs the program: in memory, or the desktop's widgets (offscreen).
enum class HostKind { Headless, Qt };

class Replay {
  public:
    // root: the device folder; lines: the script.
    Replay(std::filesystem::path root, std::vector<std::string> lines, std::ostream& out,
           HostKind host = HostKind::Headless);
    ~Replay();
    // 0 when every line ran, 1 when a line could not be carried out.
    int Run();
    // The program's store goes through the failing file layer, and the process ends with
    // kCrashStatus at the nth read, write or sync of the store from now on (a crash in the
    // middle of a store change). False when the layer cannot be set up.
    bool CrashAtStoreIo(IoPoint point, int nth);

  private:
    struct Running;

    // The next script line to act on (echoed), skipping blanks and comments.
    std::optional<std::vector<Token>> NextLine();
    // A line outside the program's windows; false when it failed (already reported).
    bool Environment(const std::vector<Token>& t, bool& handled);
    bool Start();
    // The device's data folder for a start; null (said) when another program holds it.
    std::unique_ptr<DataFolderLock> LockDevice();
    void StartSecond();
    // The Qt host runs each start of the program in a child process, so that a kill ends it
    // the way a power cut does; the script goes on in this process where the child stopped.
    bool StartQt();
    void RunQtChild();
    [[noreturn]] void EndQtChild();
    void StepQt(QtHost& host);
    void DriveQt(QtHost& host, const UserAction& action);
    void AnswerQt(QtHost& host, QWidget* box, bool question);
    Shown Look(const std::vector<Token>& t) const;
    std::optional<UserAction> NextAction();
    std::optional<UserAction> WindowAction(const std::vector<Token>& t);
    void ShowStore();
    void ShowRegistry();
    static bool IsLook(const std::vector<Token>& t);
    static bool IsKill(const std::vector<Token>& t);
    void Print(const std::string& line);
    void Event(const std::string& line);
    void Fail(const std::string& sentence);

    std::filesystem::path root_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
    std::string current_;  // the line being carried out, as echoed
    // The last action of a line that named its control or command, as the hosts describe it
    // (by number), and that line as written: a failure repeats the line.
    std::string namedAction_, namedLine_;
    std::ostream& out_;
    ZonedFixedClock clock_;
    Size screen_{240, 320};
    bool failed_ = false;
    bool killed_ = false;
    bool instanceRunning_ = false;
    bool questionOpen_ = false;
    std::unique_ptr<Running> running_;
    HostKind hostKind_ = HostKind::Headless;
    QtHost* qtHost_ = nullptr;
    int reportFd_ = -1;               // the child's report to the script's process
    const char* storeVfs_ = nullptr;  // the store's SQLite file layer; null: the system's own
};

// The command line: [--root DIR] [--host headless|qt] SCRIPT ("-" reads standard input), and
// QUORVELLA_REPLAY_CRASH_AT=read:N, write:N or sync:N from the environment (CrashAtStoreIo).
// Returns the exit status.
int ReplayMain(int argc, char** argv);

}  // namespace qv::replay
