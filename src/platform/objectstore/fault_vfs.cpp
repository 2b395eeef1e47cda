// The failing file layer: every call goes to the system's own layer, except the one armed.
// Memory-mapped reads are refused, so every page read passes through xRead and is counted.
#include "platform/objectstore/fault_vfs.h"

#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdio>

namespace qv {
namespace {

struct Faults {
    std::array<int, 3> calls{};  // by IoPoint
    IoPoint point = IoPoint::Write;
    int nth = 0;  // 0: nothing armed
    IoError error = IoError::Failed;
    bool lasting = false;
    bool hit = false;
    int crashStatus = -1;  // the process ends with it at the armed call; -1: the call fails
};

Faults faults;  // the layer is one per process, as SQLite's list of layers is

sqlite3_vfs* Base(sqlite3_vfs* vfs) {
    return static_cast<sqlite3_vfs*>(vfs->pAppData);
}

// Counts the call; the error code when it is the one to fail.
int Check(IoPoint point, int failedCode) {
    const int count = ++faults.calls[static_cast<std::size_t>(point)];
    if (faults.nth == 0 || point != faults.point) return SQLITE_OK;
    if (count == faults.nth || (faults.lasting && count > faults.nth)) {
        faults.hit = true;
        if (faults.crashStatus >= 0) {
            std::fflush(stdout);
            _exit(faults.crashStatus);
        }
        return faults.error == IoError::DiskFull ? SQLITE_FULL : failedCode;
    }
    return SQLITE_OK;
}

// Our file, with the system layer's file right behind it in the same allocation.
struct FaultFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* f) {
    return reinterpret_cast<FaultFile*>(f)->real;
}

int Close(sqlite3_file* f) {
    return Real(f)->pMethods->xClose(Real(f));
}
int Read(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
    if (int rc = Check(IoPoint::Read, SQLITE_IOERR_READ)) return rc;
    return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int Write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    if (int rc = Check(IoPoint::Write, SQLITE_IOERR_WRITE)) return rc;
    return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
    if (int rc = Check(IoPoint::Write, SQLITE_IOERR_TRUNCATE)) return rc;
    return Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file* f, int flags) {
    if (int rc = Check(IoPoint::Sync, SQLITE_IOERR_FSYNC)) return rc;
    return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
    return Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file* f, int level) {
    return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
    return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
    return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
    return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) {
    return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
    return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
    return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) {
    Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file* f, int deleteFlag) {
    return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag);
}
int Fetch(sqlite3_file*, sqlite3_int64, int, void** out) {
    *out = nullptr;  // read it through xRead instead
    return SQLITE_OK;
}
int Unfetch(sqlite3_file*, sqlite3_int64, void*) {
    return SQLITE_OK;
}

// One table per version of the system layer's file methods, so we never offer more than it has.
std::array<sqlite3_io_methods, 3> MakeMethods() {
    std::array<sqlite3_io_methods, 3> all{};
    for (int i = 0; i < 3; ++i) {
        all[i] = sqlite3_io_methods{i + 1,
                                    Close,
                                    Read,
                                    Write,
                                    Truncate,
                                    Sync,
                                    FileSize,
                                    Lock,
                                    Unlock,
                                    CheckReservedLock,
                                    FileControl,
                                    SectorSize,
                                    DeviceCharacteristics,
                                    i >= 1 ? ShmMap : nullptr,
                                    i >= 1 ? ShmLock : nullptr,
                                    i >= 1 ? ShmBarrier : nullptr,
                                    i >= 1 ? ShmUnmap : nullptr,
                                    i >= 2 ? Fetch : nullptr,
                                    i >= 2 ? Unfetch : nullptr};
    }
    return all;
}
const std::array<sqlite3_io_methods, 3> kMethods = MakeMethods();

