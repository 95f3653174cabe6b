// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli render` end to end. Each test runs its own copy of the program from a
// fresh folder, so the built-in files it unpacks "beside the program" land there, and
// points the per-user data and settings folders into that folder too. The pictures it
// writes are compared pixel by pixel with the core compositor's result for the same file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/civ_palettes.h"
#include "core/compositor.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/pcx_codec.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

fs::path sourceData() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "res" / "data"; }

struct CliRun {
    int status = -1;
    std::string err;
};

class RenderCli : public ::testing::Test {
protected:
    fs::path root, bin;

    void SetUp() override
    {
        root = qv::test::scratchPath("qv_render");
        fs::remove_all(root);
        bin = root / "bin";
        fs::create_directories(bin);
        fs::copy_file(QV_CLI_PATH, bin / "quorvane-cli");
    }
    void TearDown() override
    {
        fs::permissions(bin, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root);
    }

    CliRun run(const std::string& args)
    {
        const fs::path err = root / "stderr.txt";
        const std::string cmd = "cd '" + root.string() + "' && env XDG_DATA_HOME='" + (root / "data").string() +
                                "' XDG_CONFIG_HOME='" + (root / "config").string() + "' '" +
                                (bin / "quorvane-cli").string() + "' render " + args + " >/dev/null 2>'" +
                                err.string() + "'";
        const int raw = std::system(cmd.c_str());
        CliRun r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(err);
        std::stringstream ss;
        ss << in.rdbuf();
        r.err = ss.str();
        return r;
    }

    std::string write(const std::string& rel, const Bytes& bytes)
    {
        const fs::path p = root / rel;
        fs::create_directories(p.parent_path());
        EXPECT_TRUE(writeFileAtomic(p.string(), bytes));
        return p.string();
    }

    // A unit animation with 8 directions of 2 frames, 24 x 16 pixels, at offsets (100, 200).
    std::string unitFile()
    {
        test::AnimationSpec anim;
        anim.framesPerDirection = 2;
        Bytes bytes = test::buildAnimation(anim);
        FlcHeader h = FlcHeader::parse(bytes.data());
        h.leftOffset = 100;
        h.topOffset = 200;
        h.serialize(bytes.data());
        return write("unit.flc", bytes);
    }

    std::string leaderHeadFile()
    {
        test::AnimationSpec anim;
        anim.leaderHead = true;
        anim.directions = 1;
        anim.framesPerDirection = 3;
        anim.width = 30;
        anim.height = 20;
        return write("head.flc", test::buildAnimation(anim));
    }

    // What the view composes for frame n of `path`.
    Surface32 expected(const std::string& path, int n, const Palette256* display, const Surface32* picture,
                       uint32_t fill, bool alpha = true)
    {
        FlcLoadResult loaded;
        EXPECT_TRUE(loadFlcAnimation(path, loaded));
        Surface32 back(kBackBufferWidth, kBackBufferHeight);
        const ConstPixels32 pic = picture ? picture->view() : ConstPixels32{};
        Composition c;
        c.picture = picture ? &pic : nullptr;
        c.fillRgb = fill;
        c.frame = FrameDrawParams{loaded.leaderHead ? 0 : loaded.store.header.leftOffset,
                                  loaded.leaderHead ? 0 : loaded.store.header.topOffset, alpha, loaded.leaderHead};
        const auto& h = loaded.store.header;
        compose(back.view(), IndexedPixels{loaded.store.frames[size_t(n)].data(), h.width, h.height, h.width},
                display ? *display : loaded.store.basePalette, c);
        return back;
    }

