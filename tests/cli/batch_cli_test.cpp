// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Batch conversion end to end: several inputs and folders, refused inputs among good ones,
// and the outputs a batch must not write.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "cli/cli_run.h"
#include "support/flc_builder.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;
using qv::test::quote;

namespace {

class BatchCli : public test::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        fs::create_directories(dir_ / "in" / "sub");
        fs::create_directories(dir_ / "other");
    }
    // A small unit whose pictures differ with `seed`.
    void unit(const std::string& name, int seed)
    {
        test::AnimationShape a;
        a.framesPerDirection = 2 + seed % 3;
        a.picture = [seed](int d, int n) { return test::testPicture(24, 16, d, n + seed); };
        ASSERT_TRUE(test::writeAnimation(path(name), a));
    }
};

}  // namespace

TEST_F(BatchCli, RefusedInputsAreReportedAndTheOthersConverted)
{
    for (int i = 0; i < 5; ++i) unit("in/u" + std::to_string(i) + ".flc", i);
    unit("in/sub/deep.flc", 7);
    ASSERT_TRUE(writeFileAtomic(path("in/broken.flc"), Bytes(300, 0x41)));
    ASSERT_TRUE(writeFileAtomic(path("in/notes.txt"), Bytes(10, 0x41)));  // not an animation: not taken

    const CliRun r = run("to-storyboard " + quote(path("in")) + " -r --jobs 2 -o " + quote(path("out")) + " " +
                         quote(path("missing.flc")));
    EXPECT_EQ(r.status, 1) << r.err;
    for (const char* name : {"out/u0", "out/u4", "out/sub/deep"})
        for (const char* ext : {".pcx", ".qsb", ".act", "_Default.act"})
            EXPECT_TRUE(fileExists(path(std::string(name) + ext))) << name << ext;
    EXPECT_FALSE(fileExists(path("out/broken.qsb")));
    EXPECT_NE(r.err.find("'" + path("in/broken.flc") + "'\nInvalid or unsupported document format."), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("'" + path("missing.flc") + "'\nThe file cannot be found."), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("6 of 8 file(s) converted"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 file(s) refused:\n  " + path("in/broken.flc")), std::string::npos) << r.out;

    // Every output as the single-input command writes it: the workers share nothing.
    for (const char* name : {"u3", "sub/deep"}) {
        const std::string n = name;
        ASSERT_EQ(run("to-storyboard " + quote(path("in/" + n + ".flc")) + " -o " + quote(path("one/x.pcx"))).status,
                  0);
        EXPECT_EQ(bytes("out/" + n + ".pcx"), bytes("one/x.pcx")) << name;
        EXPECT_EQ(bytes("out/" + n + ".act"), bytes("one/x.act")) << name;
    }

    // Without -r only the folder's own files; the other commands name their outputs alike.
    const CliRun flat = run("render " + quote(path("in")) + " --format bmp -o " + quote(path("pictures")));
    EXPECT_EQ(flat.status, 1);
    EXPECT_TRUE(fileExists(path("pictures/u2.bmp")));
    EXPECT_FALSE(fs::exists(path("pictures/sub")));
    EXPECT_EQ(
        run("anim " + quote(path("in/u1.flc")) + " " + quote(path("in/sub")) + " -o " + quote(path("anims"))).status,
        0);
    EXPECT_TRUE(fileExists(path("anims/u1.gif")) && fileExists(path("anims/deep.gif")));
    EXPECT_EQ(run("to-flc " + quote(path("out")) + " -r -o " + quote(path("flc"))).status, 0);
    EXPECT_TRUE(fileExists(path("flc/u0.flc")) && fileExists(path("flc/sub/deep.flc")));
}

TEST_F(BatchCli, OutputsThatMustNotBeWritten)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string args;
        int status;
        std::string message;  // expected on standard error
        std::function<void()> check;
    };
    const std::string out = path("out");
    const Bytes marker(7, 0x55);
    const Case cases[] = {
        {"an existing output is kept without --force", [&] { ASSERT_TRUE(writeFileAtomic(path("out/a.flc"), marker)); },
         "to-flc " + quote(path("in")) + " -o " + quote(out), 1,
         "'" + path("in/a.qsb") + "'\nNot converted: '" + path("out/a.flc") + "' already exists (--force replaces it).",
         [&] {
             EXPECT_EQ(bytes("out/a.flc"), marker);
             EXPECT_TRUE(fileExists(path("out/b.flc")));
         }},
        {"--force replaces it", [&] { ASSERT_TRUE(writeFileAtomic(path("out/a.flc"), marker)); },
         "to-flc " + quote(path("in")) + " --force -o " + quote(out), 0, "",
         [&] { EXPECT_NE(bytes("out/a.flc"), marker); }},
        {"two inputs writing one file are both refused", [] {},
         "to-flc " + quote(path("in/a.qsb")) + " " + quote(path("other/a.qsb")) + " " + quote(path("in/b.qsb")) +
             " -o " + quote(out),
         1,
         "'" + path("other/a.qsb") + "'\nNot converted: '" + path("in/a.qsb") + "' would write the same file '" +
             path("out/a.flc") + "'.",
         [&] {
             EXPECT_FALSE(fs::exists(path("out/a.flc")));
             EXPECT_TRUE(fileExists(path("out/b.flc")));
         }},
        {"an output that is an input", [] {},
         "recolour " + quote(path("in")) + " --replace 1=#FFFFFF -o " + quote(path("in")), 1,
         "'" + path("in/u.flc") + "'\nNot converted: its output '" + path("in/u.flc") + "' is an input.",
         [&] { EXPECT_EQ(bytes("in/u.flc"), bytes("other/u.flc")); }},
        {"a target folder that is a file",
         [&] {
             fs::remove_all(out);
             ASSERT_TRUE(writeFileAtomic(out, marker));
         },
         "to-flc " + quote(path("in")) + " -o " + quote(out), 1, "'" + out + "'\nThe output folder is a file.",
         [&] { EXPECT_EQ(bytes("out"), marker); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "in");
        fs::create_directories(dir_ / "other");
        fs::create_directories(dir_ / "out");
        unit("in/u.flc", 1);
        fs::copy_file(path("in/u.flc"), path("other/u.flc"));
        for (const char* name : {"in/a.pcx", "in/b.pcx", "other/a.pcx"})
            ASSERT_EQ(run("to-storyboard " + quote(path("in/u.flc")) + " -o " + quote(path(name))).status, 0);
        c.prepare();
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        c.check();
    }
}
