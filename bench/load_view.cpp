// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Opening a unit of 8 directions x 15 frames of 240 x 240 pixels: the core load alone
// (decoding from memory), the FLC view's whole load from the file (reading, decoding,
// the 32-bit frame surfaces), and one composed and presented render tick. The target
// for opening is under 20 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/flc_reader.h"
#include "flc/flc_view.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

const Bytes& unitFile()
{
    static const Bytes bytes = buildAnimation(fullSizeUnit());
    return bytes;
}

QString unitPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("unit.flc"));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(unitFile().data()), static_cast<qint64>(unitFile().size()));
        return p;
    }();
    return path;
}

void BM_CoreLoadFromMemory(benchmark::State& state)
{
    const Bytes& bytes = unitFile();
    for (auto _ : state) {
        FlcLoadResult result;
        const Status ok = loadFlcAnimation("unit.flc", bytes.data(), bytes.size(), result);
        benchmark::DoNotOptimize(ok.ok);
        if (result.store.frames.size() != 120) state.SkipWithError("wrong frame count");
    }
    state.counters["file_kB"] = static_cast<double>(bytes.size()) / 1024.0;
}
BENCHMARK(BM_CoreLoadFromMemory)->Unit(benchmark::kMillisecond);

void BM_FlcViewLoadFromFile(benchmark::State& state)
{
    const QString path = unitPath();
    CFlcView view;
    for (auto _ : state) {
        const bool ok = view.LoadAnimation(path, true);
        if (!ok || view.frames().size() != 120) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_FlcViewLoadFromFile)->Unit(benchmark::kMillisecond);

void BM_RenderTick(benchmark::State& state)
{
    CFlcView view;
    if (!view.LoadAnimation(unitPath(), true)) {
        state.SkipWithError("load failed");
        return;
    }
    view.playback().setDirectionRaw(0);
    view.playback().setFrameRange();
    view.playback().setLoaded(true);
    view.playback().startPlayback();
    for (auto _ : state) {
        view.RequestRedraw();
        view.RenderTick();
    }
}
BENCHMARK(BM_RenderTick)->Unit(benchmark::kMicrosecond);

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
