// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// smoke_view PROGRAM SAMPLE SCREENSHOT
// Starts the real program on a sample unit (inside an X server of its own, see
// run_smoke.sh, so no copy of the program already running takes the file), takes
// screenshots of the screen until the animation's colours show up in an area of a
// sensible size, then checks that the area changes: the animation plays. The last
// screenshot is saved. (The time to the first frame is measured by bench/startup.sh.)
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

QImage screenshot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// The box around the pixels of `shot` whose colour is one of `colours`; empty when fewer
// than 400 pixels have one.
QRect findAnimation(const QImage& shot, const std::unordered_set<uint32_t>& colours)
{
    QRect box;
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            if (!colours.count(line[x] & 0x00FFFFFFu)) continue;
            ++count;
            box |= QRect(x, y, 1, 1);
        }
    }
    return count >= 400 ? box : QRect();
}

int fail(const char* what)
{
    std::fprintf(stderr, "smoke_view: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) return fail("usage: smoke_view PROGRAM SAMPLE SCREENSHOT");
    QGuiApplication app(argc, argv);
    const QString sample = QString::fromLocal8Bit(argv[2]);

    // The colours the sample's frames show: palette colours of the indices used, leaving
    // out the transparent index and greys, which the window's own surfaces use.
    qv::FlcLoadResult loaded;
    if (!qv::loadFlcAnimation(sample.toStdString(), loaded)) return fail("cannot read the sample");
    std::unordered_set<uint32_t> colours;
    for (const auto& frame : loaded.store.frames)
        for (uint8_t index : frame) {
            const qv::PaletteEntry& e = loaded.store.basePalette[index];
            if (index != qv::kTransparentIndex && (e.red != e.green || e.green != e.blue)) colours.insert(e.rgb());
        }

    // Settings of its own, so the program neither reads the user's settings nor asks about
    // file types at start-up.
    QTemporaryDir config;
    QSettings(config.filePath(QStringLiteral("Velmora/Quorvane.conf")), QSettings::IniFormat)
        .setValue(QStringLiteral("Options/Check File Type"), 0);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess proc;
    proc.setProcessEnvironment(env);
    proc.setProcessChannelMode(QProcess::ForwardedChannels);
    proc.start(QString::fromLocal8Bit(argv[1]), {sample});
    if (!proc.waitForStarted(10000)) return fail("the program did not start");

    // Up to about 30 s for the animation to show; then, playing, its area looks different
    // a moment later.
    QImage shot;
    QRect box;
    const auto shown = [&] { return box.width() >= 30 && box.height() >= 30; };
    for (int i = 0; i < 300 && !shown() && proc.state() == QProcess::Running; ++i) {
        QThread::msleep(100);
        shot = screenshot();
        box = findAnimation(shot, colours);
    }
    shot.save(QString::fromLocal8Bit(argv[3]));
    bool changed = false;
    for (int i = 0; i < 20 && shown() && !changed; ++i) {
        QThread::msleep(100);
        changed = screenshot().copy(box) != shot.copy(box);
    }
    proc.kill();
    proc.waitForFinished();
    if (!shown()) return fail("the animation never showed on the screen");
    return changed ? 0 : fail("the animation does not play: its area stays the same");
}
