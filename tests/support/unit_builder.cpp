// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/unit_builder.h"

#include <cmath>
#include <fstream>

namespace qv::test {

std::string unitIniText(const KeyValues& animations, const KeyValues& sounds, const std::string& eol)
{
    std::string s = "[Speed]" + eol + "NORMAL_SPEED=225" + eol + "FAST_SPEED=225" + eol + eol;
    s += "[Animations]" + eol;
    for (const auto& [key, value] : animations) s += key + "=" + value + eol;
    s += "STOP_AT_LAST_FRAME=" + eol + eol + "[Timing]" + eol + "DEFAULT=0.500000" + eol + eol;
    s += "[Sound Effects]" + eol;
    for (const auto& [key, value] : sounds) s += key + "=" + value + eol;
    return s;
}

Bytes buildWav(const WavShape& shape)
{
    const uint16_t align = static_cast<uint16_t>(shape.channels * shape.bitsPerSample / 8);
    const uint32_t frames = shape.sampleRate * shape.milliseconds / 1000;
    Bytes out(44 + size_t(frames) * align, 0);
    uint8_t* samples = out.data() + 44;
    for (uint32_t i = 0; i < frames && shape.bitsPerSample == 16; ++i) {
        const int v = static_cast<int>(1000 * std::sin(i * 0.2));
        for (uint16_t c = 0; c < shape.channels; ++c)
            putLE16(samples + size_t(i) * align + c * 2u, static_cast<uint16_t>(v));
    }
    const uint32_t dataSize = static_cast<uint32_t>(out.size() - 44);
    auto tag = [&](size_t at, const char* t) { std::copy(t, t + 4, out.begin() + static_cast<long>(at)); };
    tag(0, "RIFF");
    putLE32(&out[4], 36 + dataSize);
    tag(8, "WAVE");
    tag(12, "fmt ");
    putLE32(&out[16], 16);
    putLE16(&out[20], shape.formatField.value_or(1));
    putLE16(&out[22], shape.channels);
    putLE32(&out[24], shape.sampleRate);
    putLE32(&out[28], shape.sampleRate * align);
    putLE16(&out[32], shape.blockAlignField.value_or(align));
    putLE16(&out[34], shape.bitsPerSample);
    tag(36, "data");
    putLE32(&out[40], shape.dataSizeField.value_or(dataSize));
    return out;
}

Bytes buildAmb(const std::vector<std::string>& wavNames, const std::string& magic)
{
    Bytes out(magic.begin(), magic.end());
    auto record = [&](uint32_t a, uint32_t b) {
        const size_t at = out.size();
        out.resize(at + 8);
        putLE32(&out[at], a);
        putLE32(&out[at + 4], b);
    };
    record(1, static_cast<uint32_t>(wavNames.size()));
    for (size_t i = 0; i < wavNames.size(); ++i) {
        record(static_cast<uint32_t>(i), 0);
        const std::string name = wavNames[i] + ".wav";
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    record(0, 0);
    return out;
}

void writeBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    writeBytes(path, Bytes(text.begin(), text.end()));
}

std::filesystem::path writeUnitFolder(const std::filesystem::path& dir, const std::string& name,
                                      const std::vector<std::string>& keys, const AnimationShape& anim, bool withSounds)
{
    const std::filesystem::path folder = dir / name;
    const Bytes flc = buildAnimation(anim);
    KeyValues animations, sounds;
    for (const std::string& key : keys) {
        const std::string file = name + " " + key + ".flc";
        writeBytes(folder / file, flc);
        animations.emplace_back(key, file);
        if (withSounds) {
            const std::string wav = name + key + ".wav";
            writeBytes(folder / wav, buildWav());
            sounds.emplace_back(key, wav);
        }
    }
    const std::filesystem::path ini = folder / (name + ".ini");
    writeText(ini, unitIniText(animations, sounds));
    return ini;
}

}  // namespace qv::test
