// Test hook: a SQLite file layer over the system's own that fails a chosen read, write or sync,
// the way a failing or full disk does, so tests see a store change break half way.
#pragma once

namespace qv {

// The layer's name, for OpenObjectStoreFile(file, kFaultVfsName).
inline constexpr char kFaultVfsName[] = "quorvella-fault";

enum class IoPoint { Read, Write, Sync };  // a write is also a truncation
enum class IoError { Failed, DiskFull };

// Makes the layer available (once; it never becomes the default). False when SQLite refuses.
bool RegisterFaultVfs();

// Counting of every kind starts again now; the nth call of `point` (1 = the next one) fails, and
// with `lasting` every later call of that kind fails too, as on a disk that has filled up.
void ArmIoFault(IoPoint point, int nth, IoError error = IoError::Failed, bool lasting = false);
// Instead of failing, the nth call of `point` ends the process at once with _exit(exitStatus),
// before the call reaches the disk: no destructor runs and nothing more is written, as when
// the program crashes between two writes. Standard output is flushed first, so what the
// process printed up to then is not lost with it. Counting of every kind starts again now.
void ArmIoCrash(IoPoint point, int nth, int exitStatus);
// Nothing fails any more; the counts go on.
void DisarmIoFault();

// Calls of that kind through the layer since the last arming.
int IoCallsSinceArmed(IoPoint point);
// Whether the armed call has been reached (and failed).
bool IoFaultHit();

}  // namespace qv
