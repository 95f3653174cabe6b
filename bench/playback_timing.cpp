// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// How long 100 frames of a 55 ms file take in "Default" mode; the target is 5500 ms
// within 50 ms, with no frame skipped.
//
// BM_DefaultModeInjectedClock drives the playback machine through its injected clock
// with a simulated precise timer: ticks at the machine's period, each delivered 0..3 ms
// late, and every 37th tick held up by a 30 ms stall (a busy window).
// BM_DefaultModeRealTimer plays a real FLC view with its own timer and the system clock
// in the event loop (offscreen, or under Xvfb with QT_QPA_PLATFORM=xcb); it takes about
// 5.5 s of wall time per run.
//
// Counters: ms_for_100_frames (manual time), error_ms (against 5500), worst_frame_ms
// (the largest distance of a frame from its due time), skipped (frames never shown).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "core/playback.h"
#include "flc/flc_view.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint32_t kSpeed = 55;
constexpr int kFrames = 100;

struct Run {
    double totalMs = 0;
    double worstMs = 0;
    int skipped = 0;
};

void report(benchmark::State& state, const Run& run)
{
    state.SetIterationTime(run.totalMs / 1000.0);
    state.counters["ms_for_100_frames"] = run.totalMs;
    state.counters["error_ms"] = run.totalMs - kFrames * double(kSpeed);
    state.counters["worst_frame_ms"] = run.worstMs;
    state.counters["skipped"] = run.skipped;
}

void BM_DefaultModeInjectedClock(benchmark::State& state)
{
    for (auto _ : state) {
        uint32_t now = 1000;
        Playback pb([&now] { return now; });
        pb.setAnimation(1, 200, 200, kSpeed);
        pb.setFrameRange();
        pb.setLoaded(true);
        pb.startPlayback();
        const uint32_t start = now, period = pb.renderPeriod();
        uint32_t scheduled = now;
        Run run;
        int ticks = 0;
        uint16_t shown = 0;
        while (pb.current() < kFrames && ticks < 100000) {
            ++ticks;
            // A precise timer keeps its cadence unless a tick is later than a whole period.
            scheduled += period;
            uint32_t late = (ticks * 7u) % 4u;
            if (ticks % 37 == 0) late += 30;
            now = std::max(now, scheduled + late);
            if (now > scheduled + period) scheduled = now;
            bool compose = false;
            pb.renderTick(compose);
            if (pb.current() != shown) {
                run.skipped += pb.current() - shown - 1;
                shown = pb.current();
                run.worstMs = std::max(run.worstMs, std::abs(double(now - start) - double(shown) * kSpeed));
            }
        }
        run.totalMs = now - start;
        report(state, run);
    }
}
BENCHMARK(BM_DefaultModeInjectedClock)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

QString animationPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        AnimationShape anim;
        anim.directions = 1;
        anim.framesPerDirection = 150;
        anim.speed = kSpeed;
        const Bytes bytes = buildAnimation(anim);
        const QString p = dir.filePath(QStringLiteral("speed55.flc"));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return p;
    }();
    return path;
}

void BM_DefaultModeRealTimer(benchmark::State& state)
{
    for (auto _ : state) {
        CFlcView view;
        if (!view.LoadAnimation(animationPath(), true)) {
            state.SkipWithError("load failed");
            return;
        }
        view.resize(view.GetPreferredSize());
        view.show();
        Playback& pb = view.playback();
        pb.setDirectionRaw(0);
        pb.setFrameRange();
        pb.setLoaded(true);

        QElapsedTimer clock;
        QEventLoop loop;
        Run run;
        uint16_t shown = 0;
        view.setControlListener([&](unsigned) {
            if (pb.current() == shown) return;
            run.skipped += std::max(0, pb.current() - shown - 1);
            shown = pb.current();
            const double at = clock.nsecsElapsed() / 1e6;
            run.worstMs = std::max(run.worstMs, std::abs(at - double(shown) * kSpeed));
            if (shown >= kFrames) {
                run.totalMs = at;
                loop.quit();
            }
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);  // never hang
        clock.start();
        pb.startPlayback();
        loop.exec();
        view.setControlListener({});
        if (shown < kFrames) {
            state.SkipWithError("playback did not reach 100 frames");
            return;
        }
        report(state, run);
    }
}
BENCHMARK(BM_DefaultModeRealTimer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
