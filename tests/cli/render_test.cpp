// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli render` end to end. Each test runs its own copy of the program from a
// fresh folder, so the built-in files it unpacks "beside the program" land there, and
// points the per-user data and settings folders into that folder too. The pictures it
// writes are compared pixel by pixel with the core compositor's result for the same file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <string>
#include <tuple>

#include "cli/cli_run.h"
#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/civ_palettes.h"
#include "core/strings.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

// The built-in files as the repository holds them.
const std::string kData = QV_DATA_DIR "/";

class RenderCli : public CliTest {
protected:
    fs::path bin;

    void SetUp() override
    {
        CliTest::SetUp();
        bin = dir_ / "bin";
        fs::create_directories(bin);
        fs::copy_file(QV_CLI_PATH, bin / "quorvane-cli");
        program_ = (bin / "quorvane-cli").string();
        env_ = "env XDG_DATA_HOME=" + q("data") + " XDG_CONFIG_HOME=" + q("config");
    }
    void TearDown() override
    {
        fs::permissions(bin, fs::perms::owner_all, fs::perm_options::add);
        CliTest::TearDown();
    }

    CliRun run(const std::string& args) { return runHere("render " + args); }

    FlcLoadResult animation(const std::string& name, bool leaderHead = false)
    {
        put(name, placedAnimation(leaderHead));
        return loadFlc(name);
    }

    // Compares a written 24-bit BMP with the top-left w x h of a back buffer.
    void expectPicture(const std::string& name, const Surface32& back, int w = 240, int h = 240)
    {
        Bitmap bmp;
        ASSERT_TRUE(readBmpFile(path(name), bmp)) << name;
        ASSERT_EQ(std::make_tuple(bmp.bitsPerPixel, bmp.width, bmp.height), std::make_tuple(24, w, h));
        const auto got = [&](int x, int y) {
            const uint8_t* p = bmp.row(y) + 3 * x;
            return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        };
        EXPECT_EQ(pixelDifferences(w, h, got, [&](int x, int y) { return back.at(x, y) & kRgbMask; }), 0) << name;
    }
};

