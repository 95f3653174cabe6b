// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli anim` and `thumbnail` end to end, and the GIF writer on many colours: the
// GIF and WebP written are decoded with the libraries' own decoders and compared with the
// core compositor's frames.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <numeric>
#include <tuple>

#include "cli/cli_run.h"
#include "platform/imaging/anim_writer.h"
#include "support/anim_decode.h"
#include "support/storyboard_builder.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;

namespace {

class AnimCli : public test::CliTest {
protected:
    FlcLoadResult loaded;

    // 67 ms a frame: whole centiseconds per frame would add 3 ms each.
    void unitFile(bool leaderHead = false)
    {
        put("unit.flc", test::placedAnimation(leaderHead, 67));
        loaded = loadFlc("unit.flc");
    }

    // Frame n as `render` composes it over `fill`, or, over nothing, by the transparency rules.
    uint32_t expected(int n, int x, int y, const Surface32& back, bool transparent, bool gif) const
    {
        if (!transparent) return kOpaque | (back.at(x, y) & kRgbMask);
        const auto& h = loaded.store.header;
        const int fx = x - h.leftOffset, fy = y - h.topOffset;
        if (fx < 0 || fy < 0 || fx >= h.width || fy >= h.height) return 0;
        const uint8_t i = loaded.store.frames[size_t(n)][size_t(fy) * h.width + size_t(fx)];
        if (i == kTransparentIndex) return 0;
        if (!gif && i >= 240) return uint32_t(12 * (255 - i)) << 24;
        if (!gif && i >= 224) return (uint32_t(4 * (i - 224)) << 24) | 0xFFFFFFu;
        return kOpaque | loaded.store.basePalette[i].rgb();
    }

