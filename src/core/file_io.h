// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Whole-file reading and crash-safe whole-file writing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/byte_io.h"

namespace qv {

// Reads a whole file into `out`. False when it cannot be opened or read, or when it is
// larger than `maxBytes`.
bool readWholeFile(const std::string& path, Bytes& out, uint64_t maxBytes = UINT64_MAX);

// Asks the system to start reading the file at `path` into memory now, without waiting, so
// that reading it later finds it there. Only a hint: nothing happens where the system has
// no such request or the file cannot be opened.
void prefetchFile(const std::string& path);

// Writes `data` to `path` so that a crash never leaves a half-written file: the bytes go
// to a temporary file (on Linux one without a name, so that nothing is left behind when
// the program is stopped meanwhile), are flushed to disk, and the temporary file takes
// the target's name, replacing the old file at once. False (and the target untouched) on
// any failure.
bool writeFileAtomic(const std::string& path, const uint8_t* data, size_t size);
inline bool writeFileAtomic(const std::string& path, const Bytes& data)
{
    return writeFileAtomic(path, data.data(), data.size());
}

// True when `path` could be written without changing anything now: its folder exists and
// this process may create files in it, and an existing file opens for writing without
// being truncated. (On Windows, where folder permissions cannot be asked, a file is
// created in the folder and removed again.)
bool canWriteFile(const std::string& path);

// One file of a set written as one unit: new contents for `path`, or (remove) the
// removal of an existing file of that name.
struct FileWrite {
    std::string path;
    Bytes data;
    bool remove = false;
};

// Writes several files as one unit. Every new content goes first to a temporary file in
// its target's folder; only when all of them are on disk are they moved into place, in
// the order given (so the file that makes the set usable comes last). When any step
// fails, the files already moved are put back as they were, every temporary file is
// removed, `failed` (when given) receives the index of the file that failed, and the
// result is false: each target then holds exactly what it held before. A read-only
// target counts as a failure, as a plain overwrite would have failed.
bool writeFilesAsUnit(const std::vector<FileWrite>& files, size_t* failed = nullptr);

// writeFilesAsUnit in two halves, so that many units can be made durable at once: their
// flushes overlap and share the file system's journal commits instead of each waiting for
// the disk in turn. A unit is complete (and, where it replaces files, on disk) before any
// of its files takes its name.
//
// Where the system allows it (Linux), a file is staged as an open file without a name: it
// only appears under a name at the commit, and a batch that is interrupted leaves no
// temporary file behind.
class UnnamedFile {
public:
    UnnamedFile() = default;
    explicit UnnamedFile(int fd) : fd_(fd) {}
    UnnamedFile(UnnamedFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    UnnamedFile& operator=(UnnamedFile&& other) noexcept;
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;
    ~UnnamedFile() { close(); }

    bool isOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    // Closes the file; one never given a name is gone.
    void close();

private:
    int fd_ = -1;
};

struct StagedUnit {
    struct File {
        std::string target;
        std::string temporary;  // the new contents until moved into place (named)
        bool flush = true;      // flushed to disk before it takes the target's name
        UnnamedFile unnamed;    // or the new contents in a file without a name
        bool isRemoval() const { return temporary.empty() && !unnamed.isOpen(); }
    };
    std::vector<File> files;
};

// The first half: checks every target and writes the new contents to temporary files
// beside them, not yet flushed. On failure nothing is left behind, `failed` (when given)
// receives the index of the file that failed, and the result is false. Without
// `flushNewFiles`, only the files that replace an existing one are to be flushed later.
bool stageFilesAsUnit(const std::vector<FileWrite>& files, StagedUnit& unit, size_t* failed = nullptr,
                      bool flushNewFiles = true);
// The second half, for several units: flushes the temporary files of `units` that are to be
// flushed, then moves each unit into place as writeFilesAsUnit does. A unit that fails is undone
// and its temporary files removed; the others are not affected. Returns, for each unit,
// the index of the file that failed, or the unit's file count when it was placed.
std::vector<size_t> commitStagedUnits(std::vector<StagedUnit>& units);
// Removes (or closes) a staged unit's temporary files without placing anything (the
// targets stay listed).
void discardStagedUnit(StagedUnit& unit);

// While it lives, writeFilesAsUnit and writeFileAtomic calls on the thread that made it
// whose targets are all among `targets` only stage their files and pass the unit to
// `sink`, returning true: whoever owns the sink commits the units later (a batch's
// committing thread). Other writes, and writes on other threads, are not affected.
// Without `flushNewFiles` the staged files that create a new file are not flushed to disk
// before they take their name, only those that replace one: a crash then may cost a new
// file its contents, but never an existing file its old ones.
class DeferredCommitScope {
public:
    DeferredCommitScope(const std::vector<std::string>& targets, std::function<void(StagedUnit&&)> sink,
                        bool flushNewFiles = true);
    DeferredCommitScope(const DeferredCommitScope&) = delete;
    DeferredCommitScope& operator=(const DeferredCommitScope&) = delete;
    ~DeferredCommitScope();

    bool takes(const std::string& target) const;
    void hand(StagedUnit&& unit) const { sink_(std::move(unit)); }
    bool flushesNewFiles() const { return flushNewFiles_; }

private:
    std::vector<std::string> targets_;  // normalised
    std::function<void(StagedUnit&&)> sink_;
    bool flushNewFiles_;
    DeferredCommitScope* previous_;
};

// For tests: a hook asked before each step of writeFilesAsUnit; returning true makes that
// step fail as a full disk or a read-only file would. Steps: checking the target can be
// written, writing its temporary file, moving it into place. nullptr removes the hook.
enum class FileWriteStep { Check, Stage, Move };
using FileWriteFaultHook = std::function<bool(FileWriteStep step, const std::string& path)>;
void setFileWriteFaultHook(FileWriteFaultHook hook);

// For tests: whether files may be staged without a name where the system has them (the
// default). Without, every write takes the named temporary files of other systems; without
// `linkable`, they act as on a file system that cannot give such files a name.
void allowUnnamedFiles(bool allow, bool linkable = true);

bool fileExists(const std::string& path);

// The extension after the last dot of the file name, without the dot ("" when none).
std::string fileExtension(const std::string& path);
// Compares ASCII strings without regard to case.
bool equalsNoCase(const std::string& a, const std::string& b);

}  // namespace qv
