// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// quorvane-cli info and frames, run as a user runs them, on generated files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/info_report.h"
#include "support/flc_builder.h"
#include "cli/cli_run.h"
#include "support/temp_dir.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

class InfoFramesCli : public CliTest {
protected:
    CliRun cli(const std::string& args) { return runCli(args, dir_, true); }
    std::string put(const std::string& name, const Bytes& bytes)
    {
        const std::string p = (dir_ / name).string();
        EXPECT_TRUE(writeFileAtomic(p, bytes));
        return p;
    }
    static std::string text(const std::string& path)
    {
        Bytes b;
        readWholeFile(path, b);
        return std::string(b.begin(), b.end());
    }
};

AnimationSpec smallUnit()
{
    AnimationSpec s;
    s.width = 9;
    s.height = 5;
    s.directions = 8;
    s.framesPerDirection = 2;
    return s;
}

std::string expectedReport(const std::string& path, const Bytes& file)
{
    FlcLoadResult r;
    EXPECT_TRUE(loadFlcAnimation(path, file.data(), file.size(), r).ok);
    return flcInfoReport(path, r.store.header, r.store.records);
}

}  // namespace

TEST_F(InfoFramesCli, InfoWritesTheReportForTheAbsolutePath)
{
    const Bytes file = buildAnimation(smallUnit());
    const std::string abs = put("unit.FLC", file);
    const std::string expected = expectedReport(abs, file);

    const CliRun r = cli("info unit.FLC");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(expected, r.out);
    EXPECT_EQ(0u, r.out.find("Information about \"" + abs + "\" file.\r\n\r\n"));
    EXPECT_EQ("", r.err);

    fs::create_directories(dir_ / "out");
    const CliRun o = cli("info ./sub/../unit.FLC -o out/Info.txt");
    EXPECT_EQ(0, o.status) << o.err;
    EXPECT_EQ("", o.out);
    EXPECT_EQ(expected, text((dir_ / "out" / "Info.txt").string()));
}

TEST_F(InfoFramesCli, RefusedInputsAndUsageErrors)
{
    const Bytes good = buildAnimation(smallUnit());
    Bytes noMagic = good, tooWide = good;
    noMagic[5] = 0;
    putLE16(tooWide.data() + 8, 241);
    put("a.fli", good);
    put("b.flc", noMagic);
    put("c.flc", tooWide);
    put("d.flc", Bytes(good.begin(), good.begin() + 140));  // no frame comes out
    const std::string base = dir_.string() + "/";
    for (const char* name : {"a.fli", "b.flc", "c.flc", "d.flc", "missing.flc"}) {
        for (const std::string cmd : {"info ", "frames -o out "}) {
            const CliRun r = cli(cmd + name);
            EXPECT_EQ(1, r.status) << cmd << name;
            EXPECT_EQ("'" + base + name + "'\nInvalid or unsupported document format.\n", r.err) << cmd << name;
            EXPECT_EQ("", r.out);
        }
    }
    EXPECT_FALSE(fs::exists(dir_ / "out"));  // nothing is created for a refused input

    put("ok.flc", good);
    EXPECT_EQ(2, cli("info").status);
    EXPECT_EQ(2, cli("info ok.flc other.flc").status);
    EXPECT_EQ(2, cli("info ok.flc --bogus").status);
    EXPECT_EQ(2, cli("frames ok.flc").status);
    EXPECT_EQ(2, cli("frames -o out").status);
    EXPECT_EQ(0, cli("info --help").status);

    // A report that cannot be written is refused with the target's name.
    const CliRun w = cli("info ok.flc -o no/such/folder/r.txt");
    EXPECT_EQ(1, w.status);
    EXPECT_EQ("'" + base + "no/such/folder/r.txt'\nCannot write the file.\n", w.err);
}

TEST_F(InfoFramesCli, UnusualFileWarnsAndGoesOn)
{
    FlcBuilder b(4, 3);
    b.header.frames = 1;
    b.frame({Chunk::color256(testPalette()), Chunk::byteRun(Picture(12, 3), 4, 3)});
    put("keys.flc", b.build());
    const CliRun r = cli("info keys.flc");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("'" + dir_.string() +
                  "/keys.flc'\nThis file has unusual Dominara FLC document format.\n"
                  "Document was opend but will not correctly works.\n",
              r.err);
    EXPECT_NE(std::string::npos, r.out.find("Frame 0 contains 2 chunk(s)."));
    EXPECT_EQ(0, cli("frames keys.flc -o k --raw").status);
    EXPECT_EQ(std::string(12, '\3'), text((dir_ / "k" / "frame_0000.idx").string()));
}

TEST_F(InfoFramesCli, FramesRawWritesEveryAnimationFrameAndThePalette)
{
    const AnimationSpec anim = smallUnit();
    put("unit.flc", buildAnimation(anim));
    const CliRun r = cli("frames unit.flc -o deep/er/frames --raw");
    ASSERT_EQ(0, r.status) << r.err;
    const fs::path out = dir_ / "deep" / "er" / "frames";
    const auto pics = animationPictures(anim);
    for (size_t i = 0; i < pics.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04zu.idx", i);
        EXPECT_EQ(std::string(pics[i].begin(), pics[i].end()), text((out / name).string())) << name;
    }
    EXPECT_FALSE(fs::exists(out / "frame_0016.idx"));
    const std::string rgb = text((out / "palette.rgb").string());
    ASSERT_EQ(768u, rgb.size());
    const Palette256 pal = testPalette();
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(pal[size_t(i)].red, uint8_t(rgb[size_t(i) * 3]));
        EXPECT_EQ(pal[size_t(i)].green, uint8_t(rgb[size_t(i) * 3 + 1]));
        EXPECT_EQ(pal[size_t(i)].blue, uint8_t(rgb[size_t(i) * 3 + 2]));
    }
}

TEST_F(InfoFramesCli, FramesWritesIndexedPngsWithTheAnimationPalette)
{
    AnimationSpec anim = smallUnit();
    anim.directions = 1;
    anim.framesPerDirection = 3;
    put("unit.flc", buildAnimation(anim));
    const CliRun r = cli("frames unit.flc -o png");
    ASSERT_EQ(0, r.status) << r.err;
    const Palette256 pal = testPalette();
    for (int i = 0; i < 3; ++i) {
        const std::string png = text((dir_ / "png" / ("frame_000" + std::to_string(i) + ".png")).string());
        ASSERT_GT(png.size(), 33u + 12 + 768);
        EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
        const auto* p = reinterpret_cast<const uint8_t*>(png.data());
        auto be32 = [&](size_t at) { return uint32_t(p[at]) << 24 | uint32_t(p[at + 1]) << 16 | p[at + 2] << 8 | p[at + 3]; };
        EXPECT_EQ("IHDR", png.substr(12, 4));
        EXPECT_EQ(uint32_t(anim.width), be32(16));
        EXPECT_EQ(uint32_t(anim.height), be32(20));
        EXPECT_EQ(8, p[24]);  // bit depth
        EXPECT_EQ(3, p[25]);  // palette colour
        const size_t plte = png.find("PLTE");
        ASSERT_NE(std::string::npos, plte);
        ASSERT_EQ(768u, be32(plte - 4));
        for (int c = 0; c < 256; ++c) {
            ASSERT_EQ(pal[size_t(c)].red, p[plte + 4 + size_t(c) * 3]) << c;
            ASSERT_EQ(pal[size_t(c)].blue, p[plte + 4 + size_t(c) * 3 + 2]) << c;
        }
    }
    EXPECT_FALSE(fs::exists(dir_ / "png" / "frame_0003.png"));
}
