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
#include "core/pcx_codec.h"
#include "core/strings.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

const fs::path kSourceData = QV_DATA_DIR;

class RenderCli : public CliTest {
protected:
    fs::path bin;

    void SetUp() override
    {
        CliTest::SetUp();
        bin = dir_ / "bin";
        fs::create_directories(bin);
        fs::copy_file(QV_CLI_PATH, bin / "quorvane-cli");
    }
    void TearDown() override
    {
        fs::permissions(bin, fs::perms::owner_all, fs::perm_options::add);
        CliTest::TearDown();
    }

    CliRun run(const std::string& args)
    {
        const std::string env = "env XDG_DATA_HOME=" + q("data") + " XDG_CONFIG_HOME=" + q("config");
        return runCli("render " + args, dir_, true, (bin / "quorvane-cli").string(), env);
    }

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

    static Bytes solidPcx(int w, int h, uint8_t r, uint8_t g, uint8_t b)
    {
        Bitmap bmp = Bitmap::create(w, h, 8);
        bmp.palette[0] = PaletteEntry::fromRgb(r, g, b);
        Bytes out;
        EXPECT_TRUE(encodePcx(bmp, out));
        return out;
    }
};

TEST_F(RenderCli, FramesOverColoursAsTheViewComposesThem)
{
    const FlcLoadResult unit = animation("unit.flc"), head = animation("head.flc", true);
    struct Case {
        const char* args;
        const FlcLoadResult& anim;
        int frame;
        uint32_t fill;
        bool alpha;
    } cases[] = {
        {"unit.flc -o a.bmp --frame 5 --background '#102030'", unit, 5, 0x102030, true},
        {"unit.flc -o a.bmp", unit, 0, 0xF0F0F0, true},  // the default colour
        {"unit.flc -o a.bmp --frame 3 --no-alpha", unit, 3, 0xF0F0F0, false},
        // A leader head is its frame's size over black; background and civilization are ignored.
        {"head.flc -o a.bmp --frame 2 --background land --civ 4", head, 2, 0, true},
        {"head.flc -o a.bmp --no-alpha", head, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun r = run(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto& h = c.anim.store.header;
        expectPicture("a.bmp", composedFrame(c.anim, c.frame, c.fill, c.alpha), c.anim.leaderHead ? h.width : 240,
                      c.anim.leaderHead ? h.height : 240);
    }
    EXPECT_FALSE(fs::exists(bin / "Land.pcx"));
    EXPECT_FALSE(fs::exists(bin / "Palettes"));
}

TEST_F(RenderCli, SeaIsWrittenBesideTheProgramOnFirstUseAndAUsersFileWins)
{
    const FlcLoadResult unit = animation("unit.flc");
    CliRun r = run("unit.flc -o s.bmp --frame 1 --background sea");
    ASSERT_EQ(r.status, 0) << r.err;
    Bytes builtin;
    ASSERT_TRUE(readWholeFile((kSourceData / "Sea.pcx").string(), builtin));
    EXPECT_EQ(bytes("bin/Sea.pcx"), builtin);
    Surface32 sea;
    ASSERT_TRUE(loadBackgroundPicture((kSourceData / "Sea.pcx").string(), sea));
    expectPicture("s.bmp", composedFrame(unit, 1, 0, true, nullptr, &sea));

    // The user's own Sea.pcx is used unchanged.
    const Bytes mine = solidPcx(240, 240, 10, 120, 30);
    put("bin/Sea.pcx", mine);
    r = run("unit.flc -o t.bmp --frame 1 --background sea");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(loadBackgroundPicture(path("bin/Sea.pcx"), sea));
    expectPicture("t.bmp", composedFrame(unit, 1, 0, true, nullptr, &sea));
    EXPECT_EQ(bytes("bin/Sea.pcx"), mine);

    // A picture of another size is refused with the view's message.
    put("bin/Land.pcx", solidPcx(100, 100, 1, 2, 3));
    r = run("unit.flc -o u.bmp --background land");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot set background image.\n");
    EXPECT_FALSE(fs::exists(path("u.bmp")));
}

TEST_F(RenderCli, ProgramFolderThatCannotTakeTheFilesFallsBackToThePerUserFolder)
{
    animation("unit.flc");
    // A folder where Land.pcx would go and a file where the Palettes folder would go keep
    // the built-in files out of the program's folder, for any user.
    fs::create_directories(bin / "Land.pcx");
    put("bin/Palettes", {1});
    CliRun r = run("unit.flc -o l.bmp --background land --civ 2");
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path user = dir_ / "data" / "Velmora" / "Quorvane";
    Bytes builtin;
    ASSERT_TRUE(readWholeFile((kSourceData / "Land.pcx").string(), builtin));
    EXPECT_EQ(bytes("data/Velmora/Quorvane/Land.pcx"), builtin);
    EXPECT_TRUE(fs::exists(user / "Palettes" / "ntp01.pcx"));

    // The same for a program folder without write permission.
    if (::geteuid() == 0) return;  // permissions do not bind the superuser
    fs::remove_all(user);
    fs::remove_all(bin / "Land.pcx");
    fs::remove(bin / "Palettes");
    fs::permissions(bin, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    r = run("unit.flc -o l.bmp --background sea --civ 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(user / "Sea.pcx"));
    EXPECT_TRUE(fs::exists(user / "Palettes" / "ntp01.pcx"));
    EXPECT_FALSE(fs::exists(bin / "Sea.pcx"));
}

TEST_F(RenderCli, CivilizationSchemesFromEachSource)
{
    const FlcLoadResult unit = animation("unit.flc");
    auto expectScheme = [&](const std::string& out, const std::string& schemeFile) {
        Palette256 scheme;
        ASSERT_TRUE(copyCivPalette(schemeFile, scheme));
        const Palette256 display = applyCivScheme(unit.store.basePalette, scheme);
        expectPicture(out, composedFrame(unit, 4, 0xF0F0F0, true, &display));
    };

    // Built-in: civilization 8 unpacks and reads Palettes/ntp07.pcx beside the program.
    CliRun r = run("unit.flc -o c8.bmp --frame 4 --civ 8");
    ASSERT_EQ(r.status, 0) << r.err;
    Bytes builtin;
    ASSERT_TRUE(readWholeFile((kSourceData / "ntp07.pcx").string(), builtin));
    EXPECT_EQ(bytes("bin/Palettes/ntp07.pcx"), builtin);
    expectScheme("c8.bmp", (kSourceData / "ntp07.pcx").string());

    // A folder of the user's choice, and the game's folder from the settings.
    Bytes other = builtin;
    for (size_t i = 132; i < 132 + 64 * 3; ++i) other[i] = uint8_t(other[i] ^ 0x5A);
    put("mine/ntp10.pcx", other);
    r = run("unit.flc -o c11.bmp --frame 4 --civ 11 --civ-source mine");
    ASSERT_EQ(r.status, 0) << r.err;
    expectScheme("c11.bmp", path("mine/ntp10.pcx"));
    r = run("unit.flc -o g.bmp --civ 3 --civ-source game");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              toPlainLineBreaks(str::IDS_CIV_PAL_GAME_NOT_REGISTERED) + "\n" + str::IDS_CANNOT_GET_CIV_PALETTE + "\n");
    const std::string conf = "[Game]\nInstall_Path=" + path("game") + "\n";
    put("config/Velmora/Quorvane.conf", Bytes(conf.begin(), conf.end()));
    put("game/Art/Units/Palettes/ntp02.pcx", other);
    r = run("unit.flc -o g.bmp --frame 4 --civ 3 --civ-source game");
    ASSERT_EQ(r.status, 0) << r.err;
    expectScheme("g.bmp", path("mine/ntp10.pcx"));

    const std::pair<const char*, std::string> refused[] = {
        {"--civ-source game", "'" + path("game/Art/Units/Palettes/ntp04.pcx") +
                                  "'\nThe palette file is not exist.\nCannot get civilization specified palette.\n"},
        {"--civ-source nowhere",
         toPlainLineBreaks(str::IDS_CIV_PAL_NO_FOLDER) + "\n" + str::IDS_CANNOT_GET_CIV_PALETTE + "\n"},
    };
    for (const auto& [source, message] : refused) {
        r = run(std::string("unit.flc -o f.bmp --civ 5 ") + source);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, message);
    }
}

TEST_F(RenderCli, FolderOutputWritesEveryFrameAsPng)
{
    animation("unit.flc");
    CliRun r = run("unit.flc -o frames/");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "frames"), fs::directory_iterator{}), 16);
    for (const char* name : {"frames/frame_0000.png", "frames/frame_0015.png"}) {
        const QImage png(QString::fromStdString(path(name)), "PNG");
        EXPECT_EQ(png.size(), QSize(240, 240)) << name;
        EXPECT_FALSE(png.hasAlphaChannel()) << name;
    }
    r = run("unit.flc -o one/ --frame 7");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir_ / "one" / "frame_0007.png"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "one"), fs::directory_iterator{}), 1);
}

TEST_F(RenderCli, RefusalsAndUsageErrors)
{
    animation("unit.flc");
    CliRun r = run("unit.flc -o x.png --frame 16");
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