    // Compares a written 24-bit BMP with the top-left w x h of a back buffer.
    void expectPicture(const std::string& bmpPath, const Surface32& back, int w, int h)
    {
        Bitmap bmp;
        ASSERT_TRUE(readBmpFile(bmpPath, bmp)) << bmpPath;
        ASSERT_EQ(bmp.bitsPerPixel, 24);
        ASSERT_EQ(bmp.width, w);
        ASSERT_EQ(bmp.height, h);
        int differences = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = bmp.row(y) + 3 * x;
                const uint32_t got = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
                if (got != (back.at(x, y) & kRgbMask) && ++differences <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of "
                                  << (back.at(x, y) & kRgbMask);
            }
        EXPECT_EQ(differences, 0);
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

TEST_F(RenderCli, UnitOverColoursAsTheViewComposesIt)
{
    const std::string flc = unitFile();
    CliRun r = run("unit.flc -o a.bmp --frame 5 --background '#102030'");
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture((root / "a.bmp").string(), expected(flc, 5, nullptr, nullptr, 0x102030), 240, 240);

    r = run("unit.flc -o b.bmp");  // frame 0 over the default colour, #F0F0F0
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture((root / "b.bmp").string(), expected(flc, 0, nullptr, nullptr, 0xF0F0F0), 240, 240);

    r = run("unit.flc -o c.bmp --frame 3 --no-alpha");
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture((root / "c.bmp").string(), expected(flc, 3, nullptr, nullptr, 0xF0F0F0, false), 240, 240);
}

TEST_F(RenderCli, LeaderHeadIsItsFrameSizeOverBlack)
{
    const std::string flc = leaderHeadFile();
    CliRun r = run("head.flc -o h.bmp --frame 2 --background land --civ 4");  // both ignored for a leader head
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture((root / "h.bmp").string(), expected(flc, 2, nullptr, nullptr, 0), 30, 20);
    EXPECT_FALSE(fs::exists(bin / "Land.pcx"));
    EXPECT_FALSE(fs::exists(bin / "Palettes"));
    r = run("head.flc -o n.bmp --no-alpha");
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture((root / "n.bmp").string(), expected(flc, 0, nullptr, nullptr, 0, false), 30, 20);
}

TEST_F(RenderCli, SeaIsWrittenBesideTheProgramOnFirstUseAndAUsersFileWins)
{
    const std::string flc = unitFile();
    CliRun r = run("unit.flc -o s.bmp --frame 1 --background sea");
    ASSERT_EQ(r.status, 0) << r.err;
    Bytes written, builtin;
    ASSERT_TRUE(readWholeFile((bin / "Sea.pcx").string(), written));
    ASSERT_TRUE(readWholeFile((sourceData() / "Sea.pcx").string(), builtin));
    EXPECT_EQ(written, builtin);
    Surface32 sea;
    ASSERT_TRUE(loadBackgroundPicture((sourceData() / "Sea.pcx").string(), sea));
    expectPicture((root / "s.bmp").string(), expected(flc, 1, nullptr, &sea, 0), 240, 240);

    // The user's own Sea.pcx is used unchanged.
    const Bytes mine = solidPcx(240, 240, 10, 120, 30);
    write("bin/Sea.pcx", mine);
    r = run("unit.flc -o t.bmp --frame 1 --background sea");
    ASSERT_EQ(r.status, 0) << r.err;
    Surface32 user;
    ASSERT_TRUE(loadBackgroundPicture((bin / "Sea.pcx").string(), user));
    expectPicture((root / "t.bmp").string(), expected(flc, 1, nullptr, &user, 0), 240, 240);
    ASSERT_TRUE(readWholeFile((bin / "Sea.pcx").string(), written));
    EXPECT_EQ(written, mine);

    // A picture of another size is refused with the view's message.
    write("bin/Land.pcx", solidPcx(100, 100, 1, 2, 3));
    r = run("unit.flc -o u.bmp --background land");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot set background image.\n");
    EXPECT_FALSE(fs::exists(root / "u.bmp"));
}

TEST_F(RenderCli, ProgramFolderThatCannotTakeTheFilesFallsBackToThePerUserFolder)
{
    unitFile();
    // A folder where Land.pcx would go and a file where the Palettes folder would go keep
    // the built-in files out of the program's folder, for any user.
    fs::create_directories(bin / "Land.pcx");
    write("bin/Palettes", {1});
    CliRun r = run("unit.flc -o l.bmp --background land --civ 2");
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path user = root / "data" / "Velmora" / "Quorvane";
    Bytes written, builtin;
    ASSERT_TRUE(readWholeFile((user / "Land.pcx").string(), written));
    ASSERT_TRUE(readWholeFile((sourceData() / "Land.pcx").string(), builtin));
    EXPECT_EQ(written, builtin);
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
    const std::string flc = unitFile();
    FlcLoadResult loaded;
    ASSERT_TRUE(loadFlcAnimation(flc, loaded));
    const Palette256& base = loaded.store.basePalette;

    // Built-in: civilization 8 unpacks and reads Palettes/ntp07.pcx beside the program.
    CliRun r = run("unit.flc -o c8.bmp --frame 4 --civ 8");
    ASSERT_EQ(r.status, 0) << r.err;
    Bytes written, builtin;
    ASSERT_TRUE(readWholeFile((bin / "Palettes" / "ntp07.pcx").string(), written));
    ASSERT_TRUE(readWholeFile((sourceData() / "ntp07.pcx").string(), builtin));
    EXPECT_EQ(written, builtin);
    Palette256 scheme;
    ASSERT_TRUE(copyCivPalette((sourceData() / "ntp07.pcx").string(), scheme));
    Palette256 display = applyCivScheme(base, scheme);
    expectPicture((root / "c8.bmp").string(), expected(flc, 4, &display, nullptr, 0xF0F0F0), 240, 240);

    // A folder of the user's choice.
    Bytes other = builtin;
    for (size_t i = 132; i < 132 + 64 * 3; ++i) other[i] = uint8_t(other[i] ^ 0x5A);
    write("mine/ntp10.pcx", other);
    r = run("unit.flc -o c11.bmp --frame 4 --civ 11 --civ-source mine");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(copyCivPalette((root / "mine" / "ntp10.pcx").string(), scheme));
    display = applyCivScheme(base, scheme);
    expectPicture((root / "c11.bmp").string(), expected(flc, 4, &display, nullptr, 0xF0F0F0), 240, 240);

    // The game's folder, from the settings.
    r = run("unit.flc -o g.bmp --civ 3 --civ-source game");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(str::IDS_CIV_PAL_GAME_NOT_REGISTERED) + "\n" +
                         str::IDS_CANNOT_GET_CIV_PALETTE + "\n");
    write("config/Velmora/Quorvane.conf",
          [&] {
              const std::string s = "[Game]\nInstall_Path=" + (root / "game").string() + "\n";
              return Bytes(s.begin(), s.end());
          }());
    write("game/Art/Units/Palettes/ntp02.pcx", other);
    r = run("unit.flc -o g.bmp --frame 4 --civ 3 --civ-source game");
    ASSERT_EQ(r.status, 0) << r.err;
    expectPicture((root / "g.bmp").string(), expected(flc, 4, &display, nullptr, 0xF0F0F0), 240, 240);

    r = run("unit.flc -o g.bmp --civ 5 --civ-source game");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + (root / "game" / "Art" / "Units" / "Palettes" / "ntp04.pcx").string() +
                         "'\nThe palette file is not exist.\nCannot get civilization specified palette.\n");
    r = run("unit.flc -o f.bmp --civ 5 --civ-source nowhere");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(str::IDS_CIV_PAL_NO_FOLDER) + "\n" + str::IDS_CANNOT_GET_CIV_PALETTE + "\n");
}