    void expectFrames(const test::DecodedAnim& got, int first, int scale, bool transparent, bool gif, uint32_t fill)
    {
        for (size_t k = 0; k < got.frames.size(); ++k) {
            const int n = first + int(k);
            const Surface32 back = test::composedFrame(loaded, n, fill);
            const auto want = [&](int x, int y) { return expected(n, x / scale, y / scale, back, transparent, gif); };
            const auto have = [&](int x, int y) {
                const uint32_t pixel = got.frames[k][size_t(y) * size_t(got.width) + size_t(x)];
                // The colour under full transparency is free.
                return (want(x, y) >> 24) == 0 ? pixel & 0xFF000000u : pixel;
            };
            EXPECT_EQ(test::pixelDifferences(got.width, got.height, have, want), 0) << "frame " << n;
        }
    }
};

TEST_F(AnimCli, GifAndWebpDecodeToTheComposedFramesAndLastAsLongAsTheAnimation)
{
    unitFile();
    // Output, options, frames, the first one, scale, transparent.
    const std::tuple<std::string, const char*, int, int, int, bool> cases[] = {
        {"o.gif", "--direction all --background '#102030' --loop 3", 16, 0, 1, false},
        {"t.gif", "--direction all --background transparent --loop 3", 16, 0, 1, true},
        {"o.webp", "--direction all --background '#102030' --loop 3", 16, 0, 1, false},
        {"t.webp", "--direction all --background transparent --loop 3", 16, 0, 1, true},
        {"d.gif", "--direction 3 --scale 2 --background '#102030' --loop 3", 2, 6, 2, false},
    };
    for (const auto& [out, args, frames, first, scale, transparent] : cases) {
        SCOPED_TRACE(out);
        const bool gif = out.find(".gif") != std::string::npos;
        const CliRun r = run("anim " + q("unit.flc") + " -o " + q(out) + " " + args);
        ASSERT_EQ(r.status, 0) << r.err;
        test::DecodedAnim got;
        ASSERT_TRUE(gif ? test::decodeGif(path(out), got) : test::decodeWebp(path(out), got));
        EXPECT_EQ(got.width, 240 * scale);
        EXPECT_EQ(got.loopCount, 3);
        ASSERT_EQ(int(got.frames.size()), frames);
        EXPECT_NEAR(std::accumulate(got.durationsMs.begin(), got.durationsMs.end(), 0), 67 * frames, 10);
        expectFrames(got, first, scale, transparent, gif, 0x102030);
    }

    // A grid puts each direction's frame in its compass cell (sequence frame d x F + j in
    // step j) around the background.
    const CliRun r =
        run("anim " + q("unit.flc") + " -o " + q("grid.gif") + " --direction all --background '#102030' --layout grid");
    ASSERT_EQ(r.status, 0) << r.err;
    test::DecodedAnim seq, grid;
    ASSERT_TRUE(test::decodeGif(path("o.gif"), seq));
    ASSERT_TRUE(test::decodeGif(path("grid.gif"), grid));
    ASSERT_EQ(std::make_tuple(grid.width, grid.height, grid.frames.size()), std::make_tuple(720, 720, size_t(2)));
    const int cellX[9] = {0, 1, 2, 2, 2, 1, 0, 0, 1}, cellY[9] = {2, 2, 2, 1, 0, 0, 0, 1, 1};  // SW..W, centre
    for (int j = 0; j < 2; ++j)
        for (int d = 0; d < 9; ++d) {
            const auto have = [&](int x, int y) {
                return grid.frames[size_t(j)][size_t(cellY[d] * 240 + y) * 720 + size_t(cellX[d] * 240 + x)];
            };
            const auto want = [&](int x, int y) {
                return d == 8 ? 0xFF102030u : seq.frames[size_t(d * 2 + j)][size_t(y) * 240 + size_t(x)];
            };
            EXPECT_EQ(test::pixelDifferences(240, 240, have, want), 0) << "step " << j << " cell " << d;
        }
}

// A storyboard exports as the FLC file it encodes to, at its speed.
TEST_F(AnimCli, StoryboardsExportAsTheirFlc)
{
    test::StoryboardFixture layout;
    layout.speed = 67;
    ASSERT_TRUE(test::writeStoryboard(path("sb.qsb"), layout));
    ASSERT_EQ(run("to-flc " + q("sb.qsb") + " -o " + q("sb.flc")).status, 0);
    const std::string opts = " --direction all --background transparent --scale 3 -o ";
    const CliRun r = run("anim " + q("sb.qsb") + opts + q("sb.webp"));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(run("anim " + q("sb.flc") + opts + q("flc.webp")).status, 0);
    EXPECT_TRUE(bytes("sb.webp") == bytes("flc.webp"));
    test::DecodedAnim got;
    ASSERT_TRUE(test::decodeWebp(path("sb.webp"), got));
    EXPECT_EQ(got.durationsMs, std::vector<int>(6, 67));
}

TEST_F(AnimCli, BadChoicesAreRefusedAndWriteNothing)
{
    unitFile();
    for (const char* args : {"-o x.bmp", "-o x.gif --scale 0", "-o x.gif --scale 1000", "-o x.gif --direction 8",
                             "-o x.webp --background pink", "-o x.webp --quality 101", "-o x.gif --layout mosaic"})
        EXPECT_EQ(runHere(std::string("anim unit.flc ") + args).status, 2) << args;
    for (const char* name : {"x.bmp", "x.gif", "x.webp"}) EXPECT_FALSE(fs::exists(path(name))) << name;
}

TEST_F(AnimCli, ThumbnailFitsTheSizeKeepingProportions)
{
    for (const bool head : {false, true}) {
        unitFile(head);
        const CliRun r = run("thumbnail -s 90 " + q("unit.flc") + " " + q("t.png"));
        ASSERT_EQ(r.status, 0) << r.err;
        // A 30 x 20 head keeps its proportions.
        EXPECT_EQ(QImage(QString::fromStdString(path("t.png"))).size(), QSize(90, head ? 60 : 90));
    }
    EXPECT_EQ(run("thumbnail -s 0 " + q("unit.flc") + " " + q("u.png")).status, 2);
}

// More colours than a GIF palette holds: each frame gets its own palette (libimagequant's
// beyond 255 colours), close to the original; transparency and exact colours survive.
TEST_F(AnimCli, GifWriterGivesFramesOfManyColoursTheirOwnPalettes)
{
    AnimSequence seq;
    seq.width = seq.height = 64;
    TimedFrame many{std::vector<uint32_t>(64 * 64), 40}, few{std::vector<uint32_t>(64 * 64, 0xFF123456u), 40};
    for (uint32_t i = 0; i < many.pixels.size(); ++i) many.pixels[i] = 0xFF000000u | (i * 0x010203u & 0xFFFFFFu);
    many.pixels[5] = few.pixels[7] = 0;
    seq.frames = {many, few};
    Bytes gif;
    std::string error;
    ASSERT_TRUE(encodeGif(seq, gif, error)) << error;
    put("many.gif", gif);
    test::DecodedAnim got;
    ASSERT_TRUE(test::decodeGif(path("many.gif"), got));
    ASSERT_EQ(got.frames.size(), 2u);
    EXPECT_EQ(got.frames[0][5], 0u);
    EXPECT_EQ(got.frames[1][7], 0u);
    EXPECT_EQ(got.frames[1][8], 0xFF123456u);
    int worst = 0;
    for (size_t i = 0; i < many.pixels.size(); ++i)
        if (i != 5)
            for (int s = 0; s < 24; s += 8)
                worst =
                    std::max(worst, std::abs(int((got.frames[0][i] >> s) & 0xFF) - int((many.pixels[i] >> s) & 0xFF)));
    EXPECT_LT(worst, 24);
}

}  // namespace
