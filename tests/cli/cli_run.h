// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Runs the real quorvane-cli (its path is QV_CLI_PATH) through the shell and collects its
// exit status and output, for the end-to-end tests; and what the view composes for a frame.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/byte_io.h"
#include "core/compositor.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/storyboard.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

namespace qv::test {

struct CliRun {
    int status = -1;
    std::string err;
    std::string out;
};

// Quotes one argument for the shell.
inline std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs `ENV PROGRAM ARGS` (ARGS already quoted as needed, ENV assignments or empty); standard
// output and standard error go through files in `dir`. With `inside` it runs there, else here.
inline CliRun runCli(const std::string& args, const std::filesystem::path& dir, bool inside = false,
                     const std::string& program = QV_CLI_PATH, const std::string& env = "")
{
    const std::string errFile = (dir / "stderr.txt").string(), outFile = (dir / "stdout.txt").string();
    const std::string cmd = (inside ? "cd " + quote(dir.string()) + " && " : std::string()) + env + " " +
                            quote(program) + " " + args + " >" + quote(outFile) + " 2>" + quote(errFile);
    const int raw = std::system(cmd.c_str());
    CliRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    for (auto [file, text] : {std::pair{errFile, &r.err}, std::pair{outFile, &r.out}}) {
        Bytes bytes;
        readWholeFile(file, bytes);
        std::error_code ec;
        std::filesystem::remove(file, ec);
        text->assign(bytes.begin(), bytes.end());
    }
    return r;
}

// A test fixture that runs the tool in a scratch folder of its own.
class CliTest : public ScratchTest {
protected:
    // Environment assignments for every run ("env NAME=VALUE ...") and the program run.
    std::string env_;
    std::string program_ = QV_CLI_PATH;

    CliRun run(const std::string& args) { return runCli(args, dir_, false, program_, env_); }
    // Runs from the scratch folder, for relative paths.
    CliRun runHere(const std::string& args) { return runCli(args, dir_, true, program_, env_); }
    // The quoted path of `name` in the scratch folder.
    std::string q(const std::string& name) const { return quote(path(name)); }
    // The bytes of `name` in the scratch folder, or of an absolute path (empty when unreadable).
    Bytes bytes(const std::string& name) const
    {
        Bytes b;
        readWholeFile(path(name), b);
        return b;
    }
    std::string text(const std::string& name) const
    {
        const Bytes b = bytes(name);
        return std::string(b.begin(), b.end());
    }
    // Writes `name` (making its folders); returns its path.
    std::string put(const std::string& name, const Bytes& content) const
    {
        std::filesystem::create_directories((dir_ / name).parent_path());
        EXPECT_TRUE(writeFileAtomic(path(name), content)) << name;
        return path(name);
    }
    FlcLoadResult loadFlc(const std::string& name) const
    {
        FlcLoadResult r;
        EXPECT_TRUE(loadFlcAnimation(path(name), r)) << name;
        return r;
    }
    StoryboardInfo readQsb(const std::string& name) const
    {
        StoryboardInfo i;
        EXPECT_TRUE(ReadQSB(path(name), i)) << name;
        return i;
    }
};

// A unit animation of 8 directions of 2 frames of 24 x 16 pixels at offsets (100, 200), or a
// leader head of 3 frames of 30 x 20.
inline Bytes placedAnimation(bool leaderHead, uint32_t speed = 100)
{
    AnimationShape anim;
    anim.framesPerDirection = leaderHead ? 3 : 2;
    anim.speed = speed;
    if (leaderHead) anim.leaderHead = true, anim.directions = 1, anim.width = 30, anim.height = 20;
    Bytes bytes = buildAnimation(anim);
    FlcHeader h = FlcHeader::parse(bytes.data());
    h.leftOffset = leaderHead ? 0 : 100;
    h.topOffset = leaderHead ? 0 : 200;
    h.serialize(bytes.data());
    return bytes;
}

// How many pixels of a w x h picture differ between got(x, y) and want(x, y); the first few
// are reported.
template <class Got, class Want>
int pixelDifferences(int w, int h, Got got, Want want)
{
    int differences = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (got(x, y) != want(x, y) && ++differences <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": " << got(x, y) << " instead of "
                              << want(x, y);
    return differences;
}

// Frame n of `loaded` as the view composes it over `picture` or the fill colour, with the
// palette `display` (default: the animation's own).
inline Surface32 composedFrame(const FlcLoadResult& loaded, int n, uint32_t fill, bool alpha = true,
                               const Palette256* display = nullptr, const Surface32* picture = nullptr)
{
    const auto& h = loaded.store.header;
    Surface32 back(kBackBufferWidth, kBackBufferHeight);
    const ConstPixels32 pic = picture ? picture->view() : ConstPixels32{};
    Composition c;
    c.picture = picture ? &pic : nullptr;
    c.fillRgb = fill;
    c.frame = FrameDrawParams{loaded.leaderHead ? 0 : h.leftOffset, loaded.leaderHead ? 0 : h.topOffset, alpha,
                              loaded.leaderHead};
    compose(back.view(), IndexedPixels{loaded.store.frames[size_t(n)].data(), h.width, h.height, h.width},
            display ? *display : loaded.store.basePalette, c);
    return back;
}

}  // namespace qv::test
