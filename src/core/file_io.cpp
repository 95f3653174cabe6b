// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_io.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qv {

namespace fs = std::filesystem;

bool readWholeFile(const std::string& path, Bytes& out, uint64_t maxBytes)
{
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long len = ok ? std::ftell(f) : -1;
    ok = ok && len >= 0 && static_cast<uint64_t>(len) <= maxBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<size_t>(len));
        ok = len == 0 || std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    std::fclose(f);
    if (!ok) out.clear();
    return ok;
}

void prefetchFile(const std::string& path)
{
#ifdef __linux__
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    ::close(fd);
#else
    (void)path;
#endif
}

static bool flushToDisk(std::FILE* f)
{
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(fileno(f)) == 0;
#endif
}

namespace {

// Made before main() rather than on first use, so that writers on several threads at
// once never race to construct it; only tests set it, before anything is written.
FileWriteFaultHook g_faultHook;

FileWriteFaultHook& faultHook() { return g_faultHook; }

bool injectedFault(FileWriteStep step, const std::string& path)
{
    const FileWriteFaultHook& hook = faultHook();
    return hook && hook(step, path);
}

fs::path folderOfTarget(const fs::path& target)
{
    fs::path dir = target.parent_path();
    return dir.empty() ? fs::path(".") : dir;
}

// A name beside `target` for a file of ours: "." + the target's name + a random number +
// `suffix`, so the file sits beside its target and hides from listings.
fs::path nameBeside(const fs::path& target, const char* suffix)
{
    // One generator per thread, seeded once: a random_device per name costs a system call.
    thread_local std::minstd_rand numbers(std::random_device{}());
    return folderOfTarget(target) /
           ("." + target.filename().string() + "." + std::to_string(numbers() % 1000000u) + suffix);
}

// A name beside `target` that nothing uses yet, for a file to be moved there.
fs::path freeNameBeside(const fs::path& target, const char* suffix)
{
    std::error_code ec;
    for (int attempt = 0; attempt < 64; ++attempt) {
        const fs::path p = nameBeside(target, suffix);
        if (!fs::exists(p, ec) && !ec) return p;
    }
    return {};
}

// A new file beside `target` under a name nothing used, open for writing; its path goes to
// `made`. nullptr when none can be made. The name is taken as the file is created, so two
// threads never get the same one, and no lookup of a missing name comes first (such a
// lookup waits for every other change being made in that folder).
std::FILE* createFileBeside(const fs::path& target, const char* suffix, fs::path& made)
{
    for (int attempt = 0; attempt < 64; ++attempt) {
        const fs::path p = nameBeside(target, suffix);
#ifdef _WIN32
        std::error_code ec;
        if (fs::exists(p, ec) || ec) continue;
        std::FILE* f = std::fopen(p.string().c_str(), "wb");
#else
        std::FILE* f = std::fopen(p.string().c_str(), "wbx");  // fails when the name is taken
        if (!f && errno != EEXIST) return nullptr;
#endif
        if (f) {
            made = p;
            return f;
        }
    }
    return nullptr;
}

// An existing file must open for writing (without truncation) and its folder must exist.
bool targetWritable(const fs::path& target)
{
    std::error_code ec;
    if (!fs::is_directory(folderOfTarget(target), ec)) return false;
    if (!fs::exists(target, ec)) return !ec;
    std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

bool moveFile(const fs::path& from, const fs::path& to)
{
#ifdef _WIN32
    return MoveFileExA(from.string().c_str(), to.string().c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.string().c_str(), to.string().c_str()) == 0;
#endif
}

// Flushes the file at `path` to disk.
bool flushFileToDisk(const fs::path& path)
{
#ifdef _WIN32
    const int fd = _open(path.string().c_str(), _O_RDWR | _O_BINARY);
    if (fd < 0) return false;
    const bool ok = _commit(fd) == 0;
    return _close(fd) == 0 && ok;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
#endif
}

// What becomes of a temporary file's data once written: flushed to disk before the call
// returns, its write-back started (the flush comes later), or left to the system.
enum class StageFlush { Now, Start, Never };

std::atomic<bool> g_unnamedAllowed{true};
std::atomic<bool> g_unnamedLinkable{true};  // false: tests act a file system that cannot link them

#ifdef __linux__
// Files without a name can be given one through /proc/self/fd, where it is mounted.
bool canNameUnnamedFiles()
{
    static const bool yes = ::access("/proc/self/fd", X_OK) == 0;
    return yes && g_unnamedAllowed;
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}
#endif

// Writes `data` to a new file without a name in `target`'s folder, flushed as `flush` says;
// not open when the system or the file system has no such files, or the write fails. A
// program stopped or crashing before the file takes its name leaves nothing behind. And
// creating it does not lock the folder, as creating a named file does: threads that write
// many files into one folder do not wait for each other's file creation, only for the
// moment each file takes its name.
UnnamedFile stageUnnamedFile(const fs::path& target, const uint8_t* data, size_t size, StageFlush flush)
{
#if defined(__linux__) && defined(O_TMPFILE)
    if (!canNameUnnamedFiles()) return {};
    // Readable too, for a copy when it cannot be given a name.
    UnnamedFile f(::open(folderOfTarget(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
    if (f.isOpen() && !writeAll(f.descriptor(), data, size)) f.close();
    if (f.isOpen() && flush == StageFlush::Now && ::fsync(f.descriptor()) != 0) f.close();
    if (f.isOpen() && flush == StageFlush::Start) ::sync_file_range(f.descriptor(), 0, 0, SYNC_FILE_RANGE_WRITE);
    return f;
#else
    (void)target;
    (void)data;
    (void)size;
    (void)flush;
    return {};
#endif
}

#ifdef __linux__
// Copies the unnamed file `f` into a new file beside `to`, flushed to disk; its path goes
// to `made`. For a file system that makes files without a name but cannot give them one.
bool copyUnnamedFileBeside(const UnnamedFile& f, const fs::path& to, fs::path& made)
{
    std::FILE* out = createFileBeside(to, ".tmp", made);
    if (!out) return false;
    std::vector<uint8_t> buffer(1 << 16);
    bool ok = true;
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(f.descriptor(), buffer.data(), buffer.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (std::fwrite(buffer.data(), 1, size_t(n), out) != size_t(n)) {
            ok = false;
            break;
        }
        at += n;
    }
    ok = flushToDisk(out) && ok;
    ok = std::fclose(out) == 0 && ok;
    std::error_code ec;
    if (!ok) fs::remove(made, ec);
    return ok;
}
#endif

// Gives the unnamed file `f` the name `to`, replacing a file of that name as a rename would
// (the new file takes a free name beside it for that moment). Where the file system cannot
// link it, a flushed copy takes its place.
bool nameUnnamedFile(UnnamedFile& f, const fs::path& to)
{
#ifdef __linux__
    const std::string self = "/proc/self/fd/" + std::to_string(f.descriptor());
    auto link = [&](const fs::path& name) {
        if (!g_unnamedLinkable) {
            errno = EPERM;
            return false;
        }
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    };
    if (link(to)) {
        f.close();
        return true;
    }
    fs::path tmp;
    for (int attempt = 0; errno == EEXIST && attempt < 64; ++attempt) {
        const fs::path free = nameBeside(to, ".tmp");
        if (link(free)) {
            tmp = free;
            break;
        }
    }
    if (tmp.empty() && !copyUnnamedFileBeside(f, to, tmp)) return false;
    if (moveFile(tmp, to)) {
        f.close();
        return true;
    }
    std::error_code ec;
    fs::remove(tmp, ec);
    return false;
#else
    (void)f;
    (void)to;
    return false;
#endif
}

// Writes `data` to a new temporary file for `target`, flushed as `flush` says: a file without
// a name in `unnamed` where the system has them, else a file beside the target whose path
// goes to `tmp`. Nothing is left behind on failure.
bool stageFile(const fs::path& target, const uint8_t* data, size_t size, StageFlush flush, fs::path& tmp,
               UnnamedFile& unnamed)
{
    unnamed = stageUnnamedFile(target, data, size, flush);
    if (unnamed.isOpen()) return true;
    std::FILE* f = createFileBeside(target, ".tmp", tmp);
    if (!f) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    if (flush == StageFlush::Now) {
        ok = flushToDisk(f) && ok;
    } else {
        ok = std::fflush(f) == 0 && ok;
#ifdef __linux__
        // The disk starts writing now, while the caller goes on; the flush later mostly finds
        // the data written.
        if (ok && flush == StageFlush::Start) ::sync_file_range(fileno(f), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    }
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (!ok) fs::remove(tmp, ec);
    return ok;
}

thread_local DeferredCommitScope* t_deferred = nullptr;

// The scope that takes a write of all of `targets` on this thread, or nullptr.
template <class Paths, class Get>
DeferredCommitScope* deferralFor(const Paths& targets, Get path)
{
    DeferredCommitScope* scope = t_deferred;
    if (!scope) return nullptr;
    for (const auto& t : targets)
        if (!scope->takes(path(t))) return nullptr;
    return scope;
}

// Moves a flushed unit into place; the index of the file that failed, or the file count.
size_t placeUnit(StagedUnit& unit)
{
    const size_t n = unit.files.size();
    std::vector<fs::path> backups(n);  // old files moved aside until the whole unit is in place
    std::vector<bool> placed(n, false);
    std::error_code ec;
    auto undo = [&](size_t at) {
        for (size_t k = n; k-- > 0;) {
            StagedUnit::File& f = unit.files[k];
            if (placed[k]) fs::remove(f.target, ec);
            if (!backups[k].empty()) moveFile(backups[k], f.target);
        }
        discardStagedUnit(unit);
        return at;
    };
    for (size_t i = 0; i < n; ++i) {
        StagedUnit::File& f = unit.files[i];
        if (injectedFault(FileWriteStep::Move, f.target)) return undo(i);
        const bool removal = f.isRemoval();
        // The last new file needs no backup: renaming over a file replaces it at once, and
        // when the rename fails the old file is still there.
        if ((removal || i + 1 < n) && fs::exists(f.target, ec)) {
            const fs::path aside = freeNameBeside(f.target, ".old");
            if (aside.empty() || !moveFile(f.target, aside)) return undo(i);
            backups[i] = aside;
        }
        if (removal) continue;
        if (f.unnamed.isOpen() ? !nameUnnamedFile(f.unnamed, f.target) : !moveFile(f.temporary, f.target))
            return undo(i);
        f.temporary.clear();
        placed[i] = true;
    }
    for (const fs::path& b : backups)
        if (!b.empty()) fs::remove(b, ec);
    return n;
}

}  // namespace

UnnamedFile& UnnamedFile::operator=(UnnamedFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void UnnamedFile::close()
{
    if (fd_ < 0) return;
#ifdef _WIN32
    _close(fd_);
#else
    ::close(fd_);
#endif
    fd_ = -1;
}

DeferredCommitScope::DeferredCommitScope(const std::vector<std::string>& targets,
                                         std::function<void(StagedUnit&&)> sink, bool flushNewFiles)
    : sink_(std::move(sink)), flushNewFiles_(flushNewFiles), previous_(t_deferred)
{
    for (const std::string& t : targets) targets_.push_back(fs::path(t).lexically_normal().string());
    t_deferred = this;
}

DeferredCommitScope::~DeferredCommitScope() { t_deferred = previous_; }

bool DeferredCommitScope::takes(const std::string& target) const
{
    const std::string t = fs::path(target).lexically_normal().string();
    return std::find(targets_.begin(), targets_.end(), t) != targets_.end();
}

bool writeFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    const fs::path target(path);
    // A read-only target must stay untouched, as a plain overwrite would have failed.
    if (!targetWritable(target)) return false;
    DeferredCommitScope* deferred = deferralFor(std::vector<std::string>{path}, [](const std::string& p) { return p; });
    const bool flush = !deferred || deferred->flushesNewFiles() || fileExists(path);
    fs::path tmp;
    UnnamedFile unnamed;
    if (!stageFile(target, data, size, !deferred ? StageFlush::Now : flush ? StageFlush::Start : StageFlush::Never, tmp,
                   unnamed))
        return false;
    if (deferred) {
        StagedUnit unit;
        unit.files.push_back({path, tmp.string(), flush, std::move(unnamed)});
        deferred->hand(std::move(unit));
        return true;
    }
    if (unnamed.isOpen() ? nameUnnamedFile(unnamed, target) : moveFile(tmp, target)) return true;
    std::error_code ec;
    if (!tmp.empty()) fs::remove(tmp, ec);
    return false;
}

bool canWriteFile(const std::string& path)
{
    const fs::path target(path);
    if (!targetWritable(target)) return false;
#ifndef _WIN32
    // Asked, not tried: a file created and removed here only to test the folder would make
    // every conversion of a batch create one more file in the folder the others write to.
    return ::faccessat(AT_FDCWD, folderOfTarget(target).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
#else
    fs::path probe;
    std::FILE* f = createFileBeside(target, ".tmp", probe);
    if (!f) return false;
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
#endif
}

void allowUnnamedFiles(bool allow, bool linkable)
{
    g_unnamedAllowed = allow;
    g_unnamedLinkable = linkable;
}

void setFileWriteFaultHook(FileWriteFaultHook hook)
{
    faultHook() = std::move(hook);
}

bool stageFilesAsUnit(const std::vector<FileWrite>& files, StagedUnit& unit, size_t* failed, bool flushNewFiles)
{
    unit.files.clear();
    for (size_t i = 0; i < files.size(); ++i) {
        const FileWrite& w = files[i];
        const fs::path target(w.path);
        fs::path tmp;
        UnnamedFile unnamed;
        const bool flush = flushNewFiles || fileExists(w.path);
        if (injectedFault(FileWriteStep::Check, w.path) || !targetWritable(target) ||
            (!w.remove &&
             (injectedFault(FileWriteStep::Stage, w.path) ||
              !stageFile(target, w.data.data(), w.data.size(), flush ? StageFlush::Start : StageFlush::Never, tmp,
                         unnamed)))) {
            discardStagedUnit(unit);
            if (failed) *failed = i;
            return false;
        }
        unit.files.push_back({w.path, tmp.string(), flush, std::move(unnamed)});
    }
    return true;
}

namespace {

// A staged file to flush: the open file without a name, or the temporary file's path.
struct ToFlush {
    int descriptor;
    std::string path;
    bool flush() const
    {
        if (descriptor < 0) return flushFileToDisk(path);
#ifdef _WIN32
        return _commit(descriptor) == 0;
#else
        return ::fsync(descriptor) == 0;
#endif
    }
};

// Flushes `paths` to disk, several at once: flushes outstanding together share the file
// system's journal commits and the disk's cache flushes, where one after the other each
// would wait for its own. True in `ok` for those flushed.
void flushAll(const std::vector<ToFlush>& paths, std::vector<char>& ok)
{
    // On ext4 over a virtual disk, a batch's committing thread flushing alone fell behind
    // even one converting thread (its flushes, one after the other, took longer than the
    // conversions); with eight at once it keeps up with two.
    constexpr size_t kFlushers = 8;
    ok.assign(paths.size(), 0);
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next++) < paths.size();) ok[i] = paths[i].flush();
    };
    std::vector<std::thread> helpers;
    try {
        for (size_t t = 1; t < std::min(kFlushers, paths.size()); ++t) helpers.emplace_back(work);
    } catch (...) {
        // No more threads: the ones there (or this one alone) flush the rest.
    }
    work();
    for (std::thread& h : helpers) h.join();
}

}  // namespace

std::vector<size_t> commitStagedUnits(std::vector<StagedUnit>& units)
{
    std::vector<size_t> result(units.size());
    std::vector<ToFlush> paths;
    std::vector<std::pair<size_t, size_t>> owners;  // unit, file
    for (size_t u = 0; u < units.size(); ++u) {
        result[u] = units[u].files.size();
        for (size_t i = 0; i < units[u].files.size(); ++i) {
            const StagedUnit::File& f = units[u].files[i];
            if (f.isRemoval() || !f.flush) continue;
            paths.push_back({f.unnamed.descriptor(), f.temporary});
            owners.emplace_back(u, i);
        }
    }
    std::vector<char> flushed;
    flushAll(paths, flushed);
    for (size_t k = 0; k < paths.size(); ++k)
        if (!flushed[k]) result[owners[k].first] = std::min(result[owners[k].first], owners[k].second);
    for (size_t u = 0; u < units.size(); ++u) {
        if (result[u] < units[u].files.size())
            discardStagedUnit(units[u]);
        else
            result[u] = placeUnit(units[u]);
    }
    return result;
}

void discardStagedUnit(StagedUnit& unit)
{
    std::error_code ec;
    for (StagedUnit::File& f : unit.files) {
        if (!f.temporary.empty()) fs::remove(f.temporary, ec);
        f.temporary.clear();
        f.unnamed.close();
    }
}

bool writeFilesAsUnit(const std::vector<FileWrite>& files, size_t* failed)
{
    DeferredCommitScope* deferred = deferralFor(files, [](const FileWrite& w) { return w.path; });
    StagedUnit unit;
    if (!stageFilesAsUnit(files, unit, failed, !deferred || deferred->flushesNewFiles())) return false;
    const size_t count = files.size();
    if (deferred) {
        deferred->hand(std::move(unit));
        if (failed) *failed = count;
        return true;
    }
    std::vector<StagedUnit> one(1);
    one[0] = std::move(unit);
    const size_t at = commitStagedUnits(one)[0];
    if (failed) *failed = at;
    return at == count;
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::string fileExtension(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

bool equalsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace qv
