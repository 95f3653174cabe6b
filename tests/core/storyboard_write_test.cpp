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

using StoryboardWrite = test::ScratchTest;

}  // namespace

// Whatever step of whichever file fails, every file of the old storyboard is left exactly
// as it was and no temporary file stays behind.
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
    fs::create_directories(dir_ / "elsewhere");
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
        }
}

// A 24-bit sheet read back over a palette that repeats colours: transparency and the
// light and shadow indices come back as they were, not as their lower twins. Without the
// palette file, the quantisation palette is also the frames' palette.
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
    fs::remove(dir_ / "Unit.act");
    StoryboardFrames frames;
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    EXPECT_EQ(frames.frames, test::storyboardPictures(layout));
    EXPECT_EQ(frames.palette, layout.palette);
}

TEST(StoryboardForFlc, RefusesFramesAnFlcCannotHoldAndAcceptsALargerSheet)
{
    // A grid outside its sheet is refused through quorvane-cli to-flc.
    StoryboardInfo info;
    ASSERT_TRUE(makeStoryboardInfo("U.pcx", StoryboardGeometry::grid(20, 241, 2, 1, 0, 0, 0, 0, 0, false), info));
    EXPECT_EQ(checkStoryboardForFlc("U.qsb", info).message,
              formatMessage(str::IDS_QSB_FRAME_TOO_LARGE, {"U.qsb", 20, 241}));
    info.frameHeight = 10;
    info.sheetWidth = 500;
    info.sheetHeight = 500;
    EXPECT_TRUE(checkStoryboardForFlc("U.qsb", info));
}
