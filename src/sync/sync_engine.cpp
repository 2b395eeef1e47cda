// The engine: a run finds this computer's changes, writes them to the outbox and the ledger in
// one store transaction, appends the outbox to this computer's journal, then reads every other
// journal from where it stopped and applies what it finds, one transaction per batch.
#include "sync/sync_engine.h"

#include <algorithm>
#include <map>
#include <random>

#include "sync/book.h"
#include "sync/capture.h"
#include "sync/journal_file.h"
#include "sync/journal_line.h"
#include "sync/ledger.h"
#include "sync/merge.h"

namespace qv::sync {
namespace {

constexpr size_t kBatchLines = 20000;
// How much of a journal is read at a time: some fifty thousand lines.
constexpr uint64_t kReadChunk = uint64_t{8} << 20;

std::string NewComputerId() {
    std::random_device random;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 4; ++i) {
        const uint32_t word = random();
        for (int shift = 28; shift >= 0; shift -= 4) id.push_back(kDigits[(word >> shift) & 0xF]);
    }
    return id;
}

RunResult Problem(std::string why) {
    RunResult r;
    r.ok = false;
    r.problem = std::move(why);
    return r;
}

// Only a copy of this store elsewhere can have written lines this one never made.
constexpr char kCopiedStore[] =
    "Another computer writes this computer's journal (was the store copied?): sync is stopped.";

// A run stopped by a problem still tells what it applied before it, so the lists are read again.
void Stop(RunResult& result, std::string why) {
    result.ok = false;
    result.problem = std::move(why);
}

bool IsFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
}

// One complete line read from a journal, and where it ends.
struct ReadLine {
    Change change;
    uint64_t end = 0;
};

// The lines of the journal after the position that may be applied in order: reading stops at
// an incomplete line, one that fails its checksum or is not the computer's, and at a serial
// that skips one; lines already read are passed over. A journal is read a chunk at a time, so
// that one of any size takes bounded memory: `more` says the chunk ended the reading, not a
// line. A line longer than a chunk (no journal line comes near it) stops the reading too.
std::vector<ReadLine> NewLines(const std::filesystem::path& file, const std::string& computer,
                               const Position& at, uint64_t& skippedTo, bool& more) {
    std::vector<ReadLine> lines;
    std::string bytes;
    skippedTo = at.offset;
    more = false;
    if (!ReadFrom(file, at.offset, bytes, kReadChunk)) return lines;
    const bool full = bytes.size() == kReadChunk;
    uint64_t serial = at.serial;
    Change change;
    for (size_t from = 0;;) {
        const size_t feed = bytes.find('\n', from);
        if (feed == std::string::npos) {
            more = full && from > 0;
            break;
        }
        if (DecodeLine(std::string_view(bytes).substr(from, feed - from), change) !=
                LineStatus::Complete ||
            change.computer != computer || change.serial > serial + 1)
            break;
        const uint64_t end = at.offset + feed + 1;
        if (change.serial == serial + 1) {
            serial = change.serial;
            lines.push_back({change, end});
        } else if (lines.empty()) {
            skippedTo = end;
        }
        from = feed + 1;
    }
    return lines;
}

}  // namespace

struct Engine::Impl {
    explicit Impl(StoreContext& c) : ctx(c) { LoadSettings(ctx.store, settings); }

    StoreContext& ctx;
    Settings settings;
    std::optional<Ledger> ledger;  // as the store holds it; dropped when a transaction fails
    bool localChange = true;
    bool outboxChecked = false;
    size_t outbox = 0;  // lines in the outbox
    std::map<std::string, uint64_t> sizesRead;

    std::filesystem::path Folder() const { return settings.folder; }
    int64_t Now() const { return SecondsSinceEpoch(ctx.clock.GetSystemTime()).value_or(0); }

    bool ReadyLedger() {
        if (ledger) return true;
        ledger.emplace();
        if (ledger->Load(ctx.store)) return true;
        ledger.reset();
        return false;
    }
    void Forget() {
        ledger.reset();
        LoadSettings(ctx.store, settings);
        outboxChecked = false;
    }

    bool OwnJournalIsOurs(RunResult& result, uint64_t& last);
    bool CaptureLocal(RunResult& result);
    bool WriteOutbox(RunResult& result, uint64_t last);
    bool ApplyOthers(RunResult& result);
    bool ApplyLines(const std::string& computer, const std::vector<ReadLine>& lines, Position& pos,
                    Book& book, std::optional<Merge>& merge, RunResult& result);
    size_t CountOutbox() {
        size_t n = 0;
        ctx.store.ForEachValue(kOutboxTable, [&](const std::string&, const std::string&) { ++n; });
        return n;
    }
};

