// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli to-storyboard` over a folder of 200 animations, with --jobs 1 and --jobs 2:
// the target is --jobs 2 at least 1.7 times as fast on two cores. The animations are
// written with our FLC encoder: units of 8 directions of 10 to 15 frames of 240 x 240 (a
// walking figure on the transparent colour, each file a little different).
//   bench_batch_convert [ROUNDS] [FOLDER]     (default 5 rounds; FOLDER: its FLC files
//                                               instead of the generated ones, or where
//                                               they are written and kept when missing)
// Each round runs both, alternating which goes first, each into a folder of its own (all
// kept until the end: about 350 MB per run). It
// prints every run's wall time, the processor time the tool used (and so the cores it
// had) and the load average before it, then the median times and their ratio, beside the
// machine's own two-core speed-up on a processor-bound loop. Measured on the idle machine:
// speed-ups from 1.61 to 2.26 (median 1.86) on ext4, where the machine's own speed varied
// by half between runs; figures in README.md.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/flc_encoder.h"
#include "support/flc_builder.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

constexpr int kAnimations = 200;

bool writeAnimations(const fs::path& folder)
{
    fs::create_directories(folder);
    for (int i = 0; i < kAnimations; ++i) {
        FlcEncodeParams p;
        p.width = p.height = 240;
        p.directions = 8;
        p.framesPerDirection = 10 + i % 6;
        p.speed = p.delay = 100;
        std::vector<std::vector<uint8_t>> frames;
        for (int d = 1; d <= p.directions; ++d)
            for (int n = 0; n < p.framesPerDirection; ++n) frames.push_back(test::walkingUnitPicture(d, n + i));
        char name[32];
        std::snprintf(name, sizeof name, "unit%03d.flc", i);
        if (!writeFlcFile((folder / name).string(), p, frames, test::testPalette())) return false;
    }
    return true;
}

double loadAverage()
{
    std::ifstream in("/proc/loadavg");
    double one = -1;
    in >> one;
    return one;
}

double childCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// One run of the tool into the new folder `out` (FLC files in subfolders too); its wall
// time in seconds, or a negative number when it failed or converted nothing. A folder of
// real animations may hold a few the tool refuses: the run still counts, and `summary`
// gets the tool's count of what it converted.
double convert(const fs::path& in, const fs::path& out, int jobs, double& cpu, double& load, std::string& summary)
{
    // The previous run's 350 MB of sheets are still being written back: let the disk
    // settle, so that no run pays for the one before it. Its files are not removed before
    // the end: ext4 (without a journal, as on our CI machines) skips every inode freed in
    // the last minutes when it looks for a free one, so each file created after a
    // removal of a thousand files costs a search through them, and the runs after a
    // removal were slower by up to a half, by an amount that grew with each round.
    ::sync();
    load = loadAverage();
    const fs::path log = out.string() + ".log";
    const std::string cmd = quote(QV_CLI_PATH) + " to-storyboard " + quote(in.string()) + " -r -o " +
                            quote(out.string()) + " --jobs " + std::to_string(jobs) + " >" + quote(log.string()) +
                            " 2>/dev/null";
    const double cpuBefore = childCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = childCpuSeconds() - cpuBefore;
    // The summary's first line: "N of M file(s) converted in ...".
    std::ifstream text(log);
    std::getline(text, summary);
    summary = summary.substr(0, summary.find(" in "));
    const bool someConverted = summary.rfind("0 of ", 0) != 0 && summary.find(" of ") != std::string::npos;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return (code == 0 || code == 1) && someConverted ? wall : -1;
}

// How much faster two threads get through a processor-bound loop (a search for runs in a
// picture row, as the PCX coder's) than one: up to 2 when the machine's two cores are
// really two. On a virtual machine they may share one core of the host for a while, and
// then no program gets much more than 1.3 from the second.
double twoCoreSpeedUp()
{
    auto work = [](unsigned seed) {
        std::vector<uint8_t> row(65536);
        for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t((i * seed) >> 9);
        size_t runs = 0;
        for (int pass = 0; pass < 6000; ++pass) {
            for (size_t i = 1; i < row.size(); ++i) runs += row[i] != row[i - 1];
            row[size_t(pass) % row.size()] ^= 1;
        }
        volatile size_t sink = runs;
        (void)sink;
    };
    auto seconds = [](auto&& f) {
        const auto start = std::chrono::steady_clock::now();
        f();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    work(3);  // an idle virtual processor takes a while to come up to speed
    const double one = seconds([&] { work(3); });
    const double two = seconds([&] {
        std::thread other(work, 5u);
        work(3);
        other.join();
    });
    return two > 0 ? 2 * one / two : 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path scratch = fs::temp_directory_path() / ("qv_bench_batch_" + std::to_string(::getpid()));
    fs::path in = argc > 2 ? fs::path(argv[2]) : scratch / "in";
    if (!fs::exists(in)) {
        std::printf("writing %d animations...\n", kAnimations);
        if (!writeAnimations(in)) {
            std::fprintf(stderr, "bench_batch_convert: cannot write the animations into %s\n", in.c_str());
            return 1;
        }
    }
    fs::create_directories(scratch);
    std::vector<double> times[2], machine;
    for (int r = 0; r < rounds; ++r) {
        machine.push_back(twoCoreSpeedUp());
        std::printf("round %d  the machine's two cores: %.2f times one, on a processor-bound loop\n", r + 1,
                    machine.back());
        for (int k = 0; k < 2; ++k) {
            const int jobs = (r + k) % 2 == 0 ? 1 : 2;
            double cpu = 0, load = 0;
            const fs::path out = scratch / ("out" + std::to_string(2 * r + k));
            std::string summary;
            const double wall = convert(in, out, jobs, cpu, load, summary);
            if (wall < 0) {
                std::fprintf(stderr, "bench_batch_convert: the conversion with --jobs %d failed or converted nothing (%s)\n",
                             jobs, summary.empty() ? "no summary" : summary.c_str());
                fs::remove_all(scratch);
                return 1;
            }
            // Processor time over wall time: the cores the tool really had. On a busy machine, where
            // the scheduler shares the processors between sessions, it stays far below --jobs.
            std::printf("round %d  --jobs %d  %7.2f s wall  %7.2f s processor (%.2f cores)  load before %.2f  (%s)\n",
                        r + 1, jobs, wall, cpu, cpu / wall, load, summary.c_str());
            std::fflush(stdout);
            times[jobs - 1].push_back(wall);
        }
    }
    fs::remove_all(scratch);
    const double one = median(times[0]), two = median(times[1]);
    std::printf("median --jobs 1: %.2f s, --jobs 2: %.2f s, speed-up %.2f (target 1.7 or more); "
                "the machine's two cores: %.2f times one\n",
                one, two, two > 0 ? one / two : 0, median(machine));
    return 0;
}
