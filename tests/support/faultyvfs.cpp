#include "support/faultyvfs.h"

#include <sqlite3.h>

#include <mutex>
#include <utility>

namespace faultyvfs {
namespace {

constexpr const char *kName = "faulty";

struct State
{
    Fault fault = Fault::Write;
    int n = 0;
    int count = 0;
    bool armed = false;
    bool fired = false;
    // What happens instead of the failure.
    std::function<void()> event;
};

State &state()
{
    static State s;
    return s;
}

// Whether the operation counted now is to fail.
bool failsNow(Fault fault)
{
    State &s = state();
    if (!s.armed || s.event || s.fault != fault)
        return false;
    ++s.count;
    const bool fails = fault == Fault::Full ? s.count >= s.n : s.count == s.n;
    s.fired = s.fired || fails;
    return fails;
}

// Counts a read or write for the armed event, which happens before the Nth.
void eventBefore()
{
    State &s = state();
    if (!s.armed || !s.event || ++s.count != s.n)
        return;
    s.fired = true;
    s.event();
}

// The file as SQLite sees it, with the system's own file right behind it.
struct File
{
    sqlite3_file base;
    sqlite3_file *real;
};

sqlite3_vfs *realVfs()
{
    static sqlite3_vfs *vfs = sqlite3_vfs_find(nullptr);
    return vfs;
}

sqlite3_file *real(sqlite3_file *file)
{
    return reinterpret_cast<File *>(file)->real;
}

const sqlite3_io_methods &methodsOf(sqlite3_file *file)
{
    return *real(file)->pMethods;
}

int fileClose(sqlite3_file *file)
{
    return methodsOf(file).xClose(real(file));
}

int fileRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    eventBefore();
    return methodsOf(file).xRead(real(file), buffer, amount, offset);
}

int fileWrite(sqlite3_file *file, const void *buffer, int amount, sqlite3_int64 offset)
{
    eventBefore();
    if (failsNow(Fault::Write))
        return SQLITE_IOERR_WRITE;
    sqlite3_int64 size = 0;
    if (state().armed && state().fault == Fault::Full &&
        methodsOf(file).xFileSize(real(file), &size) == SQLITE_OK && offset + amount > size &&
        failsNow(Fault::Full))
        return SQLITE_FULL;
    return methodsOf(file).xWrite(real(file), buffer, amount, offset);
}

int fileTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    return methodsOf(file).xTruncate(real(file), size);
}

// A test needs no data on the disk itself, and waiting for it would be most of its time.
int fileSync(sqlite3_file *, int)
{
    return failsNow(Fault::Sync) ? SQLITE_IOERR_FSYNC : SQLITE_OK;
}

int fileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return methodsOf(file).xFileSize(real(file), size);
}

int fileLock(sqlite3_file *file, int lock)
{
    return methodsOf(file).xLock(real(file), lock);
}

int fileUnlock(sqlite3_file *file, int lock)
{
    return methodsOf(file).xUnlock(real(file), lock);
}

int fileCheckReservedLock(sqlite3_file *file, int *out)
{
    return methodsOf(file).xCheckReservedLock(real(file), out);
}

int fileControl(sqlite3_file *file, int op, void *arg)
{
    return methodsOf(file).xFileControl(real(file), op, arg);
}

int fileSectorSize(sqlite3_file *file)
{
    return methodsOf(file).xSectorSize(real(file));
}

int fileDeviceCharacteristics(sqlite3_file *file)
{
    return methodsOf(file).xDeviceCharacteristics(real(file));
}

int fileShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **out)
{
    return methodsOf(file).xShmMap(real(file), region, size, extend, out);
}

int fileShmLock(sqlite3_file *file, int offset, int n, int flags)
{
    return methodsOf(file).xShmLock(real(file), offset, n, flags);
}

void fileShmBarrier(sqlite3_file *file)
{
    methodsOf(file).xShmBarrier(real(file));
}