// A journal holding lines past this store's last serial was written by a copy of this store on
// another computer. Looked at before capturing: a change numbered after the store's last serial
// would be taken for the copy's line of that serial, and lost.
bool Engine::Impl::OwnJournalIsOurs(RunResult& result, uint64_t& last) {
    if (!OpenOwnJournal(JournalPath(Folder(), settings.computer), settings.computer, last)) {
        Stop(result, "The sync folder cannot be written: " + Folder().string());
        return false;
    }
    if (last <= settings.serial) return true;
    Stop(result, kCopiedStore);
    return false;
}

// The local changes and the lines that carry them go into the store in one transaction.
bool Engine::Impl::CaptureLocal(RunResult& result) {
    Book book;
    if (!ReadBook(ctx, book)) {
        Stop(result, "The time book could not be read for syncing.");
        return false;
    }
    std::vector<Change> changes;
    Settings next = settings;
    Capture(book, *ledger, next, Now(), changes);
    if (!changes.empty()) next.lastWritten = changes.back().written;
    Merge merge(ctx, *ledger, book);
    std::vector<std::string> projects;
    for (const auto& [name, e] : ledger->Projects())
        if (!e.put && e.localId && ledger->Named(name) == 0) projects.push_back(name);
    if (changes.empty() && projects.empty()) {
        localChange = false;
        return true;
    }
    StoreTransaction change(ctx.store);
    bool ok = change.ok();
    for (const std::string& name : projects) {
        const Outcome dropped = merge.DropIfUnused(name);
        ok = ok && dropped != Outcome::Failed;
        if (dropped == Outcome::Changed) ++result.applied;
    }
    for (const Change& c : changes)
        ok = ok && ctx.store.PutValue(kOutboxTable, OutboxKey(c.serial), EncodeLine(c));
    ok = ok && ledger->Save(ctx.store) && SaveSettings(ctx.store, next) && change.Commit();
    result.listsTouched = result.listsTouched || merge.TouchedLists();
    if (!ok) {
        Forget();
        Stop(result, "The changes could not be noted in the store for syncing.");
        return false;
    }
    settings = next;
    outbox += changes.size();
    localChange = false;
    return true;
}

// Appends the outbox to this computer's journal, then empties it. After a crash between the
// two, the journal's last serial (`last`, found as the run began) says which lines it already
// has.
bool Engine::Impl::WriteOutbox(RunResult& result, uint64_t last) {
    if (!outboxChecked) {
        outbox = CountOutbox();
        outboxChecked = true;
    }
    if (outbox == 0) return true;
    const std::filesystem::path file = JournalPath(Folder(), settings.computer);
    std::string bytes;
    std::vector<std::string> keys;
    Change change;
    ctx.store.ForEachValue(kOutboxTable, [&](const std::string& key, const std::string& line) {
        keys.push_back(key);
        const std::string_view body(line.data(), line.empty() ? 0 : line.size() - 1);
        if (DecodeLine(body, change) == LineStatus::Complete && change.serial > last) {
            bytes += line;
            ++result.written;
        }
    });
    if (!bytes.empty() && !AppendDurably(file, bytes)) {
        Stop(result, "The sync folder cannot be written: " + Folder().string());
        return false;
    }
    StoreTransaction erase(ctx.store);
    bool ok = erase.ok();
    for (const std::string& key : keys) ok = ok && ctx.store.EraseValue(kOutboxTable, key);
    if (ok && erase.Commit()) outbox = 0;
    return true;
}

