// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli render`: a frame of an animation composed exactly as the animation view
// shows it (background, civilization colours, shadow and light blending) and written as
// a 24-bit picture. A unit gives the 240 x 240 unit area; a leader head its frame's size.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/frame_composer.h"
#include "cli/storyboard_options.h"
#include "core/civ_palettes.h"
#include "core/compositor.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "platform/imaging/builtin_data.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Composes a frame of an FLC animation exactly as the animation view draws it and writes\n"
    "it as a 24-bit PNG picture (or a 24-bit BMP when OUT ends with .bmp).\n"
    "A unit animation gives the 240 x 240 unit area: the background, then the frame at the\n"
    "file's left and top offsets, with the shadow indices 240..254 darkening and the light\n"
    "indices 224..239 brightening the background under them (alpha blending). A leader head\n"
    "gives a picture of its frame's size, drawn over black without blending.\n"
    "\n"
    "With -o DIR/ (a path ending with a separator, or an existing folder) the frames are\n"
    "written into DIR as frame_0000.png, frame_0001.png, ... numbered from 0 in playback\n"
    "order: every frame, or only the one --frame names. With -o FILE and no --frame the\n"
    "first frame is written.\n"
    "\n"
    "The default background is the button-face colour, which this build fixes at\n"
    "#F0F0F0 (red 240, green 240, blue 240). Sea and land pictures come from Sea.pcx and\n"
    "Land.pcx beside the program, written there (or into the per-user data folder) from\n"
    "the built-in pictures on first use; a file already there is used as it is.\n"
    "--civ and --background apply to unit animations only.";

bool isFolderTarget(const QString& output)
{
    return output.endsWith(QLatin1Char('/')) || output.endsWith(QLatin1Char('\\')) || QFileInfo(output).isDir();
}

// Writes the top-left width x height pixels of the back buffer as a 24-bit picture, in one
// piece so that a failure leaves no half-written file.
bool writePicture(const Surface32& back, int width, int height, const QString& path)
{
    const QImage view(reinterpret_cast<const uchar*>(back.pixels.data()), back.width, back.height,
                      static_cast<qsizetype>(back.width) * 4, QImage::Format_RGB32);
    const QImage picture = view.copy(0, 0, width, height).convertToFormat(QImage::Format_RGB888);
    const bool bmp = path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&file, bmp ? QByteArrayLiteral("bmp") : QByteArrayLiteral("png"));
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int runRender(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.addPositional("FILE", QStringLiteral("The FLC animation."));
    o.add("output", QStringLiteral("The picture to write, or a folder (ending with /) for frame_NNNN.png files."),
          "OUT");
    o.add("frame", QStringLiteral("The frame to write, from 0 in playback order (all directions)."), "N");
    o.add("civ", QStringLiteral("Civilization colours: 0 the animation's own (default), 1..32 a scheme."), "N");
    o.addCivSource(
        "Where the schemes come from: game (the installed game's Art/Units/Palettes), builtin (the "
        "built-in schemes, unpacked into Palettes/ beside the program or in the per-user data folder; "
        "default), or a folder holding ntp00.pcx .. ntp31.pcx.");
    o.add("background", QStringLiteral("default (#F0F0F0, default), sea, land, or a colour #RRGGBB."), "BG");
    o.add("no-alpha", QStringLiteral("Alpha blending off: index 255 and the shadow and light indices are drawn "
                                     "in their own colours, over the default colour."));
    addBatchOptions(o, "Pictures of a batch: png (default) or bmp, one per animation: the frame --frame "
                       "names, or the first.");
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    const QStringList positional = o.positional();
    const bool batch = isBatch(o);
    if ((positional.size() != 1 && !batch) || !o.isSet("output") || o.value("output").isEmpty())
        return o.usage(batch ? str::IDS_BATCH_NEEDS_OUTPUT_FOLDER : str::IDS_RENDER_NEEDS_FILE_AND_OUTPUT);
    std::optional<int> frameWanted;
    if (o.isSet("frame")) {
        int n = 0;
        if (!parseBoundedInt(o.value("frame"), 0, 65535, n)) return o.usage(str::IDS_RENDER_BAD_FRAME);
        frameWanted = n;
    }
    ComposeOptions compose;
    if (o.isSet("civ") && !parseBoundedInt(o.value("civ"), 0, kCivSchemeCount, compose.civ))
        return o.usage(str::IDS_RENDER_BAD_CIV);
    compose.civSources = o.civSources();
    if (o.isSet("background") && !parseBackground(o.value("background"), compose.background))
        return o.usage(str::IDS_RENDER_BAD_BACKGROUND);
    compose.alphaBlend = !o.isSet("no-alpha");
    if (!compose.alphaBlend && compose.background.choice != BackgroundChoice::Default)
        return o.usage(str::IDS_RENDER_NO_ALPHA_BACKGROUND);

    // The frames of one animation into `outputArg`, a picture or a folder.
    auto renderOne = [&](const std::string& input, const QString& outputArg) -> int {
        // Load the animation as the FLC view does.
        FlcLoadResult loaded;
        if (const int status = loadAnimationOrRefuse(input, loaded); status != kExitOk) return status;
        const FlcFrameStore& store = loaded.store;
        const int frameCount = static_cast<int>(store.frames.size());
        if (frameWanted && *frameWanted >= frameCount)
            return refuse(formatMessage(str::IDS_RENDER_NO_SUCH_FRAME, {*frameWanted, frameCount}));

        FrameComposer composer;
        if (const int st = composer.prepare(loaded, compose); st != kExitOk) return st;
        const int width = composer.width();
        const int height = composer.height();

        // The frames to write, and where.
        const bool toFolder = isFolderTarget(outputArg);
        const int first = frameWanted.value_or(0);
        const int last = frameWanted ? *frameWanted : (toFolder ? frameCount - 1 : 0);
        if (toFolder && !QDir().mkpath(outputArg))
            return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {toLocal(outputArg)}));

        // One back buffer for all frames, as in the view, where a background picture's magenta
        // pixels leave what the previous frame drew.
        for (int n = first; n <= last; ++n) {
            composer.composeFrame(n);
            const QString path =
                toFolder ? QDir(outputArg).filePath(QStringLiteral("frame_%1.png").arg(n, 4, 10, QLatin1Char('0')))
                         : outputArg;
            if (!writePicture(composer.back(), width, height, path))
                return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {toLocal(path)}));
        }
        return kExitOk;
    };
    if (!batch) return renderOne(absoluteLocalPath(positional.first()), o.value("output"));

    warmUpBuiltinData(compose.civSources, {compose.civ}, compose.background.choice);
    BatchJob job;
    job.inputExtensions = {"flc"};
    job.formats = {"png", "bmp"};
    job.outputExtensions = job.formats;
    job.singleUsage = str::IDS_RENDER_NEEDS_FILE_AND_OUTPUT;
    job.outputs = [](const std::string& stem, const std::string& format, const std::string&) {
        return std::vector<std::string>{stem + "." + format};
    };
    job.convert = [&](const std::string& input, const std::string& output) {
        return renderOne(input, fromLocal(output));
    };
    return runBatch(o, job);
}

const CommandRegistrar reg("render",
                           "render FILE -o OUT.png [--frame N] [--civ N] [OPTIONS]",
                           "Write a frame as the view composes it", &runRender);

}  // namespace
}  // namespace qv::cli
