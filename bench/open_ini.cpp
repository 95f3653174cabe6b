// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Open INI on a unit of 16 animations of 240 x 240 pixels (8 directions x 15 frames
// each): the time from the command to every window shown, with the INI dialog and the
// confirmation answered by script. The target is under 200 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/services.h"
#include "platform/ui/view.h"
#include "support/unit_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

const char* const kKeys[] = {"DEFAULT", "RUN",    "ATTACK1", "ATTACK2",  "ATTACK3",  "DEATH",   "FORTIFY", "FIDGET",
                             "VICTORY", "BUILD",  "ROAD",    "MINE",     "IRRIGATE", "FORTRESS", "CAPTURE", "JUNGLE"};

int shownWindows(CEditorApp& app)
{
    int shown = 0;
    for (CDocument* doc : app.docManager()->documents())
        if (CView* view = doc->GetFirstView())
            if (view->isVisible()) ++shown;
    return shown;
}

void BM_OpenIniSixteenAnimations(benchmark::State& state)
{
    QTemporaryDir dir;
    const AnimationSpec anim = fullSizeUnit();
    const std::filesystem::path ini = writeUnitFolder(dir.path().toStdString(), "Warrior",
                                                      std::vector<std::string>(std::begin(kKeys), std::end(kKeys)), anim);

    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    setMessageBoxService(&boxes);
    setFileDialogService(&dialogs);
    CEditorApp app;
    app.setArguments({});
    app.setProgramFolder(dir.path());
    if (!app.InitInstance()) {
        state.SkipWithError("the application did not start");
        return;
    }
    QApplication::processEvents();
    for (auto _ : state) {
        dialogs.pick(QString::fromStdString(ini.string()));
        boxes.answer(IDYES);
        app.OnCommand(ID_OPEN_INI);
        QApplication::processEvents();
        if (shownWindows(app) != 16) state.SkipWithError("not every window was shown");
        state.PauseTiming();
        app.docManager()->CloseAllDocuments(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    setMessageBoxService(nullptr);
    setFileDialogService(nullptr);
}
// Wall time is what the user waits; the processor time is that of every thread, the
// decoding workers included.
BENCHMARK(BM_OpenIniSixteenAnimations)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings of their own: the run neither reads nor changes the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("QUORVANE_INSTANCE_NAME", QByteArray("QuorvaneV2-bench-") + QByteArray::number(QCoreApplication::applicationPid()));
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