bool Engine::Impl::ApplyOthers(RunResult& result) {
    std::optional<Book> book;
    std::optional<Merge> merge;
    bool stopped = false;
    for (const std::string& computer : JournalsIn(Folder())) {
        if (computer == settings.computer) continue;
        const std::filesystem::path file = JournalPath(Folder(), computer);
        const std::optional<uint64_t> size = FileSize(file);
        if (!size) continue;
        sizesRead[computer] = *size;
        Position pos = ledger->Positions()[computer];
        if (*size < pos.offset) pos.offset = 0;  // replaced by another copy: serials tell
        // Each round reads a chunk and moves the position past what it read, or ends.
        const uint64_t kept = pos.offset;
        bool sound = kept == 0;  // the position is known to fall between this file's lines
        for (bool more = *size > pos.offset; more;) {
            uint64_t skippedTo = pos.offset;
            const std::vector<ReadLine> lines = NewLines(file, computer, pos, skippedTo, more);
            if (stopped) {
                result.waiting += lines.size();
                break;
            }
            if (lines.empty() && (skippedTo == pos.offset || skippedTo == kept)) {
                // Nothing follows the kept position though the file goes on: a journal written
                // anew after it was lost is read once more from its start, where the serials
                // say what was read before. A torn last line ends both readings alike.
                if (sound) break;
                sound = more = true;
                pos.offset = 0;
                continue;
            }
            sound = true;
            pos.offset = skippedTo;
            if (lines.empty()) continue;  // lines read before; kept when new ones follow them
            if (!book) {
                book.emplace();
                if (!ReadBook(ctx, *book)) {
                    Stop(result, "The time book could not be read for syncing.");
                    return false;
                }
                merge.emplace(ctx, *ledger, *book);
            }
            if (!ApplyLines(computer, lines, pos, *book, merge, result)) return false;
            if (result.limitReached) {
                stopped = true;
                break;  // what is left of this chunk was counted as waiting
            }
        }
    }
    if (merge) result.listsTouched = result.listsTouched || merge->TouchedLists();
    return true;
}

// Applies the lines in batches of one transaction each, the position moving on with each; at
// a limit, the rest is counted as waiting and limitReached is set.
bool Engine::Impl::ApplyLines(const std::string& computer, const std::vector<ReadLine>& lines,
                              Position& pos, Book& book, std::optional<Merge>& merge,
                              RunResult& result) {
    for (size_t from = 0; from < lines.size() || from == 0; from += kBatchLines) {
        const size_t to = std::min(lines.size(), from + kBatchLines);
        const Position start = pos;
        const size_t allowed = std::max(kMaxProjects, merge->Projects());
        Settings next;
        size_t applied = 0, waiting = 0;
        bool limit = false;
        // First with projects let past the limit; a batch that ends past it is undone and
        // applied again up to the change that passes it.
        for (bool strict = false;; strict = true) {
            pos = start;
            next = settings;
            applied = waiting = 0;
            limit = false;
            merge->LetProjectsPass(!strict);
            bool ok = true, over = false;
            {
                StoreTransaction batch(ctx.store);
                ok = batch.ok();
                for (size_t i = from; ok && i < to; ++i) {
                    const Change& c = lines[i].change;
                    const Outcome outcome = merge->Apply(c);
                    if (outcome == Outcome::Failed) ok = false;
                    if (outcome == Outcome::Limit) {
                        limit = true;
                        waiting = lines.size() - i;
                        break;
                    }
                    if (outcome == Outcome::Changed) ++applied;
                    next.clock = std::max(next.clock, c.clock);
                    pos.offset = lines[i].end;
                    pos.serial = c.serial;
                    pos.lastSeen = c.written;
                    ++pos.changes;
                }
                over = ok && !strict && merge->Projects() > allowed;
                if (!over) {
                    ledger->Positions()[computer] = pos;
                    ledger->PositionChanged(computer);
                    ok = ok && merge->Finish() && ledger->Save(ctx.store) &&
                         SaveSettings(ctx.store, next) && batch.Commit();
                }
            }
            if (ok && !over) break;
            // Undone: what the engine holds is read again from the store.
            result.listsTouched = result.listsTouched || merge->TouchedLists();
            merge.reset();
            Forget();
            if (!ok || !ReadyLedger() || !ReadBook(ctx, book)) {
                Stop(result, "Changes from another computer could not be written to the store.");
                return false;
            }
            merge.emplace(ctx, *ledger, book);
        }
        settings = next;
        result.applied += applied;
        result.waiting += waiting;
        if (limit) {
            result.limitReached = true;
            break;
        }
    }
    return true;
}

Engine::Engine(StoreContext& ctx) : impl_(new Impl(ctx)) {}
Engine::~Engine() {
    delete impl_;
}

bool Engine::On() const {
    return impl_->settings.on && !impl_->settings.computer.empty();
}

void Engine::LocalChange() {
    impl_->localChange = true;
}

