// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_run.h"
#include "core/bitmap.h"
#include "core/file_io.h"
#include "core/flc_encoder.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/storyboard_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;
using qv::test::quote;

namespace {


constexpr int kW = 6, kH = 4, kF = 3, kD = 8;

std::vector<uint8_t> picture(int k)
{
    std::vector<uint8_t> p(size_t(kW) * kH);
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>((k * 5 + int(i) * (k % 3 + 1)) % 200);
    return p;
}

Palette256 palette()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i / 2), uint8_t(255 - i));
    return p;
}

class ToFlcCli : public qv::test::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        // An 8-bit storyboard with a palette file, as the export writes one.
        test::StoryboardFixture layout;
        layout.width = kW;
        layout.height = kH;
        layout.framesPerDirection = kF;
        layout.directions = kD;
        layout.speed = 80;
        layout.leftOffset = 100;
        layout.topOffset = 120;
        layout.imageType = kFormatBmp;
        layout.paletteType = kPaletteJasc;
        layout.palette = palette();
        layout.picture = [](int d, int n) { return picture(d * kF + n); };
        ASSERT_TRUE(test::writeStoryboard(path("Unit.qsb"), layout));
    }
};

}  // namespace

TEST_F(ToFlcCli, EncodesTheStoryboardAsTheViewWould)
{
    CliRun r = run("to-flc " + quote(path("Unit.qsb")) + " -o " + quote(path("out.flc")));
    ASSERT_EQ(r.status, 0) << r.err;
    FlcLoadResult loaded;
    ASSERT_TRUE(loadFlcAnimation(path("out.flc"), loaded));
    const FlcHeader& h = loaded.store.header;
    EXPECT_EQ(h.speed, 80u);
    EXPECT_EQ(h.animationTime, 80u * kF);
    EXPECT_EQ(h.leftOffset, 100);
    EXPECT_EQ(h.topOffset, 120);
    EXPECT_EQ(h.directions, kD);
    EXPECT_EQ(h.directionMask, 0xFFu);
    ASSERT_EQ(loaded.store.frames.size(), size_t(kD * kF));
    for (int k = 0; k < kD * kF; ++k) EXPECT_EQ(loaded.store.frames[k], picture(k)) << k;
    EXPECT_EQ(loaded.store.basePalette, palette());

    // The same bytes as the encoder gives for the same frames.
    std::vector<std::vector<uint8_t>> frames;
    for (int k = 0; k < kD * kF; ++k) frames.push_back(picture(k));
    FlcEncodeParams p;
    p.width = kW;
    p.height = kH;
    p.framesPerDirection = kF;
    p.directions = kD;
    p.speed = 80;
    p.delay = 80;
    p.leftOffset = 100;
    p.topOffset = 120;
    Bytes expect, got;
    ASSERT_TRUE(encodeFlc(p, frames, palette(), expect));
    ASSERT_TRUE(readWholeFile(path("out.flc"), got));
    EXPECT_EQ(got, expect);

    // A custom delay changes the header's delay only.
    r = run("to-flc " + quote(path("Unit.qsb")) + " -o " + quote(path("slow.flc")) + " --delay 250");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(loadFlcAnimation(path("slow.flc"), loaded));
    EXPECT_EQ(loaded.store.header.speed, 250u);
    EXPECT_EQ(loaded.store.header.animationTime, 80u * kF);
}

TEST_F(ToFlcCli, RefusalsAndUsageErrors)
{
    fs::remove(path("Unit.bmp"));
    CliRun r = run("to-flc " + quote(path("Unit.qsb")) + " -o " + quote(path("out.flc")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("Unit.bmp") + "'\nImage file isn't exist.\n");
    EXPECT_FALSE(fs::exists(path("out.flc")));

    r = run("to-flc " + quote(path("Nothing.qsb")) + " -o " + quote(path("out.flc")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot read QSB file.\nInvalid or unsupported document format.\n");

    SetUp();  // the sheet back
    // A missing output folder is created; one that cannot be is named.
    EXPECT_EQ(run("to-flc " + quote(path("Unit.qsb")) + " -o " + quote(path("new/folder/out.flc"))).status, 0);
    EXPECT_TRUE(fs::exists(path("new/folder/out.flc")));
    r = run("to-flc " + quote(path("Unit.qsb")) + " -o " + quote(path("Unit.qsb/sub/out.flc")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("Unit.qsb/sub") + "'\nCannot create the folder.\n");

    // Nothing is written that the program would refuse to read: frames over 240 pixels, or
    // more directions than the sheet holds.
    test::StoryboardFixture wide;
    wide.width = 241;
    wide.directions = 1;
    wide.framesPerDirection = 1;
    test::StoryboardFixture claims = wide;
    claims.width = 5;
    claims.claimedDirections = 255;
    for (const test::StoryboardFixture& layout : {wide, claims}) {
        ASSERT_TRUE(test::writeStoryboard(path("Bad.qsb"), layout));
        r = run("to-flc " + quote(path("Bad.qsb")) + " -o " + quote(path("bad.flc")));
        EXPECT_EQ(r.status, 1);
        StoryboardInfo info;
        ASSERT_TRUE(ReadQSB(path("Bad.qsb"), info));
        EXPECT_EQ(r.err, toPlainLineBreaks(checkStoryboardForFlc(path("Bad.qsb"), info).message) + "\n");
        EXPECT_FALSE(fs::exists(path("bad.flc")));
    }

    EXPECT_EQ(run("to-flc " + quote(path("Unit.qsb"))).status, 2);
    EXPECT_EQ(run("to-flc -o x.flc").status, 2);
    EXPECT_EQ(run("to-flc " + quote(path("Unit.qsb")) + " -o x.flc --delay fast").status, 2);

    // Relative paths appear absolute in the messages, as the file dialogs give them.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    const std::string here = fs::current_path().string();
    const CliRun badTarget = run("to-flc Unit.qsb -o Unit.bmp/out.flc");
    fs::remove(path("Unit.bmp"));
    const CliRun noSheet = run("to-flc Unit.qsb -o out.flc");
    fs::current_path(cwd);
    EXPECT_EQ(badTarget.status, 1);
    EXPECT_EQ(badTarget.err,
              "'" + here + "/Unit.bmp/out.flc'\nCannot copy temporary file to the specified target path.\n");
    EXPECT_EQ(noSheet.status, 1);
    EXPECT_EQ(noSheet.err, "'" + here + "/Unit.bmp'\nImage file isn't exist.\n");
}
