// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli thumbnail`: the preview file managers show (through the installed
// quorvane.thumbnailer), the first frame of the first direction over a transparent
// background, enlarged or reduced without smoothing to fit a square of the given size.
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <new>

#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/frame_composer.h"
#include "cli/storyboard_options.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Writes a PNG preview of an FLC animation or a storyboard (.qsb) for file managers: its\n"
    "first frame, composed as `render --background transparent` would (index 255 and the\n"
    "area around the frame transparent, shadows and lights as black and white with partial\n"
    "alpha), scaled without smoothing so that its longer side is SIZE pixels.";

int runThumbnail(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.addPositional("FILE", QStringLiteral("The FLC animation or storyboard."));
    o.addPositional("OUT", QStringLiteral("The PNG picture to write."));
    // File managers pass the size as -s, so the option has only its one-letter name.
    o.parser().addOption({QStringLiteral("s"), QStringLiteral("The longer side of the preview, in pixels."),
                          QStringLiteral("SIZE")});
    int status = kExitOk;
    if (!o.parse(args, status)) return status;
    const QStringList positional = o.positional();
    if (positional.size() != 2 || !o.isSet("s")) return o.usage(str::IDS_THUMB_NEEDS_FILES);
    int size = 0;
    if (!parseBoundedInt(o.value("s"), 1, 1024, size)) return o.usage(str::IDS_THUMB_BAD_SIZE);

    FlcLoadResult loaded;
    if (const int st = loadAnimationOrRefuse(absoluteLocalPath(positional[0]), loaded, true); st != kExitOk) return st;
    if (loaded.store.frames.empty()) return refuse(formatMessage(str::IDS_RENDER_NO_SUCH_FRAME, {0, 0}));
    ComposeOptions compose;
    compose.background.choice = BackgroundChoice::Transparent;
    FrameComposer composer;
    if (const int st = composer.prepare(loaded, compose); st != kExitOk) return st;
    const std::vector<uint32_t> argb = composer.frameArgb(0, true);
    const QImage frame(reinterpret_cast<const uchar*>(argb.data()), composer.width(), composer.height(),
                       static_cast<qsizetype>(composer.width()) * 4, QImage::Format_ARGB32);
    const QImage preview =
        frame.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation).convertToFormat(QImage::Format_ARGB32);

    const QString out = positional[1];
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {toLocal(out)}));
    QImageWriter writer(&file, QByteArrayLiteral("png"));
    if (!writer.write(preview) || !file.commit()) {
        file.cancelWriting();
        return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {toLocal(out)}));
    }
    return kExitOk;
}

const CommandRegistrar reg("thumbnail", "thumbnail -s SIZE FILE OUT.png",
                           "Write a preview picture for file managers", &runThumbnail);

}  // namespace
}  // namespace qv::cli
