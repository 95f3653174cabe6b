// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "core/import_storyboard.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"
#include "support/storyboard_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

class StoryboardWrite : public test::ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        fs::create_directories(dir_ / "elsewhere");
    }
    void TearDown() override
    {
        setFileWriteFaultHook(nullptr);
        ScratchTest::TearDown();
    }
};

}  // namespace

// Whatever step of whichever file fails, every file of the old storyboard is left exactly
// as it was, no temporary file stays behind, and the storyboard still reads.
TEST_F(StoryboardWrite, AFailureAtAnyFileLeavesTheOldStoryboardAsItWas)
{
    struct Fault {
        FileWriteStep step;
        const char* file;  // nullptr: every file (a folder that takes no new file)
    };
    const char* const unitFiles[] = {"Unit.pcx", "Unit.act", "Unit_Default.act", "Unit.qsb"};
    std::vector<Fault> faults = {{FileWriteStep::Check, "Unit.qsb"},  // a read-only description
                                 {FileWriteStep::Stage, nullptr}};    // a read-only folder
    for (FileWriteStep step : {FileWriteStep::Stage, FileWriteStep::Move})
        for (const char* file : unitFiles) faults.push_back({step, file});

    // The writers: a new storyboard, an import and the window's Save As, each over Unit.
    test::StoryboardFixture other;
    other.width = 9;
    ASSERT_TRUE(test::writeStoryboard(path("elsewhere/Other.qsb"), other));
    NewStoryboardSettings fresh = newWizardDefaults(true);
    fresh.frameWidth = 7;
    fresh.targetPath = path("Unit.pcx");
    Bitmap picture = Bitmap::create(3 * 6 + 1, 5, 8);
    picture.palette = test::testPalette();
    ImportStoryboardSettings import;
    import.destinationPath = path("Unit.qsb");
    import.frameWidth = 5;
    import.frameHeight = 3;
    StoryboardInfo record;
    ASSERT_TRUE(ReadQSB(path("elsewhere/Other.qsb"), record));
    const std::vector<std::function<Status()>> writers = {
        [&] { return NewStoryboard(fresh, CivPaletteSources{}); },
        [&] { return ImportToQSB(picture, import, [](const std::string&) { return ImportAnswer::Yes; }); },
        [&] { return SaveStoryboard(path("Unit.qsb"), record, Palette256{}, path("elsewhere/Other.pcx")); },
    };

    test::StoryboardFixture old;
    for (size_t w = 0; w < writers.size(); ++w)
        for (const Fault& fault : faults) {
            for (const char* name : unitFiles) fs::remove(dir_ / name);
            ASSERT_TRUE(test::writeStoryboard(path("Unit.qsb"), old));
            const auto before = test::folderSnapshot(dir_);
            bool hit = false;
            setFileWriteFaultHook([&](FileWriteStep step, const std::string& target) {
                const bool fails = step == fault.step && (!fault.file || fs::path(target).filename() == fault.file);
                hit = hit || fails;
                return fails;
            });
            const Status st = writers[w]();
            setFileWriteFaultHook(nullptr);
            if (!hit) continue;  // this writer does not write that file
            const std::string which = "writer " + std::to_string(w) + ", " + (fault.file ? fault.file : "folder");
            EXPECT_FALSE(st) << which;
            EXPECT_FALSE(st.message.empty()) << which;
            EXPECT_EQ(test::folderSnapshot(dir_), before) << which;
            StoryboardFrames frames;
            ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames)) << which;
            EXPECT_EQ(frames.frames, test::storyboardPictures(old)) << which;
        }

    // Without a fault each writer replaces the storyboard and leaves nothing else behind.
    for (const auto& write : writers) {
        ASSERT_TRUE(write());
        for (const auto& [name, bytes] : test::folderSnapshot(dir_)) EXPECT_NE(name[0], '.') << name;
        StoryboardFrames frames;
        EXPECT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    }
}

// A 24-bit sheet read back over a palette that repeats colours: transparency and the
// light and shadow indices come back as they were, not as their lower twins.
TEST_F(StoryboardWrite, TwentyFourBitSheetKeepsTransparencyAndShadowIndicesOverTwins)
{
    test::StoryboardFixture layout;
    layout.depth = 24;
    layout.palette[226] = layout.palette[255] = PaletteEntry::fromRgb(255, 0, 255);
    layout.palette[251] = layout.palette[10] = PaletteEntry::fromRgb(40, 40, 40);
    layout.palette[12] = layout.palette[30] = PaletteEntry::fromRgb(1, 2, 3);
    const uint8_t used[] = {255, 251, 230, 12, 100};
    layout.picture = [&](int d, int n) {
        test::Picture p(size_t(layout.width) * layout.height);
        for (size_t i = 0; i < p.size(); ++i) p[i] = used[(i + size_t(d) + size_t(n)) % 5];
        return p;
    };
    ASSERT_TRUE(test::writeStoryboard(path("Unit.qsb"), layout));
    StoryboardFrames frames;
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    EXPECT_EQ(frames.frames, test::storyboardPictures(layout));
}

TEST(StoryboardForFlc, RefusesWhatTheReaderWouldRefuse)
{
    struct Case {
        int w, h, F, D, sheetW, sheetH;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {240, 240, 2, 8, 483, 1929, nullptr},
        {20, 10, 2, 1, 500, 500, nullptr},  // a larger sheet than the grid needs is read as it is
        {241, 10, 1, 1, 243, 12, str::IDS_QSB_FRAME_TOO_LARGE},
        {10, 241, 1, 1, 12, 243, str::IDS_QSB_FRAME_TOO_LARGE},
        {10, 10, 1, 255, 12, 89, str::IDS_QSB_GRID_OUTSIDE_SHEET},  // 255 directions over 8 rows
        {10, 10, 3, 1, 23, 12, str::IDS_QSB_GRID_OUTSIDE_SHEET},
    };
    for (const Case& c : cases) {
        StoryboardInfo info;
        info.frameWidth = uint8_t(c.w);
        info.frameHeight = uint8_t(c.h);
        info.framesPerDirection = uint8_t(c.F);
        info.directionCount = uint8_t(c.D);
        info.sheetWidth = uint16_t(c.sheetW);
        info.sheetHeight = uint16_t(c.sheetH);
        const Status st = checkStoryboardForFlc("U.qsb", info);
        EXPECT_EQ(bool(st), c.refusal == nullptr) << c.w << "x" << c.h << " " << c.D << "x" << c.F;
        if (c.refusal == str::IDS_QSB_FRAME_TOO_LARGE) {
            EXPECT_EQ(st.message, formatMessage(c.refusal, {"U.qsb", c.w, c.h}));
        } else if (c.refusal) {
            EXPECT_EQ(st.message, formatMessage(c.refusal, {"U.qsb", c.D, c.F, c.F * (c.w + 1) + 1, c.D * (c.h + 1) + 1,
                                                            c.sheetW, c.sheetH}));
        }
    }
}