// Sea.pcx, Land.pcx and the schemes are written beside the program on first use, or into the
// per-user data folder when the program's folder cannot take them; a file there is used as it
// is. The game's schemes come from its folder named in the settings.
TEST_F(RenderCli, BackgroundsAndSchemesFromEachSource)
{
    const FlcLoadResult unit = animation("unit.flc");
    CliRun r = run("unit.flc -o s.bmp --background sea");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(bytes("bin/Sea.pcx"), bytes(kData + "Sea.pcx"));

    // The user's own Sea.pcx (here the land picture) is used unchanged.
    const Bytes mine = bytes(kData + "Land.pcx");
    put("bin/Sea.pcx", mine);
    r = run("unit.flc -o t.bmp --frame 1 --background sea");
    ASSERT_EQ(r.status, 0) << r.err;
    Surface32 sea;
    ASSERT_TRUE(loadBackgroundPicture(path("bin/Sea.pcx"), sea));
    expectPicture("t.bmp", composedFrame(unit, 1, 0, true, nullptr, &sea));
    EXPECT_EQ(bytes("bin/Sea.pcx"), mine);

    // A picture of another size (here a scheme file) is refused with the view's message.
    put("bin/Land.pcx", bytes(kData + "ntp00.pcx"));
    r = run("unit.flc -o u.bmp --background land");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot set background image.\n");
    EXPECT_FALSE(fs::exists(path("u.bmp")));

    // A folder where Land.pcx would go and a file where the Palettes folder would go keep
    // the built-in files out of the program's folder, for any user.
    fs::remove(bin / "Land.pcx");
    fs::create_directories(bin / "Land.pcx");
    put("bin/Palettes", {1});
    r = run("unit.flc -o l.bmp --background land --civ 2");
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path user = dir_ / "data" / "Velmora" / "Quorvane";
    EXPECT_EQ(bytes((user / "Land.pcx").string()), bytes(kData + "Land.pcx"));
    EXPECT_TRUE(fs::exists(user / "Palettes" / "ntp01.pcx"));

    // The game's folder comes from the settings; a scheme there is laid over the animation's
    // palette as the view lays it (here without blending, over the default colour).
    r = run("unit.flc -o g.bmp --civ 3 --civ-source game");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              toPlainLineBreaks(str::IDS_CIV_PAL_GAME_NOT_REGISTERED) + "\n" + str::IDS_CANNOT_GET_CIV_PALETTE + "\n");
    // Not the built-in scheme 3: its civilization colours changed.
    Bytes other = bytes(kData + "ntp02.pcx");
    for (size_t i = 132; i < 132 + 64 * 3; ++i) other[i] = uint8_t(other[i] ^ 0x5A);
    const std::string conf = "[Game]\nInstall_Path=" + path("game") + "\n";
    put("config/Velmora/Quorvane.conf", Bytes(conf.begin(), conf.end()));
    put("game/Art/Units/Palettes/ntp02.pcx", other);
    r = run("unit.flc -o g.bmp --frame 4 --civ 3 --civ-source game --no-alpha");
    ASSERT_EQ(r.status, 0) << r.err;
    Palette256 scheme;
    ASSERT_TRUE(copyCivPalette(path("game/Art/Units/Palettes/ntp02.pcx"), scheme));
    const Palette256 display = applyCivScheme(unit.store.basePalette, scheme);
    expectPicture("g.bmp", composedFrame(unit, 4, 0xF0F0F0, false, &display));

    // A scheme the game's folder does not hold.
    r = run("unit.flc -o f.bmp --civ 5 --civ-source game");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("game/Art/Units/Palettes/ntp04.pcx") +
                         "'\nThe palette file is not exist.\nCannot get civilization specified palette.\n");
    EXPECT_FALSE(fs::exists(path("f.bmp")));

    // A program folder without write permission: the per-user folder likewise.
    if (::geteuid() == 0) return;  // permissions do not bind the superuser
    fs::remove_all(user);
    fs::remove_all(bin / "Land.pcx");
    fs::remove(bin / "Palettes");
    fs::remove(bin / "Sea.pcx");
    fs::permissions(bin, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    r = run("unit.flc -o l.bmp --background sea --civ 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(user / "Sea.pcx"));
    EXPECT_TRUE(fs::exists(user / "Palettes" / "ntp01.pcx"));
    EXPECT_FALSE(fs::exists(bin / "Sea.pcx"));
}

// A folder gets every frame as frame_NNNN.png, or the one --frame names.
TEST_F(RenderCli, FolderOutputLeaderHeadsRefusalsAndUsageErrors)
{
    animation("unit.flc");
    CliRun r = run("unit.flc -o frames/");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "frames"), fs::directory_iterator{}), 16);
    const QImage png(QString::fromStdString(path("frames/frame_0015.png")), "PNG");
    EXPECT_EQ(png.size(), QSize(240, 240));
    EXPECT_FALSE(png.hasAlphaChannel());
    r = run("unit.flc -o one/ --frame 7");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "one"), fs::directory_iterator{}), 1);
    EXPECT_TRUE(fs::exists(dir_ / "one" / "frame_0007.png"));

    // A leader head is its frame's size over black; background and civilization are ignored.
    const FlcLoadResult head = animation("head.flc", true);
    r = run("head.flc -o h.bmp --frame 2 --background land --civ 4");
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture("h.bmp", composedFrame(head, 2, 0), head.store.header.width, head.store.header.height);
    EXPECT_FALSE(fs::exists(bin / "Land.pcx"));
    EXPECT_FALSE(fs::exists(bin / "Palettes"));

    r = run("unit.flc -o x.png --frame 16");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Frame 16 does not exist: the animation has 16 frame(s), numbered from 0.\n");
    put("bad.flc", Bytes(200, 0));
    r = run("bad.flc -o x.png");
    EXPECT_EQ(r.status, 1);
    // Messages show the path made absolute, as the program's file dialogs give it.
    EXPECT_EQ(r.err, "'" + path("bad.flc") + "'\nInvalid or unsupported document format.\n");

    for (const char* args : {"unit.flc --civ 33 -o x.png", "unit.flc --civ x -o x.png", "unit.flc --frame -1 -o x.png",
                             "unit.flc --background pink -o x.png", "unit.flc --background '#12345' -o x.png",
                             "unit.flc --no-alpha --background sea -o x.png", "unit.flc", "-o x.png",
                             "unit.flc unit.flc -o x.png", "unit.flc -o x.png --bogus"}) {
        r = run(args);
        EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists(path("x.png")));
}

}  // namespace
