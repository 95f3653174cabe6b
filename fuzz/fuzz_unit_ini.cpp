// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the unit INI reader and the resolution of the file references it finds against
// a small unit folder and a game folder (which a reference must never leave).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/unit_ini.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

std::string g_unit;
std::string g_game;
std::string g_root;

void touch(const std::filesystem::path& p)
{
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char dir[] = "/tmp/qv-fuzz-ini-XXXXXX";
    if (!mkdtemp(dir)) std::abort();
    g_root = dir;
    g_game = g_root + "/Game";
    g_unit = g_game + "/Art/Units/Warrior";
    touch(g_unit + "/Warrior Run.flc");
    touch(g_game + "/Art/Units/Archer/Archer.flc");
    touch(g_root + "/secret.flc");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::UnitIni ini;
    if (!qv::parseUnitIni("fz.ini", data, size, ini)) return 0;
    require(ini.animations.size() <= qv::kUnitIniKeyCount);
    require(ini.sounds.size() <= qv::kUnitIniKeyCount);
    for (const auto* list : {&ini.animations, &ini.sounds})
        for (const qv::UnitIniReference& ref : *list) {
            require(!ref.value.empty());
            const qv::ResolvedReference r = qv::resolveUnitIniReference(ref, g_unit, {g_game});
            // Whatever is found lies inside the unit folder or the game's Art/Units.
            if (r.state == qv::ReferenceState::Found)
                require(r.path.rfind(ref.gameRelative ? g_game + "/Art/Units/" : g_unit + "/", 0) == 0);
        }
    return 0;
}
