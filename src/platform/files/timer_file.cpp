// The timer's file: small, replaced whole, moved aside when it cannot be believed.
#include "platform/files/timer_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/files/atomic_file.h"
#include "platform/files/small_file.h"
#include "platform/files/system_clock.h"

namespace qv {
namespace {

constexpr size_t kLargestTimerFile = 4096;

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Moves the file to a free name beside it; link() never replaces a file already there.
bool MoveAside(const std::filesystem::path& file, int64_t now, std::filesystem::path& movedTo,
               std::string& why) {
    const CalendarDate t = UtcDateOf(now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u%02u%02u-%02u%02u%02u", unsigned{t.year},
                  unsigned{t.month}, unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute},
                  unsigned{t.second});
    const std::string base = file.string() + ".damaged-" + stamp;
    for (int n = 0; n < 100; ++n) {
        const std::string name = n == 0 ? base : base + "." + std::to_string(n);
        if (::link(file.c_str(), name.c_str()) == 0) {
            if (::unlink(file.c_str()) != 0) {
                why = std::generic_category().message(errno);
                ::unlink(name.c_str());
                return false;
            }
            SyncFolder(file.parent_path());
            movedTo = name;
            return true;
        }
        if (errno == EEXIST) continue;
        // A folder or a file link() may not take: renamed, after a look that the name is free.
        if (errno == EPERM || errno == EMLINK) {
            std::error_code ec;
            if (std::filesystem::exists(name, ec)) continue;
            std::filesystem::rename(file, name, ec);
            if (ec) break;
            SyncFolder(file.parent_path());
            movedTo = name;
            return true;
        }
        break;
    }
    why = std::generic_category().message(errno);
    return false;
}

}  // namespace

std::filesystem::path TimerFilePath(const std::filesystem::path& dataDir) {
    return dataDir / "timer";
}

TimerReading ReadTimer(const std::filesystem::path& dataDir, int64_t now) {
    TimerReading reading;
    const std::filesystem::path file = TimerFilePath(dataDir);
    const SmallFileRead read = ReadSmallRegularFile(file, kLargestTimerFile);
    switch (read.outcome) {
        case SmallFileRead::Outcome::Missing:
            return reading;
        case SmallFileRead::Outcome::Read:
            if (std::optional<std::string> problem =
                    ParseTimerFile(read.content, now, reading.timer)) {
                reading.problem = *problem;
            } else {
                reading.state = TimerReading::State::Running;
                return reading;
            }
            break;
        case SmallFileRead::Outcome::TooLarge:
            reading.problem = "it is far too large";
            break;
        case SmallFileRead::Outcome::NotRegular:
        case SmallFileRead::Outcome::Failed:
            reading.problem = "it cannot be read: " + read.reason;
            break;
    }
    reading.state = TimerReading::State::Damaged;
    reading.timer = {};
    MoveAside(file, now, reading.movedTo, reading.moveFailure);
    return reading;
}

bool StartTimer(const std::filesystem::path& dataDir, const RunningTimer& timer, std::string& why) {
    if (!IsKeepableTimer(timer)) {
        why = "the project, category or memo cannot be booked";
        return false;
    }
    AtomicFile file(TimerFilePath(dataDir));
    std::error_code ec;
    if (std::filesystem::symlink_status(file.Path(), ec).type() !=
        std::filesystem::file_type::not_found) {
        why = "a timer runs already";
        return false;
    }
    if (!file.Replace(TimerFileText(timer))) {
        why = file.FailureReason();
        return false;
    }
    return true;
}

TimerStop ProposeStop(const RunningTimer& timer, int64_t now) {
    CalendarDate started = LocalTimeOf(UtcDateOf(timer.start));
    return {MakeDate(started.year, started.month, started.day), ProposeDuration(now - timer.start)};
}

bool RemoveTimer(const std::filesystem::path& dataDir, std::string& why) {
    const std::filesystem::path file = TimerFilePath(dataDir);
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
        why = std::generic_category().message(errno);
        return false;
    }
    SyncFolder(dataDir);
    return true;
}

int64_t SecondsNow(const Clock& clock) {
    return SecondsSinceEpoch(clock.GetSystemTime()).value_or(0);
}

}  // namespace qv
