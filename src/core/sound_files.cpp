// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sound_files.h"

#include <cctype>
#include <cstring>

#include "core/byte_io.h"
#include "core/strings.h"

namespace qv {

Status readAmbWavNames(const std::string& path, const uint8_t* data, size_t size, std::vector<std::string>& names)
{
    names.clear();
    std::string text(size, '*');
    for (size_t i = 0; i < size; ++i)
        if (data[i] > 0x20 && data[i] < 0x7F)  // isgraph in the C locale
            text[i] = static_cast<char>(data[i]);

    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    if (text.size() < 4 || lower(text[0]) != 'p' || lower(text[1]) != 'r' || lower(text[2]) != 'g' ||
        lower(text[3]) != 'm')
        return Status::failure(formatMessage(str::IDS_AMB_NOT_VALID, {path}));
    if (text.find(".wav") == std::string::npos)
        return Status::failure(formatMessage(str::IDS_AMB_NO_WAV_FILES, {path}));

    size_t start = 0;
    for (size_t p = text.find(".wav"); p != std::string::npos; p = text.find(".wav", start)) {
        const size_t star = text.rfind('*', p);
        const size_t from = star == std::string::npos || star < start ? start : star + 1;
        names.push_back(text.substr(from, p - from));
        start = p + 4;
    }
    return Status::success();
}

uint64_t WavInfo::durationMs() const
{
    const uint64_t bytesPerSecond = uint64_t(sampleRate) * channels * ((bitsPerSample + 7) / 8);
    return bytesPerSecond ? uint64_t(dataBytes) * 1000 / bytesPerSecond : 0;
}

Status readWavInfo(const std::string& path, const uint8_t* data, size_t size, WavInfo& out)
{
    out = WavInfo{};
    const Status bad = Status::failure(formatMessage(str::IDS_WAV_NOT_VALID, {path}));
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return bad;
    // The RIFF size may be a little off in files written by careless tools; the chunks
    // themselves must fit in the file.
    bool haveFormat = false, haveData = false;
    size_t pos = 12;
    while (pos + 8 <= size && !haveData) {
        const uint32_t length = getLE32(data + pos + 4);
        const uint8_t* body = data + pos + 8;
        const size_t room = size - pos - 8;
        if (std::memcmp(data + pos, "fmt ", 4) == 0) {
            if (length < 16 || length > room) return bad;
            out.format = getLE16(body);
            out.channels = getLE16(body + 2);
            out.sampleRate = getLE32(body + 4);
            const uint32_t byteRate = getLE32(body + 8);
            const uint16_t blockAlign = getLE16(body + 12);
            out.bitsPerSample = getLE16(body + 14);
            const bool knownFormat = out.format == 1 || out.format == 3 || out.format == 0xFFFE;
            const bool knownBits = out.bitsPerSample == 8 || out.bitsPerSample == 16 || out.bitsPerSample == 24 ||
                                   out.bitsPerSample == 32;
            if (!knownFormat || !knownBits || out.channels == 0 || out.channels > 8 || out.sampleRate < 1000 ||
                out.sampleRate > 384000 || blockAlign != out.channels * out.bitsPerSample / 8 ||
                byteRate != out.sampleRate * blockAlign)
                return bad;
            haveFormat = true;
        } else if (std::memcmp(data + pos, "data", 4) == 0) {
            if (!haveFormat || length > room) return bad;
            out.dataBytes = length;
            haveData = true;
        } else if (length > room) {
            return bad;
        }
        pos += 8 + size_t(length) + (length & 1);
    }
    return haveData ? Status::success() : bad;
}

}  // namespace qv
