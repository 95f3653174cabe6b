// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Dragging a slider of the Brightness/Contrast, Hue/Saturation dialog with "Show Preview"
// on, over a unit of 8 directions x 15 frames of 240 x 240 pixels: one slider step
// adjusts the 256 colours through the imaging layer, redraws the dialog's grid, hands the
// colours to the view (every frame surface refilled when next drawn) and composes the
// view's next frame. The target is under 16 ms per step (one frame at 60 Hz).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPixmap>
#include <QSlider>
#include <QTemporaryDir>

#include "flc/flc_view.h"
#include "palette/color_dialogs.h"
#include "palette/color_table.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

void BM_BchsSliderStepWithPreview(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unit.flc"));
    const Bytes bytes = buildAnimation(fullSizeUnit());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    f.close();

    CFlcView view;
    if (!view.LoadAnimation(path, true)) {
        state.SkipWithError("load failed");
        return;
    }
    view.playback().setDirectionRaw(0);
    view.playback().setFrameRange();
    view.playback().setLoaded(true);
    view.playback().startPlayback();

    Palette256 working = view.displayPalette();
    const Palette256 own = working;
    CColorBCHSDlg dlg(working, [&view, &own](const Palette256* p) { view.ShowPalettePreview(p ? *p : own); });
    dlg.previewBox()->setChecked(true);
    const auto control = static_cast<CColorBCHSDlg::Control>(state.range(0));
    QSlider* slider = dlg.slider(control);
    QPixmap gridPicture(dlg.grid()->size());
    int value = slider->minimum();
    for (auto _ : state) {
        value = value >= slider->maximum() ? slider->minimum() : value + 7;
        slider->setValue(value);       // the dialog's change: colours, grid, preview
        dlg.grid()->render(&gridPicture);  // the grid as the next paint draws it
        view.RenderTick();             // the view's next frame in the new colours
    }
    if (view.displayPalette() == own) state.SkipWithError("the preview did not reach the view");
}
BENCHMARK(BM_BchsSliderStepWithPreview)
    ->ArgName("control")  // 0 brightness, 1 contrast, 2 hue, 3 saturation
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond);

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
