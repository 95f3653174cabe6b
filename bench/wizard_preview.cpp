// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Responsiveness of the storyboard wizards while their live preview is computed: the
// export wizard of a unit of 8 directions x 15 frames of 240 x 240 pixels is shown with
// its preview, a setting is changed again and again, and a 1 ms timer on the window's
// thread records the longest time the event loop went without handling an event while
// the sheets (3616 x 1929 pixels) were made and shown. The target is no gap over 50 ms.
// On a shared, loaded machine the wall-clock gaps include time the scheduler gave to other
// programs, so the same probe also runs idle for comparison, and the processor time the
// window's thread spent between two ticks (its own work, whatever the load) is reported.
// For comparison it also times one sheet made on the calling thread, which is the gap
// the window would see without the worker.
//   bench_wizard_preview [ROUNDS]      (default 20; runs offscreen unless a display is set)
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

#include "platform/ui/profile.h"
#include "storyboard/storyboard_wizard.h"
#include "storyboard/wizard_preview.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

std::shared_ptr<ExportSourceData> bigUnit()
{
    const AnimationShape anim = fullSizeUnit();
    auto data = std::make_shared<ExportSourceData>();
    for (Picture& p : animationPictures(anim)) data->frames.push_back(std::move(p));
    ExportSource& s = data->source;
    s.width = s.height = 240;
    s.directions = 8;
    s.framesPerDirection = 15;
    s.leftOffset = s.topOffset = 0;
    s.delay = 100;
    s.basePalette = s.workingPalette = anim.palette;
    s.frames = &data->frames;
    return data;
}

}  // namespace

// Processor time this thread has used, in ms: unlike the wall clock it does not grow
// while other programs have the processor.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Runs the event loop until `done` is set or `ms` pass; false on the time-out.
template <typename Done>
bool runUntil(Done done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    setProfileNames(QStringLiteral("VelmoraBench"), QStringLiteral("QuorvaneWizardPreview"));
    WriteProfileInt(QStringLiteral("Dlg ExpFlc"), QStringLiteral("Preview"), 1);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    const std::shared_ptr<ExportSourceData> data = bigUnit();
    // The same sheet made on this thread, for comparison.
    QElapsedTimer sync;
    sync.start();
    StoryboardSheet made;
    buildExportSheet(data->source, exportWizardDefaults("/tmp/Unit.flc", data->source), CivPaletteSources{}, made);
    const double syncMs = sync.nsecsElapsed() / 1e6;

    CStoryboardWizard wizard(data, QStringLiteral("/tmp/Unit.flc"), CivPaletteSources{});
    wizard.show();
    int shown = 0;
    if (!runUntil([&] { return wizard.preview() != nullptr; }, 10000)) return 1;
    QObject::connect(wizard.preview(), &CPreviewDlg::sheetShown, [&] { ++shown; });
    if (!runUntil([&] { return shown > 0; }, 30000)) return 1;

    // The event-loop probe: the longest time between two ticks of a 1 ms timer.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = clock.nsecsElapsed();
    double lastCpu = threadCpuMs();
    double maxGapMs = 0, maxCpuMs = 0;
    int longGaps = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const double cpu = threadCpuMs();
        const double gap = (now - lastTick) / 1e6;
        maxGapMs = std::max(maxGapMs, gap);
        maxCpuMs = std::max(maxCpuMs, cpu - lastCpu);
        if (gap > 50.0) ++longGaps;
        lastTick = now;
        lastCpu = cpu;
    });
    auto resetProbe = [&] {
        lastTick = clock.nsecsElapsed();
        lastCpu = threadCpuMs();
        maxGapMs = maxCpuMs = 0;
        longGaps = 0;
    };
    probe.start(1);

    // Busy: each change of the frames count starts a new job; the next change waits for
    // the sheet to be shown.
    auto* frames = wizard.findChild<QSpinBox*>(QStringLiteral("frames"));
    wizard.findChild<QAbstractButton*>(QStringLiteral("changeFrames"))->setChecked(true);
    runUntil([&] { return false; }, 300);
    std::vector<double> latencies;
    QElapsedTimer phase;
    phase.start();
    resetProbe();
    for (int round = 0; round < rounds; ++round) {
        const int before = shown;
        QElapsedTimer t;
        t.start();
        frames->setValue(round % 2 ? 15 : 14);
        if (!runUntil([&] { return shown > before; }, 30000)) break;
        latencies.push_back(t.nsecsElapsed() / 1e6);
    }
    const double busyGapMs = maxGapMs, busyCpuMs = maxCpuMs;
    const int busyLong = longGaps;
    const qint64 busyMs = phase.elapsed();

    // Idle: the same probe for as long with nothing computed, which is what the machine
    // itself (other programs, the scheduler) costs the event loop.
    resetProbe();
    runUntil([&] { return false; }, static_cast<int>(busyMs));
    const double idleGapMs = maxGapMs;
    const int idleLong = longGaps;

    std::sort(latencies.begin(), latencies.end());
    const double median = latencies.empty() ? 0 : latencies[latencies.size() / 2];
    const double worst = latencies.empty() ? 0 : latencies.back();
    std::printf("sheet 3616 x 1929 (8 x 15 frames of 240 x 240), %zu of %d previews shown in %lld ms\n",
                latencies.size(), rounds, static_cast<long long>(busyMs));
    std::printf("made on the window's thread: %.1f ms (the gap the window would have without the worker)\n", syncMs);
    std::printf("change to shown: median %.1f ms, worst %.1f ms\n", median, worst);
    std::printf("longest event-loop gap (wall clock): %.1f ms while computing, %.1f ms idle; gaps over 50 ms: "
                "%d while computing, %d idle\n",
                busyGapMs, idleGapMs, busyLong, idleLong);
    std::printf("longest work of the window's thread between two events (its processor time): %.1f ms\n", busyCpuMs);
    std::printf("target: the window's thread never busy over 50 ms while computing: %s\n",
                busyCpuMs <= 50.0 && int(latencies.size()) == rounds ? "PASS" : "FAIL");
    return 0;
}
