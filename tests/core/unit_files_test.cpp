// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/sound_files.h"
#include "core/strings.h"
#include "core/unit_ini.h"
#include "support/temp_dir.h"
#include "support/unit_builder.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

std::string joined(const std::vector<UnitIniReference>& refs)
{
    std::string s;
    for (const auto& r : refs) s += r.key + "=" + r.value + ";";
    return s;
}

using UnitFolderTest = ScratchTest;

Status parse(const std::string& text, UnitIni& ini)
{
    return parseUnitIni("u.ini", reinterpret_cast<const uint8_t*>(text.data()), text.size(), ini);
}

}  // namespace

TEST(UnitIni, ReadsAnimationsAndSoundsAsTheGameDoes)
{
    const struct {
        const char* name;
        std::string text;
        const char* animations;  // nullptr: the file is refused
    } cases[] = {
        {"table order, values trimmed, inner spaces kept",
         unitIniText({{"RUN", "\t Warrior Run.flc  "}, {"DEFAULT", "WarriorDefault.flc"}, {"BLANK", ""}}),
         "DEFAULT=WarriorDefault.flc;RUN=Warrior Run.flc;"},
        {"bare LF line ends", unitIniText({{"DEATH", "d.flc"}}, {}, "\n"), "DEATH=d.flc;"},
        // A key inside another line's value is found there first, as the game's reader finds it.
        {"key as a substring", unitIniText({{"DEFAULT", "FIDGETY.flc"}, {"FIDGET", "f.flc"}}),
         "DEFAULT=FIDGETY.flc;FIDGET=.flc;"},
        {"keys after the end marker", "[Animations]\r\nSTOP_AT_LAST_FRAME=\r\nRUN=r.flc\r\n", ""},
        {"key on a last line without line end", "[Animations]RUN=r.flcSTOP_AT_LAST_FRAME=", ""},
        {"section name in the wrong case", "[animations]\r\nRUN=r.flc\r\nSTOP_AT_LAST_FRAME=\r\n", nullptr},
        {"no end marker", "[Animations]\r\nRUN=r.flc\r\n", nullptr},
        {"empty file", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UnitIni ini;
        const Status st = parse(c.text, ini);
        ASSERT_EQ(st.ok, c.animations != nullptr) << st.message;
        if (c.animations)
            EXPECT_EQ(joined(ini.animations), c.animations);
        else
            EXPECT_EQ(st.message.rfind("'u.ini'\r\n", 0), 0u) << st.message;
    }

    // Sounds are read the same way; keys written twice in a section are noted.
    UnitIni ini;
    ASSERT_TRUE(parse(unitIniText({{"RUN", "r.flc"}, {"RUN", "r2.flc"}},
                                  {{"DEATH", "Die.amb"}, {"RUN", " Run.wav "}, {"DEATH", "x.wav"}, {"FOO", "y.wav"}}),
                      ini));
    EXPECT_EQ(joined(ini.sounds), "RUN=Run.wav;DEATH=Die.amb;");
    EXPECT_EQ(ini.duplicateKeys, (std::vector<std::string>{"RUN", "DEATH"}));
}

TEST_F(UnitFolderTest, ResolvesReferencesWithoutRegardToCaseAndRefusesEscapes)
{
    const fs::path unit = dir_ / "Units" / "Warrior";
    writeText(unit / "Sub" / "Warrior Run.flc", "x");
    writeText(unit / "Kr\xc3\xa4he.flc", "x");  // UTF-8 on disk, Windows-1252 in the INI
    const fs::path second = dir_ / "Second", base = dir_ / "Base";
    writeText(base / "Art" / "Units" / "Horse" / "Horse.flc", "x");
    const std::vector<std::string> games = {second.string(), base.string()};

    const struct {
        const char* value;
        ReferenceState state;
        fs::path expected;  // for Found
    } cases[] = {
        {"sub\\WARRIOR RUN.FLC", ReferenceState::Found, unit / "Sub" / "Warrior Run.flc"},
        {"Kr\xe4he.flc", ReferenceState::Found, unit / "Kr\xc3\xa4he.flc"},
        {"..\\Horse\\horse.flc", ReferenceState::Found, base / "Art" / "Units" / "Horse" / "Horse.flc"},
        {"..\\Nobody\\n.flc", ReferenceState::Missing, {}},
        {"Sub", ReferenceState::Missing, {}},  // a folder is no animation
        {"/etc/passwd", ReferenceState::Outside, {}},
        {"C:\\Windows\\win.ini", ReferenceState::Outside, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        UnitIniReference ref{"RUN", c.value, c.value[0] == '.'};
        const ResolvedReference r = resolveUnitIniReference(ref, unit.string(), games);
        EXPECT_EQ(r.state, c.state);
        if (c.state == ReferenceState::Found) {
            EXPECT_EQ(fs::path(r.path), c.expected);
        }
    }
}

TEST(SoundFiles, AmbNamesAndWavHeadersAreReadAsTheGameReadsThem)
{
    auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    const std::string notValid = formatMessage(str::IDS_AMB_NOT_VALID, {"s.amb"});
    const struct {
        const char* name;
        Bytes data;
        std::string expected;  // the names, each followed by ';', or the message of a refusal
    } cases[] = {
        {"PRGM in capitals", buildAmb({"a"}, "PRGM"), "a;"},
        {"names separated by a zero byte", bytes(std::string("prgm\0a.wav\0b.wav", 16)), "a;b;"},
        {"a space ends a name", bytes("prgm\x01my sound.wav"), "sound;"},
        {"a name right after the previous one", bytes("prgm*a.wavb.wav"), "a;b;"},
        {"upper-case .WAV is no name", bytes(std::string("prgm\0A.WAV", 10)),
         formatMessage(str::IDS_AMB_NO_WAV_FILES, {"s.amb"})},
        {"truncated to three bytes", bytes("prg"), notValid},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        std::string got = readAmbWavNames("s.amb", c.data.data(), c.data.size(), names).message;
        for (const auto& n : names) got += n + ";";
        EXPECT_EQ(got, c.expected) << c.name;
    }

    // A WAV file's header is checked against the file.
    Bytes truncated = buildWav();
    truncated.resize(truncated.size() / 2);
    Bytes noData = buildWav();
    noData.resize(36);
    const struct {
        const char* name;
        Bytes data;
        uint64_t durationMs;  // 0: refused
    } wavs[] = {
        {"stereo 8-bit", buildWav(WavShape(2, 22050, 8, 100)), 100},
        {"truncated samples", truncated, 0},
        {"no data chunk", noData, 0},
        {"compressed format", buildWav(WavShape().withFormat(2)), 0},
        {"block size that disagrees", buildWav(WavShape(2).withBlockAlign(7)), 0},
        {"not RIFF", Bytes(64, 'x'), 0},
    };
    for (const auto& c : wavs) {
        SCOPED_TRACE(c.name);
        WavInfo info;
        const Status st = readWavInfo("s.wav", c.data.data(), c.data.size(), info);
        EXPECT_EQ(st.ok ? info.durationMs() : 0, c.durationMs);
        EXPECT_EQ(st.message, st.ok ? std::string() : formatMessage(str::IDS_WAV_NOT_VALID, {"s.wav"}));
    }
}
