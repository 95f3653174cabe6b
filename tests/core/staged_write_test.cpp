// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writes handed to a committer (as a batch does): nothing appears under its name before the
// commit, and a unit that fails to commit leaves its old files and no temporary behind
// while the other units of the group are placed.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

class StagedWrite : public test::ScratchTest {
protected:
    void commitTogetherAndFailOne();
};

// Every way of staging: files without a name (Linux), copied to a named file where the
// file system cannot link them, and named temporary files beside their targets
// (elsewhere, or where the file system has no files without a name).
TEST_F(StagedWrite, DeferredUnitsCommitTogetherAndAFailedOneLeavesNothing)
{
    for (const int way : {0, 1, 2}) {
        SCOPED_TRACE(way == 0 ? "files without a name" : way == 1 ? "copied" : "named temporary files");
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        allowUnnamedFiles(way < 2, way == 0);
        commitTogetherAndFailOne();
        allowUnnamedFiles(true);
    }
}

void StagedWrite::commitTogetherAndFailOne()
{
    const Bytes oldBytes(5, 1), newBytes(9, 2);
    ASSERT_TRUE(writeFileAtomic(path("b.pcx"), oldBytes));
    ASSERT_TRUE(writeFileAtomic(path("b.qsb"), oldBytes));
    std::vector<StagedUnit> units;
    {
        DeferredCommitScope scope({path("a.pcx"), path("a.qsb"), path("b.pcx"), path("b.qsb"), path("c.gif")},
                                  [&](StagedUnit&& u) { units.push_back(std::move(u)); });
        ASSERT_TRUE(writeFilesAsUnit({{path("a.pcx"), newBytes}, {path("a.qsb"), newBytes}}));
        ASSERT_TRUE(writeFilesAsUnit({{path("b.pcx"), newBytes}, {path("b.qsb"), newBytes}}));
        ASSERT_TRUE(writeFileAtomic(path("c.gif"), newBytes));
        ASSERT_TRUE(writeFileAtomic(path("outside.txt"), newBytes));  // not among the targets: written at once
    }
    ASSERT_EQ(units.size(), 3u);
    EXPECT_FALSE(fs::exists(path("a.pcx")) || fs::exists(path("c.gif")));
    EXPECT_TRUE(fileExists(path("outside.txt")));

    setFileWriteFaultHook([&](FileWriteStep step, const std::string& p) {
        return step == FileWriteStep::Move && p == path("b.qsb");
    });
    const std::vector<size_t> failed = commitStagedUnits(units);
    setFileWriteFaultHook(nullptr);
    EXPECT_EQ(failed, (std::vector<size_t>{2, 1, 1}));
    Bytes got;
    for (const char* name : {"a.pcx", "a.qsb", "c.gif"}) {
        ASSERT_TRUE(readWholeFile(path(name), got)) << name;
        EXPECT_EQ(got, newBytes) << name;
    }
    for (const char* name : {"b.pcx", "b.qsb"}) {
        ASSERT_TRUE(readWholeFile(path(name), got)) << name;
        EXPECT_EQ(got, oldBytes) << name;
    }
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file();
    EXPECT_EQ(files, 6u);  // no temporary, no old copy left behind
}

// A batch's scope leaves new files to the system but flushes those that replace a file,
// so that a crash cannot cost the old contents.
TEST_F(StagedWrite, OnlyReplacementsAreFlushedWhenNewFilesAreNot)
{
    ASSERT_TRUE(writeFileAtomic(path("old.pcx"), Bytes(5, 1)));
    std::vector<StagedUnit> units;
    {
        DeferredCommitScope scope({path("new.pcx"), path("old.pcx"), path("c.gif")},
                                  [&](StagedUnit&& u) { units.push_back(std::move(u)); }, false);
        ASSERT_TRUE(writeFilesAsUnit({{path("new.pcx"), Bytes(9, 2)}, {path("old.pcx"), Bytes(9, 2)}}));
        ASSERT_TRUE(writeFileAtomic(path("c.gif"), Bytes(9, 2)));
    }
    ASSERT_EQ(units.size(), 2u);
    EXPECT_FALSE(units[0].files[0].flush);
    EXPECT_TRUE(units[0].files[1].flush);
    EXPECT_FALSE(units[1].files[0].flush);
    // Where the system has files without a name, staged files have none until the commit,
    // so an interrupted batch leaves nothing behind: only the old file is there.
    if (units[0].files[0].unnamed.isOpen()) {
        size_t entries = 0;
        for (const auto& e : fs::directory_iterator(dir_)) entries += e.is_regular_file();
        EXPECT_EQ(entries, 1u);
    }
    // A file that took a new output's name meanwhile is replaced, as a rename would.
    ASSERT_TRUE(writeFileAtomic(path("c.gif"), Bytes(3, 7)));
    EXPECT_EQ(commitStagedUnits(units), (std::vector<size_t>{2, 1}));
    Bytes got;
    for (const char* name : {"new.pcx", "old.pcx", "c.gif"}) {
        ASSERT_TRUE(readWholeFile(path(name), got)) << name;
        EXPECT_EQ(got, Bytes(9, 2)) << name;
    }
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file();
    EXPECT_EQ(files, 3u);
}
