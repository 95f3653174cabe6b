// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/unit_builder.h"

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
    const uint32_t dataSize = shape.sampleRate * shape.milliseconds / 1000 * align;
    Bytes out;
    ByteWriter w(out);
    w.bytes("RIFF", 4);
    w.u32(36 + dataSize);
    w.bytes("WAVEfmt ", 8);
    w.u32(16);
    w.u16(shape.formatField.value_or(1));
    w.u16(shape.channels);
    w.u32(shape.sampleRate);
    w.u32(shape.sampleRate * align);
    w.u16(shape.blockAlignField.value_or(align));
    w.u16(shape.bitsPerSample);
    w.bytes("data", 4);
    w.u32(shape.dataSizeField.value_or(dataSize));
    w.zeros(dataSize);
    return out;
}

Bytes buildAmb(const std::vector<std::string>& wavNames, const std::string& magic)
{
    Bytes out(magic.begin(), magic.end());
    ByteWriter w(out);
    w.u32(1);
    w.u32(static_cast<uint32_t>(wavNames.size()));
    for (size_t i = 0; i < wavNames.size(); ++i) {
        w.u32(static_cast<uint32_t>(i));
        w.u32(0);
        const std::string name = wavNames[i] + ".wav";
        w.bytes(name.c_str(), name.size() + 1);  // with its terminating zero
    }
    w.zeros(8);
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