RunResult Engine::TurnOn(const std::filesystem::path& folder) {
    Impl& m = *impl_;
    std::error_code ec;
    const std::filesystem::path where = std::filesystem::absolute(folder, ec);
    if (ec || folder.empty()) return Problem("The sync folder cannot be used: " + folder.string());
    std::filesystem::create_directories(where, ec);
    if (!IsFolder(where)) return Problem("The sync folder cannot be made: " + where.string());
    Settings next = m.settings;
    if (next.computer.empty()) next.computer = NewComputerId();
    // A journal this computer wrote in the folder named before comes along to the new one.
    const std::filesystem::path file = JournalPath(where, next.computer);
    if (!next.folder.empty() && next.folder != where.string()) {
        const std::filesystem::path before = JournalPath(next.folder, next.computer);
        if (!FileSize(file) && FileSize(before)) std::filesystem::copy_file(before, file, ec);
    }
    uint64_t last = 0;
    if (!OpenOwnJournal(file, next.computer, last))
        return Problem("The sync folder cannot be written: " + where.string());
    next.folder = where.string();
    next.on = true;
    StoreTransaction change(m.ctx.store);
    if (!change.ok() || !SaveSettings(m.ctx.store, next) || !change.Commit())
        return Problem("The store cannot be written: sync stays off.");
    m.settings = next;
    m.localChange = true;
    m.sizesRead.clear();
    return Run();
}

bool Engine::TurnOff() {
    Impl& m = *impl_;
    if (!m.settings.on) return true;
    Settings next = m.settings;
    next.on = false;
    StoreTransaction change(m.ctx.store);
    if (!change.ok() || !SaveSettings(m.ctx.store, next) || !change.Commit()) return false;
    m.settings = next;
    return true;
}

RunResult Engine::Run() {
    Impl& m = *impl_;
    RunResult result;
    if (!On()) return result;
    if (!IsFolder(m.Folder())) return Problem("The sync folder is missing: " + m.Folder().string());
    // Another program on this store (a command line while the window runs) may have run.
    if (m.ledger && StoredGeneration(m.ctx.store) != m.settings.generation) m.Forget();
    if (!m.ReadyLedger()) return Problem("The store's sync records cannot be read.");
    // The own journal's last serial, looked at once before anything is written to it.
    const bool writing = m.localChange || !m.outboxChecked || m.outbox > 0;
    uint64_t last = 0;
    if (writing && !m.OwnJournalIsOurs(result, last)) return result;
    if (m.localChange && !m.CaptureLocal(result)) return result;
    if (!m.WriteOutbox(result, last)) return result;
    const size_t written = result.written;
    if (!m.ApplyOthers(result)) return result;
    result.written = written;
    return result;
}

bool Engine::NothingNew() {
    Impl& m = *impl_;
    if (!On()) return true;
    if (m.localChange || !m.outboxChecked || m.outbox > 0) return false;
    for (const std::string& computer : JournalsIn(m.Folder())) {
        if (computer == m.settings.computer) continue;
        auto seen = m.sizesRead.find(computer);
        if (seen == m.sizesRead.end() ||
            FileSize(JournalPath(m.Folder(), computer)) != seen->second)
            return false;
    }
    return true;
}

Status Engine::GetStatus() {
    Impl& m = *impl_;
    Status status;
    status.on = On();
    status.folder = m.settings.folder;
    status.computer = m.settings.computer;
    if (m.settings.computer.empty()) return status;
    std::map<std::string, Position> positions;
    LoadPositions(m.ctx.store, positions);
    std::vector<std::string> computers = JournalsIn(m.Folder());
    for (const auto& [computer, pos] : positions) computers.push_back(computer);
    computers.push_back(m.settings.computer);
    std::sort(computers.begin(), computers.end());
    computers.erase(std::unique(computers.begin(), computers.end()), computers.end());
    for (const std::string& computer : computers) {
        ComputerSeen& seen = status.computers.emplace_back();
        seen.id = computer;
        seen.self = computer == m.settings.computer;
        if (seen.self) {
            seen.changes = m.settings.serial;
            if (m.settings.serial > 0) seen.lastSeen = m.settings.lastWritten;
            continue;
        }
        const Position pos = positions[computer];
        if (pos.changes > 0) seen.lastSeen = pos.lastSeen;
        seen.changes = pos.changes;
        Position at = pos;
        for (bool more = true; more;) {
            uint64_t skippedTo = at.offset;
            const std::vector<ReadLine> lines =
                NewLines(JournalPath(m.Folder(), computer), computer, at, skippedTo, more);
            seen.waiting += lines.size();
            if (!lines.empty()) {
                at.offset = lines.back().end;
                at.serial = lines.back().change.serial;
            } else if (skippedTo > at.offset) {
                at.offset = skippedTo;
            } else {
                break;
            }
        }
    }
    status.unwritten = m.CountOutbox();
    return status;
}

}  // namespace qv::sync