TEST_F(RenderCli, FolderOutputWritesEveryFrameAsPng)
{
    unitFile();
    CliRun r = run("unit.flc -o frames/");
    ASSERT_EQ(r.status, 0) << r.err;
    int count = 0;
    for (const auto& e : fs::directory_iterator(root / "frames")) {
        (void)e;
        ++count;
    }
    EXPECT_EQ(count, 16);
    for (const char* name : {"frame_0000.png", "frame_0015.png"}) {
        Bytes png;
        ASSERT_TRUE(readWholeFile((root / "frames" / name).string(), png)) << name;
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
        EXPECT_EQ(Bytes(png.begin() + 12, png.begin() + 16), (Bytes{'I', 'H', 'D', 'R'}));
        EXPECT_EQ(getLE32(&png[16]), 0xF0000000u);  // width 240, big-endian
        EXPECT_EQ(getLE32(&png[20]), 0xF0000000u);  // height 240
        EXPECT_EQ(png[24], 8);                       // 8 bits per channel
        EXPECT_EQ(png[25], 2);                       // red, green, blue: 24 bits
    }
    r = run("unit.flc -o one/ --frame 7");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(root / "one" / "frame_0007.png"));
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "one"), fs::directory_iterator{}), 1);
}

TEST_F(RenderCli, RefusalsAndUsageErrors)
{
    unitFile();
    CliRun r = run("unit.flc -o x.png --frame 16");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Frame 16 does not exist: the animation has 16 frame(s), numbered from 0.\n");
    write("bad.flc", Bytes(200, 0));
    r = run("bad.flc -o x.png");
    EXPECT_EQ(r.status, 1);
    // Messages show the path made absolute, as the program's file dialogs give it.
    EXPECT_EQ(r.err, "'" + (root / "bad.flc").string() + "'\nInvalid or unsupported document format.\n");

    for (const char* args : {"unit.flc --civ 33 -o x.png", "unit.flc --civ x -o x.png", "unit.flc --frame -1 -o x.png",
                             "unit.flc --background pink -o x.png", "unit.flc --background '#12345' -o x.png",
                             "unit.flc --no-alpha --background sea -o x.png", "unit.flc", "-o x.png",
                             "unit.flc unit.flc -o x.png", "unit.flc -o x.png --bogus"}) {
        r = run(args);
        EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists(root / "x.png"));
}

}  // namespace
