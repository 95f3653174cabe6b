// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli anim` and `thumbnail` end to end, and the GIF writer on many colours: the
// GIF and WebP written are decoded with the libraries' own decoders and compared with the
// core compositor's frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "cli/cli_run.h"
#include "core/compositor.h"
#include "core/flc_reader.h"
#include "platform/imaging/anim_writer.h"
#include "support/anim_decode.h"
#include "support/flc_builder.h"
#include "support/storyboard_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

class AnimCli : public ::testing::Test {
protected:
    fs::path root;
    FlcLoadResult loaded;

    void SetUp() override
    {
        root = test::scratchPath("qv_anim");
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    // 8 directions of 2 frames of 24 x 16 at (100, 200), 67 ms a frame: whole centiseconds
    // per frame would add 3 ms each.
    std::string unitFile(bool leaderHead = false)
    {
        test::AnimationSpec anim;
        anim.framesPerDirection = 2;
        anim.speed = 67;
        anim.leaderHead = leaderHead;
        if (leaderHead) anim.directions = 1, anim.width = 30, anim.height = 20;
        Bytes bytes = test::buildAnimation(anim);
        FlcHeader h = FlcHeader::parse(bytes.data());
        h.leftOffset = leaderHead ? 0 : 100;
        h.topOffset = leaderHead ? 0 : 200;
        h.serialize(bytes.data());
        const std::string path = (root / "unit.flc").string();
        EXPECT_TRUE(writeFileAtomic(path, bytes));
        EXPECT_TRUE(loadFlcAnimation(path, loaded));
        return path;
    }

    test::CliRun cli(const std::string& args) { return test::runCli(args, root); }
    std::string at(const std::string& name) { return test::quote((root / name).string()); }

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
        const auto& h = loaded.store.header;
        for (size_t k = 0; k < got.frames.size(); ++k) {
            const int n = first + int(k);
            Surface32 back(kBackBufferWidth, kBackBufferHeight);
            Composition c;
            c.fillRgb = fill;
            c.frame = FrameDrawParams{h.leftOffset, h.topOffset, true, false};
            compose(back.view(), IndexedPixels{loaded.store.frames[size_t(n)].data(), h.width, h.height, h.width},
                    loaded.store.basePalette, c);
            int differences = 0;
            for (int y = 0; y < got.height; ++y)
                for (int x = 0; x < got.width; ++x) {
                    const uint32_t want = expected(n, x / scale, y / scale, back, transparent, gif);
                    uint32_t have = got.frames[k][size_t(y) * size_t(got.width) + size_t(x)];
                    if ((want >> 24) == 0) have &= 0xFF000000u;  // colour under full transparency is free
                    if (have != want && ++differences <= 3)
                        ADD_FAILURE() << "frame " << n << " pixel " << x << "," << y << std::hex << ": " << have
                                      << " instead of " << want;
                }
            EXPECT_EQ(differences, 0) << "frame " << n;
        }
    }
};

