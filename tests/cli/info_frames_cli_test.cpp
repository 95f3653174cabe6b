// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// quorvane-cli info and frames, run as a user runs them (from the scratch folder, with
// relative paths), on generated files.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "cli/cli_run.h"
#include "core/strings.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

namespace {

using InfoFramesCli = CliTest;

AnimationShape smallUnit()
{
    AnimationShape s;
    s.width = 9;
    s.height = 5;
    s.framesPerDirection = 2;
    return s;
}

}  // namespace

// The report's text is the window's (a GUI test compares them).
TEST_F(InfoFramesCli, InfoWritesTheReportForTheAbsolutePathAndRefusesWhatItCannotRead)
{
    const Bytes good = buildAnimation(smallUnit());
    put("unit.FLC", good);
    const CliRun r = runHere("info unit.FLC");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(0u, r.out.find("Information about \"" + path("unit.FLC") + "\" file.\r\n\r\n"));
    const CliRun o = runHere("info ./sub/../unit.FLC -o Info.txt");
    EXPECT_EQ(0, o.status) << o.err;
    EXPECT_EQ("", o.out);
    EXPECT_EQ(r.out, text("Info.txt"));
    // A report that cannot be written is refused with the target's name.
    const CliRun w = runHere("info unit.FLC -o no/such/folder/r.txt");
    EXPECT_EQ(1, w.status);
    EXPECT_EQ("'" + path("no/such/folder/r.txt") + "'\nCannot write the file.\n", w.err);

    Bytes noMagic = good;
    noMagic[5] = 0;
    put("a.fli", good);
    put("b.flc", noMagic);
    put("d.flc", Bytes(good.begin(), good.begin() + 140));  // no frame comes out
    for (const char* name : {"a.fli", "b.flc", "d.flc"}) {
        for (const std::string cmd : {"info ", "frames -o out "}) {
            const CliRun refused = runHere(cmd + name);
            EXPECT_EQ(1, refused.status) << cmd << name;
            EXPECT_EQ("'" + path(name) + "'\nInvalid or unsupported document format.\n", refused.err) << cmd << name;
            EXPECT_EQ("", refused.out);
        }
    }
    EXPECT_FALSE(fs::exists(dir_ / "out"));  // nothing is created for a refused input

    for (const char* args :
         {"info", "info unit.FLC other.flc", "info unit.FLC --bogus", "frames unit.FLC", "frames -o out"})
        EXPECT_EQ(2, runHere(args).status) << args;
    EXPECT_EQ(0, runHere("info --help").status);
}

// Raw indices with the palette as RGB triples, or indexed PNGs with the animation's palette.
TEST_F(InfoFramesCli, FramesWritesEveryAnimationFrameAndThePalette)
{
    const AnimationShape anim = smallUnit();
    put("unit.flc", buildAnimation(anim));
    ASSERT_EQ(0, runHere("frames unit.flc -o deep/er/raw --raw").status);
    ASSERT_EQ(0, runHere("frames unit.flc -o png").status);
    const auto pics = animationPictures(anim);
    const Palette256 pal = testPalette();
    std::string rgb;
    QList<QRgb> colours;
    for (const PaletteEntry& e : pal.entries) {
        rgb += {char(e.red), char(e.green), char(e.blue)};
        colours.push_back(kOpaque | e.rgb());
    }
    EXPECT_EQ(rgb, text("deep/er/raw/palette.rgb"));
    for (size_t i = 0; i < pics.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04zu", i);
        SCOPED_TRACE(name);
        EXPECT_EQ(std::string(pics[i].begin(), pics[i].end()), text("deep/er/raw/" + std::string(name) + ".idx"));
        const QImage png(QString::fromStdString(path("png/" + std::string(name) + ".png")), "PNG");
        ASSERT_EQ(png.format(), QImage::Format_Indexed8);
        EXPECT_EQ(png.colorTable(), colours);
        for (int y = 0; y < anim.height; ++y)
            for (int x = 0; x < anim.width; ++x)
                EXPECT_EQ(png.pixelIndex(x, y), pics[i][size_t(y * anim.width + x)]) << x << "," << y;
    }
    EXPECT_FALSE(fs::exists(path("deep/er/raw/frame_0016.idx")));

    // A file of key frames only is unusual: the warning, and its frames all the same.
    FlcBuilder b(4, 3);
    b.header.frames = 1;
    b.frame({Chunk::color256(testPalette()), Chunk::byteRun(Picture(12, 3), 4, 3)});
    put("keys.flc", b.build());
    const CliRun r = runHere("frames keys.flc -o k --raw");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(toPlainLineBreaks(formatMessage(str::IDS_UNUSUAL_FORMAT, {path("keys.flc")})) + "\n", r.err);
    EXPECT_EQ(std::string(12, '\3'), text("k/frame_0000.idx"));
}
