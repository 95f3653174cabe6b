// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Batch conversion end to end: several inputs and folders, refused inputs among good ones,
// and the outputs a batch must not write.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_run.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;

namespace {

class BatchCli : public test::CliTest {
protected:
    CliRun r;

    // A small unit whose pictures differ with `seed`.
    void unit(const std::string& name, int seed)
    {
        test::AnimationShape a;
        a.framesPerDirection = 2 + seed % 3;
        a.picture = [seed](int d, int n) { return test::testPicture(24, 16, d, n + seed); };
        fs::create_directories(fs::path(path(name)).parent_path());
        ASSERT_TRUE(test::writeAnimation(path(name), a));
    }
    // Whether the last run's standard error holds `text`.
    bool said(const std::string& text) const { return r.err.find(text) != std::string::npos; }
};

}  // namespace

TEST_F(BatchCli, RefusedInputsAreReportedAndTheOthersConverted)
{
    for (int i = 0; i < 5; ++i) unit("in/u" + std::to_string(i) + ".flc", i);
    unit("in/sub/deep.flc", 7);
    put("in/broken.flc", Bytes(300, 0x41));
    put("in/notes.txt", Bytes(10, 0x41));  // not an animation: not taken

    r = run("to-storyboard " + q("in") + " -r --jobs 2 -o " + q("out") + " " + q("missing.flc"));
    EXPECT_EQ(r.status, 1) << r.err;
    for (const char* name : {"out/u0", "out/u4", "out/sub/deep"})
        for (const char* ext : {".pcx", ".qsb", ".act", "_Default.act"})
            EXPECT_TRUE(fileExists(path(std::string(name) + ext))) << name << ext;
    EXPECT_FALSE(fileExists(path("out/broken.qsb")));
    EXPECT_TRUE(said("'" + path("in/broken.flc") + "'\nInvalid or unsupported document format.")) << r.err;
    EXPECT_TRUE(said("'" + path("missing.flc") + "'\nThe file cannot be found.")) << r.err;
    EXPECT_NE(r.out.find("6 of 8 file(s) converted"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 file(s) refused:\n  " + path("in/broken.flc")), std::string::npos) << r.out;

    // An output as the single-input command writes it: the workers share nothing.
    ASSERT_EQ(run("to-storyboard " + q("in/sub/deep.flc") + " -o " + q("one/x.pcx")).status, 0);
    EXPECT_EQ(bytes("out/sub/deep.pcx"), bytes("one/x.pcx"));
    EXPECT_EQ(bytes("out/sub/deep.act"), bytes("one/x.act"));

    // Without -r only the folder's own files; the other commands name their outputs alike.
    EXPECT_EQ(run("render " + q("in") + " --format bmp -o " + q("pictures")).status, 1);
    EXPECT_TRUE(fileExists(path("pictures/u2.bmp")));
    EXPECT_FALSE(fs::exists(path("pictures/sub")));
    EXPECT_EQ(run("anim " + q("in/u1.flc") + " " + q("in/sub") + " -o " + q("anims")).status, 0);
    EXPECT_TRUE(fileExists(path("anims/u1.gif")) && fileExists(path("anims/deep.gif")));
    EXPECT_EQ(run("to-flc " + q("out") + " -r -o " + q("flc")).status, 0);
    EXPECT_TRUE(fileExists(path("flc/u0.flc")) && fileExists(path("flc/sub/deep.flc")));
}

TEST_F(BatchCli, OutputsThatMustNotBeWritten)
{
    unit("in/u.flc", 1);
    unit("other/u.flc", 1);
    for (const char* name : {"in/a.pcx", "in/b.pcx", "other/a.pcx"})
        ASSERT_EQ(run("to-storyboard " + q("in/u.flc") + " -o " + q(name)).status, 0);

    // An existing output is kept without --force, which replaces it.
    const Bytes marker(7, 0x55);
    put("out/a.flc", marker);
    r = run("to-flc " + q("in") + " -o " + q("out"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(said("'" + path("in/a.qsb") + "'\nNot converted: '" + path("out/a.flc") +
                     "' already exists (--force replaces it)."))
        << r.err;
    EXPECT_EQ(bytes("out/a.flc"), marker);
    EXPECT_TRUE(fileExists(path("out/b.flc")));
    EXPECT_EQ(run("to-flc " + q("in") + " --force -o " + q("out")).status, 0);
    EXPECT_NE(bytes("out/a.flc"), marker);

    // Two inputs writing one file are both refused.
    r = run("to-flc " + q("in/a.qsb") + " " + q("other/a.qsb") + " " + q("in/b.qsb") + " -o " + q("two"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(said("'" + path("other/a.qsb") + "'\nNot converted: '" + path("in/a.qsb") +
                     "' would write the same file '" + path("two/a.flc") + "'."))
        << r.err;
    EXPECT_FALSE(fs::exists(path("two/a.flc")));
    EXPECT_TRUE(fileExists(path("two/b.flc")));

    r = run("recolour " + q("in") + " --replace 1=#FFFFFF -o " + q("in"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(said("'" + path("in/u.flc") + "'\nNot converted: its output '" + path("in/u.flc") + "' is an input."))
        << r.err;
    EXPECT_EQ(bytes("in/u.flc"), bytes("other/u.flc"));
    // Also when the output folder is reached through a link.
    fs::create_directory_symlink(path("in"), path("link"));
    r = run("recolour " + q("in") + " --replace 1=#FFFFFF -o " + q("link"));
    EXPECT_TRUE(said("its output '" + path("link/u.flc") + "' is an input.")) << r.err;
    EXPECT_EQ(bytes("in/u.flc"), bytes("other/u.flc"));

    put("file", marker);
    r = run("to-flc " + q("in") + " -o " + q("file"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(said("'" + path("file") + "'\nThe output folder is a file.")) << r.err;
    EXPECT_EQ(bytes("file"), marker);
}
