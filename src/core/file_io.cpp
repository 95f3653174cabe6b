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

bool writeFileAtomic(const std::string& path, const uint8_t* data, size_t size)
{
    std::error_code ec;
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    if (!fs::is_directory(dir, ec)) return false;
    // A read-only target must stay untouched, as a plain overwrite would have failed.
    if (fs::exists(target, ec)) {
        std::FILE* probe = std::fopen(path.c_str(), "r+b");
        if (!probe) return false;
        std::fclose(probe);
    }

    std::random_device rd;
    fs::path tmp;
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 16 && !f; ++attempt) {
        tmp = dir / ("." + target.filename().string() + "." + std::to_string(rd() % 1000000u) + ".tmp");
        if (fs::exists(tmp, ec)) continue;
        f = std::fopen(tmp.string().c_str(), "wb");
    }
    if (!f) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = flushToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok) {
#ifdef _WIN32
        ok = MoveFileExA(tmp.string().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
        ok = std::rename(tmp.string().c_str(), path.c_str()) == 0;
#endif
    }
    if (!ok) fs::remove(tmp, ec);
    return ok;
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
