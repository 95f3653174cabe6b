// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Open INI on a unit of 16 animations of 240 x 240 pixels (8 directions x 15 frames
// each): the time from the command to every window shown, with the INI dialog and the
// confirmation answered by script. The target is under 200 ms.
//
// "Shown" means painted: the clock runs until each of the 16 animation views that is not
// covered by the others has had a paint event since the command started (the events the platform plugin delivers when
// the windows are exposed and their backing store is flushed; offscreen by default, or
// a real X server / Xvfb with QT_QPA_PLATFORM=xcb). The time until every view has also
// painted its first composed animation frame is reported as the counter "frame_ms".
//
// Most of the work is taking memory for about 110 MB of decoded pictures: first touches
// of fresh pages, not the decoding. With one heap allocation per picture a run took
// about 430 ms of processor time (230 ms wall on a quiet machine); with each animation's
// pictures in blocks backed by transparent huge pages it takes 75 to 115 ms of processor
// time. Wall time under a load average of 2.3 on 2 cores: 46 to 53 ms (80 to 85 ms of
// processor time) against 241 to 249 ms (451 to 460 ms) before; under a load average of
// 16: 300 to 530 ms against 1,570 to 1,950 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <filesystem>
#include <set>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/services.h"
#include "platform/ui/view.h"
#include "support/unit_builder.h"
#include "view/animation_view.h"

using namespace qv;
using namespace qv::test;

namespace {

const char* const kKeys[] = {"DEFAULT", "RUN",    "ATTACK1", "ATTACK2",  "ATTACK3",  "DEATH",   "FORTIFY", "FIDGET",
                             "VICTORY", "BUILD",  "ROAD",    "MINE",     "IRRIGATE", "FORTRESS", "CAPTURE", "JUNGLE"};

// Records which animation views have painted, and whether a composed frame was on
// show then (the device presented at least once).
class PaintWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            if (auto* view = qobject_cast<CAnimationView*>(watched)) {
                painted.insert(view);
                if (view->device() && view->device()->presentCount() > 0) framed.insert(view);
            }
        return false;
    }
    std::set<const QObject*> painted, framed;
};

std::vector<CAnimationView*> openViews(CEditorApp& app)
{
    std::vector<CAnimationView*> views;
    for (CDocument* doc : app.docManager()->documents())
        if (auto* view = qobject_cast<CAnimationView*>(doc->GetFirstView()))
            if (view->isVisible()) views.push_back(view);
    return views;
}

// Every view that shows on screen is in `set` (a view that the windows opened after it
// cover completely is not painted, by the platform or by Qt).
bool allIn(const std::vector<CAnimationView*>& views, const std::set<const QObject*>& set)
{
    for (CAnimationView* v : views)
        if (!set.count(v) && !v->visibleRegion().isEmpty()) return false;
    return true;
}

void BM_OpenIniSixteenAnimations(benchmark::State& state)
{
    QTemporaryDir dir;
    const AnimationShape anim = fullSizeUnit();
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
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    double frameMs = 0;
    for (auto _ : state) {
        watch.painted.clear();
        watch.framed.clear();
        QElapsedTimer clock;
        clock.start();
        dialogs.pick(QString::fromStdString(ini.string()));
        boxes.answer(IDYES);
        app.OnCommand(ID_OPEN_INI);
        std::vector<CAnimationView*> views = openViews(app);
        if (views.size() != 16) {
            state.SkipWithError("not every window was opened");
            break;
        }
        while (!allIn(views, watch.painted) && clock.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        state.PauseTiming();
        if (!allIn(views, watch.painted)) {
            state.SkipWithError("not every window was painted");
            break;
        }
        while (!allIn(views, watch.framed) && clock.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        frameMs += double(clock.nsecsElapsed()) / 1e6;
        app.docManager()->CloseAllDocuments(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    qApp->removeEventFilter(&watch);
    state.counters["frame_ms"] = benchmark::Counter(frameMs, benchmark::Counter::kAvgIterations);
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
