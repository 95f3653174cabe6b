// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// smoke_view PROGRAM SAMPLE [SCREENSHOT]
// Starts the real program on a sample unit (inside an X server of its own, see
// run_smoke.sh), takes screenshots of the screen until the animation's colours show up
// in an area of a sensible size, then checks that the area changes: the animation plays.
// (The time to the first frame is measured by bench/startup.sh.)
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <unordered_set>

#include "core/flc_reader.h"

namespace {

struct Sighting {
    int count = 0;
    QRect box;
};

// Pixels of the screenshot whose colour is one the animation's frames use.
Sighting findAnimation(const QImage& shot, const std::unordered_set<uint32_t>& colours)
{
    Sighting s;
    int x0 = shot.width(), y0 = shot.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            if (!colours.count(line[x] & 0x00FFFFFFu)) continue;
            ++s.count;
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    }
    if (s.count > 0) s.box = QRect(QPoint(x0, y0), QPoint(x1, y1));
    return s;
}

QImage screenshot()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

int fail(const char* what)
{
    std::fprintf(stderr, "smoke_view: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return fail("usage: smoke_view PROGRAM SAMPLE [SCREENSHOT]");
    QGuiApplication app(argc, argv);
    const QString program = QString::fromLocal8Bit(argv[1]);
    const QString sample = QString::fromLocal8Bit(argv[2]);
    const QString shotPath = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    // The colours the sample's frames show: palette colours of the indices used, leaving
    // out the transparent index and greys, which the window's own surfaces use.
    qv::FlcLoadResult loaded;
    if (!qv::loadFlcAnimation(sample.toStdString(), loaded)) return fail("cannot read the sample");
    std::unordered_set<uint32_t> colours;
    for (const auto& frame : loaded.store.frames)
        for (uint8_t index : frame) {
            if (index == qv::kTransparentIndex) continue;
            const qv::PaletteEntry& e = loaded.store.basePalette[index];
            if (e.red == e.green && e.green == e.blue) continue;
            colours.insert(e.rgb());
        }
    if (colours.empty()) return fail("the sample has no colours to look for");

    // Settings and temporary files of its own, so the program neither reads the user's
    // settings nor hands the file to a copy of itself that is already running.
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    {
        QSettings s(config + QStringLiteral("/Velmora/Quorvane.conf"), QSettings::IniFormat);
        s.setValue(QStringLiteral("Options/Check File Type"), 0);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("TMPDIR"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    QProcess proc;
    proc.setProcessEnvironment(env);
    proc.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    proc.start(program, {sample});
    if (!proc.waitForStarted(10000)) return fail("the program did not start");

    Sighting seen;
    QImage shot;
    bool shown = false;
    while (!shown && clock.elapsed() < 30000 && proc.state() == QProcess::Running) {
        QThread::msleep(10);
        shot = screenshot();
        seen = findAnimation(shot, colours);
        shown = seen.count >= 400 && seen.box.width() >= 30 && seen.box.height() >= 30;
    }
    if (!shotPath.isEmpty() && !shot.isNull()) shot.save(shotPath);

    int result = 0;
    if (!shown) {
        result = fail("the animation never showed on the screen");
    } else {
        // Playing: the same area looks different a moment later.
        bool changed = false;
        for (int attempt = 0; attempt < 20 && !changed; ++attempt) {
            QThread::msleep(100);
            changed = screenshot().copy(seen.box) != shot.copy(seen.box);
        }
        if (!changed) result = fail("the animation does not play: its area stays the same");
    }
    proc.terminate();
    if (!proc.waitForFinished(5000)) {
        proc.kill();
        proc.waitForFinished(5000);
    }
    return result;
}
