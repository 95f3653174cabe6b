// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"
#include "core/strings.h"
#include "support/unit_builder.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

class IniCli : public CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        env_ = "env XDG_CONFIG_HOME=" + q("config");
        // The game's install folder comes from the settings file.
        writeText(dir_ / "config" / "Velmora" / "Quorvane.conf",
                  "[Game]\nInstall_Path=" + (dir_ / "Game").string() + "\n");
        AnimationShape anim;
        anim.framesPerDirection = 2;
        ini_ = writeUnitFolder(dir_, "Warrior", {"RUN", "DEFAULT"}, anim, true);
        unit_ = ini_.parent_path();
        writeBytes(dir_ / "Game" / "Art" / "Units" / "Archer" / "Archer.flc", buildAnimation(anim));
    }
    fs::path ini_, unit_;
};

}  // namespace

TEST_F(IniCli, ListsEveryActionAndPassesTheCheckWhenNothingIsMissing)
{
    writeBytes(unit_ / "Walk.amb", buildAmb({"Step1", "Step2"}));
    writeBytes(unit_ / "Step1.wav", buildWav(WavShape(1, 8000, 16, 100)));
    writeBytes(unit_ / "Step2.wav", buildWav(WavShape(1, 8000, 16, 200)));
    writeText(ini_, unitIniText({{"RUN", "warrior run.FLC"}, {"DEFAULT", "Warrior DEFAULT.flc"},
                                 {"ATTACK1", "..\\Archer\\ARCHER.flc"}},
                                {{"RUN", "WarriorRUN.wav"}, {"DEATH", "Walk.amb"}}));
    const CliRun r = run("ini " + quote(ini_.string()) + " --check");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string frames = "\t16 frames, 8 direction(s), 200 ms\n";
    EXPECT_EQ(r.out, "DEFAULT\t" + (unit_ / "Warrior DEFAULT.flc").string() + frames +  //
                         "RUN\t" + (unit_ / "Warrior RUN.flc").string() + frames +      //
                         "ATTACK1\t" + (dir_ / "Game" / "Art" / "Units" / "Archer" / "Archer.flc").string() + frames +
                         "Sounds:\n" +                                                  //
                         "RUN\t" + (unit_ / "WarriorRUN.wav").string() + "\tWAV, 50 ms\n" +
                         "DEATH\t" + (unit_ / "Walk.amb").string() + "\tAMB, 2 WAV file(s)\n" +
                         "\t" + (unit_ / "Step1.wav").string() + "\tWAV, 100 ms\n" +
                         "\t" + (unit_ / "Step2.wav").string() + "\tWAV, 200 ms\n");
}

TEST_F(IniCli, CheckNamesEveryMissingOrRefusedFileAndWhatIsNoUnitIniIsRefused)
{
    writeText(unit_ / "Broken.flc", "not an animation");
    writeBytes(unit_ / "Lying.wav", buildWav(WavShape().withDataSize(0x7FFFFFF0u)));
    writeBytes(unit_ / "Gap.amb", buildAmb({"Absent"}));
    writeText(ini_, unitIniText({{"RUN", "Warrior RUN.flc"}, {"FIDGET", "Gone.flc"}, {"DEATH", "Broken.flc"},
                                 {"BUILD", "..\\..\\..\\etc\\x.flc"}},
                                {{"RUN", "Lying.wav"}, {"DEATH", "Gap.amb"}}));
    const std::string args = "ini " + quote(ini_.string());
    const CliRun listed = run(args);
    EXPECT_EQ(listed.status, 0);  // listing alone does not judge
    const CliRun checked = run(args + " --check");
    EXPECT_EQ(checked.status, 1);
    for (const fs::path& p : {unit_ / "Gone.flc", unit_ / "Broken.flc", unit_ / "Lying.wav", unit_ / "Absent.wav"})
        EXPECT_NE(checked.err.find(p.string() + ": "), std::string::npos) << p;
    EXPECT_NE(checked.err.find("..\\..\\..\\etc\\x.flc: refused: outside the unit's folder"), std::string::npos);
    EXPECT_NE(checked.err.find(formatMessage(str::IDS_CLI_INI_CHECK_FAILED, {5})), std::string::npos) << checked.err;
    EXPECT_EQ(checked.err.find("Warrior RUN.flc"), std::string::npos);

    // What is no unit's INI file is refused.
    writeText(dir_ / "plain.ini", "[Speed]\r\nRUN=a.flc\r\n");
    const CliRun plain = run("ini " + q("plain.ini"));
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err, toPlainLineBreaks(formatMessage(str::IDS_INI_NO_ANIMATIONS, {path("plain.ini")})) + "\n");
    EXPECT_EQ(run("ini " + q("absent.ini")).status, 1);
    EXPECT_EQ(run("ini").status, 2);
}