TEST_F(AnimCli, GifAndWebpDecodeToTheComposedFramesAndLastAsLongAsTheAnimation)
{
    unitFile();
    struct Case {
        const char* out;
        const char* args;
        int frames, first, scale;
        bool transparent;
    } cases[] = {
        {"o.gif", "--direction all --background '#102030' --loop 3", 16, 0, 1, false},
        {"t.gif", "--direction all --background transparent --loop 3", 16, 0, 1, true},
        {"o.webp", "--direction all --background '#102030' --loop 3", 16, 0, 1, false},
        {"t.webp", "--direction all --background transparent --loop 3", 16, 0, 1, true},
        {"d.gif", "--direction 3 --scale 2 --background '#102030' --loop 3", 2, 6, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        const bool gif = std::string(c.out).find(".gif") != std::string::npos;
        const test::CliRun r = cli("anim " + at("unit.flc") + " -o " + at(c.out) + " " + c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        test::DecodedAnim got;
        ASSERT_TRUE(gif ? test::decodeGif((root / c.out).string(), got) : test::decodeWebp((root / c.out).string(), got));
        EXPECT_EQ(got.width, 240 * c.scale);
        EXPECT_EQ(got.loopCount, 3);
        ASSERT_EQ(int(got.frames.size()), c.frames);
        int total = 0;
        for (int d : got.durationsMs) total += d;
        EXPECT_NEAR(total, 67 * c.frames, 10);
        expectFrames(got, c.first, c.scale, c.transparent, gif, 0x102030);
    }
}

// A grid puts each direction's frame in its compass cell (sequence frame d x F + j in step j)
// around the background; a storyboard exports as the FLC file it encodes to, at its speed.
TEST_F(AnimCli, GridCellsHoldTheSequenceFramesAndStoryboardsExportAsTheirFlc)
{
    unitFile();
    const std::string bg = " --direction all --background '#102030'";
    ASSERT_EQ(cli("anim " + at("unit.flc") + " -o " + at("seq.gif") + bg).status, 0);
    ASSERT_EQ(cli("anim " + at("unit.flc") + " -o " + at("grid.gif") + bg + " --layout grid").status, 0);
    test::DecodedAnim seq, grid;
    ASSERT_TRUE(test::decodeGif((root / "seq.gif").string(), seq));
    ASSERT_TRUE(test::decodeGif((root / "grid.gif").string(), grid));
    ASSERT_EQ(grid.width, 720);
    ASSERT_EQ(grid.height, 720);
    ASSERT_EQ(grid.frames.size(), 2u);
    const int cellX[9] = {0, 1, 2, 2, 2, 1, 0, 0, 1}, cellY[9] = {2, 2, 2, 1, 0, 0, 0, 1, 1};  // SW..W, centre
    for (int j = 0; j < 2; ++j)
        for (int d = 0; d < 9; ++d) {
            int differences = 0;
            for (int y = 0; y < 240; ++y)
                for (int x = 0; x < 240; ++x) {
                    const uint32_t want = d == 8 ? 0xFF102030u : seq.frames[size_t(d * 2 + j)][size_t(y) * 240 + size_t(x)];
                    differences += grid.frames[size_t(j)][size_t(cellY[d] * 240 + y) * 720 + size_t(cellX[d] * 240 + x)] != want;
                }
            EXPECT_EQ(differences, 0) << "step " << j << " cell " << d;
        }

    test::StoryboardFixture layout;
    layout.speed = 67;
    ASSERT_TRUE(test::writeStoryboard((root / "sb.qsb").string(), layout));
    ASSERT_EQ(cli("to-flc " + at("sb.qsb") + " -o " + at("sb.flc")).status, 0);
    for (const char* out : {"sb.gif", "sb.webp"}) {
        const std::string opts = " --direction all --background transparent --scale 3";
        const test::CliRun r = cli("anim " + at("sb.qsb") + " -o " + at(out) + opts);
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(cli("anim " + at("sb.flc") + " -o " + at(std::string("flc.") + out) + opts).status, 0);
        Bytes fromQsb, fromFlc;
        ASSERT_TRUE(readWholeFile((root / out).string(), fromQsb));
        ASSERT_TRUE(readWholeFile((root / (std::string("flc.") + out)).string(), fromFlc));
        EXPECT_TRUE(fromQsb == fromFlc) << out;
        test::DecodedAnim got;
        ASSERT_TRUE(out[3] == 'g' ? test::decodeGif((root / out).string(), got) : test::decodeWebp((root / out).string(), got));
        ASSERT_EQ(got.frames.size(), 6u);
        int total = 0;
        for (int ms : got.durationsMs) total += ms;
        EXPECT_NEAR(total, 6 * 67, 10) << out;
    }
}

TEST_F(AnimCli, BadChoicesAreRefusedAndWriteNothing)
{
    unitFile();
    for (const char* args : {"-o x.bmp", "-o x.gif --scale 0", "-o x.gif --scale 1000", "-o x.gif --direction 8",
                             "-o x.webp --background pink", "-o x.webp --quality 101", "-o x.gif --layout mosaic"}) {
        const test::CliRun r = cli("anim " + at("unit.flc") + " " + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
    for (const char* name : {"x.bmp", "x.gif", "x.webp"}) EXPECT_FALSE(fs::exists(root / name)) << name;
}

TEST_F(AnimCli, ThumbnailFitsTheSizeKeepingProportions)
{
    for (const bool head : {false, true}) {
        unitFile(head);
        const test::CliRun r = cli("thumbnail -s 90 " + at("unit.flc") + " " + at("t.png"));
        ASSERT_EQ(r.status, 0) << r.err;
        Bytes png;
        ASSERT_TRUE(readWholeFile((root / "t.png").string(), png));
        ASSERT_GT(png.size(), 24u);
        auto be32 = [&](size_t o) { return (png[o] << 24) | (png[o + 1] << 16) | (png[o + 2] << 8) | png[o + 3]; };
        EXPECT_EQ(be32(16), 90);              // width
        EXPECT_EQ(be32(20), head ? 60 : 90);  // height: a 30 x 20 head keeps its proportions
    }
    EXPECT_EQ(cli("thumbnail -s 0 " + at("unit.flc") + " " + at("u.png")).status, 2);
}

}  // namespace

// More colours than a GIF palette holds: each frame gets its own palette (libimagequant's
// beyond 255 colours), close to the original; transparency and exact colours survive.
TEST(AnimWriter, GifFramesOfManyColoursGetTheirOwnPalettes)
{
    AnimSequence seq;
    seq.width = seq.height = 64;
    TimedFrame many{std::vector<uint32_t>(64 * 64), 40}, few{std::vector<uint32_t>(64 * 64, 0xFF123456u), 40};
    for (uint32_t i = 0; i < many.pixels.size(); ++i) many.pixels[i] = 0xFF000000u | (i * 0x010203u & 0xFFFFFFu);
    many.pixels[5] = few.pixels[7] = 0;
    seq.frames = {many, few};
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(encodeGif(seq, bytes, error)) << error;
    const fs::path path = test::scratchPath("qv_gifq");
    ASSERT_TRUE(writeFileAtomic(path.string(), bytes));
    test::DecodedAnim got;
    ASSERT_TRUE(test::decodeGif(path.string(), got));
    fs::remove(path);
    ASSERT_EQ(got.frames.size(), 2u);
    EXPECT_EQ(got.frames[0][5], 0u);
    EXPECT_EQ(got.frames[1][7], 0u);
    EXPECT_EQ(got.frames[1][8], 0xFF123456u);
    int worst = 0;
    for (size_t i = 0; i < many.pixels.size(); ++i)
        if (i != 5)
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(int((got.frames[0][i] >> s) & 0xFF) - int((many.pixels[i] >> s) & 0xFF)));
    EXPECT_LT(worst, 24);
}