int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<FaultFile*>(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    const int rc = Base(vfs)->xOpen(Base(vfs), name, file->real, flags, outFlags);
    if (file->real->pMethods == nullptr) return rc;
    const int version = file->real->pMethods->iVersion;
    file->base.pMethods = &kMethods[static_cast<std::size_t>(version < 1   ? 1
                                                             : version > 3 ? 3
                                                                           : version) -
                                    1];
    return rc;
}
int Delete(sqlite3_vfs* vfs, const char* name, int syncDir) {
    return Base(vfs)->xDelete(Base(vfs), name, syncDir);
}
int Access(sqlite3_vfs* vfs, const char* name, int flags, int* out) {
    return Base(vfs)->xAccess(Base(vfs), name, flags, out);
}
int FullPathname(sqlite3_vfs* vfs, const char* name, int size, char* out) {
    return Base(vfs)->xFullPathname(Base(vfs), name, size, out);
}
void* DlOpen(sqlite3_vfs* vfs, const char* name) {
    return Base(vfs)->xDlOpen(Base(vfs), name);
}
void DlError(sqlite3_vfs* vfs, int size, char* out) {
    Base(vfs)->xDlError(Base(vfs), size, out);
}
void (*DlSym(sqlite3_vfs* vfs, void* handle, const char* symbol))(void) {
    return Base(vfs)->xDlSym(Base(vfs), handle, symbol);
}
void DlClose(sqlite3_vfs* vfs, void* handle) {
    Base(vfs)->xDlClose(Base(vfs), handle);
}
int Randomness(sqlite3_vfs* vfs, int size, char* out) {
    return Base(vfs)->xRandomness(Base(vfs), size, out);
}
int Sleep(sqlite3_vfs* vfs, int microseconds) {
    return Base(vfs)->xSleep(Base(vfs), microseconds);
}
int CurrentTime(sqlite3_vfs* vfs, double* out) {
    return Base(vfs)->xCurrentTime(Base(vfs), out);
}
int GetLastError(sqlite3_vfs* vfs, int size, char* out) {
    return Base(vfs)->xGetLastError(Base(vfs), size, out);
}
int CurrentTimeInt64(sqlite3_vfs* vfs, sqlite3_int64* out) {
    return Base(vfs)->xCurrentTimeInt64(Base(vfs), out);
}

}  // namespace

bool RegisterFaultVfs() {
    static const bool registered = [] {
        if (sqlite3_initialize() != SQLITE_OK) return false;
        sqlite3_vfs* base = sqlite3_vfs_find(nullptr);
        if (base == nullptr || base->iVersion < 2) return false;
        static sqlite3_vfs vfs{};
        vfs.iVersion = 2;
        vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + base->szOsFile;
        vfs.mxPathname = base->mxPathname;
        vfs.zName = kFaultVfsName;
        vfs.pAppData = base;
        vfs.xOpen = Open;
        vfs.xDelete = Delete;
        vfs.xAccess = Access;
        vfs.xFullPathname = FullPathname;
        vfs.xDlOpen = DlOpen;
        vfs.xDlError = DlError;
        vfs.xDlSym = DlSym;
        vfs.xDlClose = DlClose;
        vfs.xRandomness = Randomness;
        vfs.xSleep = Sleep;
        vfs.xCurrentTime = CurrentTime;
        vfs.xGetLastError = GetLastError;
        vfs.xCurrentTimeInt64 = CurrentTimeInt64;
        return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
    }();
    return registered;
}

void ArmIoFault(IoPoint point, int nth, IoError error, bool lasting) {
    faults = Faults{};
    faults.point = point;
    faults.nth = nth < 0 ? 0 : nth;
    faults.error = error;
    faults.lasting = lasting;
}

void ArmIoCrash(IoPoint point, int nth, int exitStatus) {
    ArmIoFault(point, nth);
    faults.crashStatus = exitStatus < 0 ? 0 : exitStatus;
}

void DisarmIoFault() {
    faults.nth = 0;
}

int IoCallsSinceArmed(IoPoint point) {
    return faults.calls[static_cast<std::size_t>(point)];
}

bool IoFaultHit() {
    return faults.hit;
}

}  // namespace qv
