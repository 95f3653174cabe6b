// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_io.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
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

// A name in the target's folder that nothing uses yet: "." + the target's name + a
// random number + `suffix`, so the file sits beside its target and hides from listings.
fs::path freeNameBeside(const fs::path& target, const char* suffix)
{
    std::random_device rd;
    std::error_code ec;
    for (int attempt = 0; attempt < 64; ++attempt) {
        const fs::path p = folderOfTarget(target) /
                           ("." + target.filename().string() + "." + std::to_string(rd() % 1000000u) + suffix);
        if (!fs::exists(p, ec) && !ec) return p;
    }
    return {};
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

// Writes `data` to a new temporary file beside `target` and flushes it to disk; its path
// goes to `tmp`. Nothing is left behind on failure.
bool stageFile(const fs::path& target, const uint8_t* data, size_t size, fs::path& tmp)
{
    tmp = freeNameBeside(target, ".tmp");
    if (tmp.empty()) return false;
    std::FILE* f = std::fopen(tmp.string().c_str(), "wb");
    if (!f) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = flushToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (!ok) fs::remove(tmp, ec);
    return ok;
}

}  // namespace

bool writeFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    const fs::path target(path);
    // A read-only target must stay untouched, as a plain overwrite would have failed.
    if (!targetWritable(target)) return false;
    fs::path tmp;
    if (!stageFile(target, data, size, tmp)) return false;
    if (moveFile(tmp, target)) return true;
    std::error_code ec;
    fs::remove(tmp, ec);
    return false;
}

bool canWriteFile(const std::string& path)
{
    const fs::path target(path);
    if (!targetWritable(target)) return false;
    const fs::path probe = freeNameBeside(target, ".tmp");
    if (probe.empty()) return false;
    std::FILE* f = std::fopen(probe.string().c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

void setFileWriteFaultHook(FileWriteFaultHook hook)
{
    faultHook() = std::move(hook);
}

bool writeFilesAsUnit(const std::vector<FileWrite>& files, size_t* failed)
{
    // What has been done for each file, so that a failure can undo it.
    struct Step {
        fs::path target;
        fs::path staged;  // the new contents, until moved into place
        fs::path backup;  // the old file, moved aside until the whole set is in place
        bool placed = false;
    };
    std::vector<Step> steps(files.size());
    std::error_code ec;

    auto undo = [&](size_t at) {
        for (size_t k = steps.size(); k-- > 0;) {
            Step& s = steps[k];
            if (s.placed) fs::remove(s.target, ec);
            if (!s.backup.empty()) moveFile(s.backup, s.target);
            if (!s.staged.empty()) fs::remove(s.staged, ec);
        }
        if (failed) *failed = at;
        return false;
    };

    for (size_t i = 0; i < files.size(); ++i) {
        Step& s = steps[i];
        s.target = fs::path(files[i].path);
        if (injectedFault(FileWriteStep::Check, files[i].path) || !targetWritable(s.target)) return undo(i);
        if (files[i].remove) continue;
        if (injectedFault(FileWriteStep::Stage, files[i].path) ||
            !stageFile(s.target, files[i].data.data(), files[i].data.size(), s.staged))
            return undo(i);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        Step& s = steps[i];
        if (injectedFault(FileWriteStep::Move, files[i].path)) return undo(i);
        if (fs::exists(s.target, ec)) {
            const fs::path aside = freeNameBeside(s.target, ".old");
            if (aside.empty() || !moveFile(s.target, aside)) return undo(i);
            s.backup = aside;
        }
        if (files[i].remove) continue;
        if (!moveFile(s.staged, s.target)) return undo(i);
        s.staged.clear();
        s.placed = true;
    }
    for (const Step& s : steps)
        if (!s.backup.empty()) fs::remove(s.backup, ec);
    if (failed) *failed = files.size();
    return true;
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