int fileShmUnmap(sqlite3_file *file, int deleteFlag)
{
    return methodsOf(file).xShmUnmap(real(file), deleteFlag);
}

int fileFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **out)
{
    return methodsOf(file).xFetch(real(file), offset, amount, out);
}

int fileUnfetch(sqlite3_file *file, sqlite3_int64 offset, void *page)
{
    return methodsOf(file).xUnfetch(real(file), offset, page);
}

constexpr sqlite3_io_methods kMethods = {
    3,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    fileShmMap,
    fileShmLock,
    fileShmBarrier,
    fileShmUnmap,
    fileFetch,
    fileUnfetch,
};

int vfsOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *faulty = reinterpret_cast<File *>(file);
    faulty->real = reinterpret_cast<sqlite3_file *>(faulty + 1);
    const int rc = realVfs()->xOpen(realVfs(), name, faulty->real, flags, outFlags);
    faulty->base.pMethods = faulty->real->pMethods ? &kMethods : nullptr;
    return rc;
}

int vfsDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    return realVfs()->xDelete(realVfs(), name, syncDir);
}

int vfsAccess(sqlite3_vfs *, const char *name, int flags, int *out)
{
    return realVfs()->xAccess(realVfs(), name, flags, out);
}

int vfsFullPathname(sqlite3_vfs *, const char *name, int size, char *out)
{
    return realVfs()->xFullPathname(realVfs(), name, size, out);
}

void *vfsDlOpen(sqlite3_vfs *, const char *name)
{
    return realVfs()->xDlOpen(realVfs(), name);
}

void vfsDlError(sqlite3_vfs *, int size, char *out)
{
    realVfs()->xDlError(realVfs(), size, out);
}

void (*vfsDlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return realVfs()->xDlSym(realVfs(), handle, symbol);
}

void vfsDlClose(sqlite3_vfs *, void *handle)
{
    realVfs()->xDlClose(realVfs(), handle);
}

int vfsRandomness(sqlite3_vfs *, int size, char *out)
{
    return realVfs()->xRandomness(realVfs(), size, out);
}

int vfsSleep(sqlite3_vfs *, int microseconds)
{
    return realVfs()->xSleep(realVfs(), microseconds);
}

int vfsCurrentTime(sqlite3_vfs *, double *out)
{
    return realVfs()->xCurrentTime(realVfs(), out);
}

int vfsGetLastError(sqlite3_vfs *, int size, char *out)
{
    return realVfs()->xGetLastError(realVfs(), size, out);
}

int vfsCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *out)
{
    return realVfs()->xCurrentTimeInt64(realVfs(), out);
}

sqlite3_vfs &vfs()
{
    static sqlite3_vfs faulty = {
        2,
        static_cast<int>(sizeof(File)) + realVfs()->szOsFile,
        realVfs()->mxPathname,
        nullptr,
        kName,
        nullptr,
        vfsOpen,
        vfsDelete,
        vfsAccess,
        vfsFullPathname,
        vfsDlOpen,
        vfsDlError,
        vfsDlSym,
        vfsDlClose,
        vfsRandomness,
        vfsSleep,
        vfsCurrentTime,
        vfsGetLastError,
        vfsCurrentTimeInt64,
        nullptr,
        nullptr,
        nullptr,
    };
    return faulty;
}

} // namespace

std::string uri(const std::string &file)
{
    static std::once_flag registered;
    std::call_once(registered, [] { sqlite3_vfs_register(&vfs(), 0); });
    return "file:" + file + "?vfs=" + kName;
}

void arm(Fault fault, int n)
{
    state() = {fault, n, 0, true, false, {}};
}

void armEvent(int n, std::function<void()> event)
{
    state() = {Fault::Write, n, 0, true, false, std::move(event)};
}

void disarm()
{
    state().armed = false;
}

bool fired()
{
    return state().fired;
}

int counted()
{
    return state().count;
}

} // namespace faultyvfs
