// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli anim`: an animation as an animated GIF or WebP, every frame composed as
// `render` composes it, at the file's speed.
#include <QFileInfo>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/frame_composer.h"
#include "cli/storyboard_options.h"
#include "core/file_io.h"
#include "core/strings.h"
#include "platform/imaging/anim_writer.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Writes an FLC animation as an animated GIF or WebP (by OUT's extension), every frame\n"
    "composed exactly as `render` composes it, each shown for the file's frame delay.\n"
    "\n"
    "--direction N takes direction N (from 0, the default); all puts the directions one\n"
    "after another in playback order.\n"
    "--background transparent leaves index 255 and the area around the frame transparent.\n"
    "In WebP the shadow indices then become black and the light indices white, with the\n"
    "amount the game blends them by as alpha; GIF has no partial transparency, so there\n"
    "they keep their palette colours. Over any other background they blend as in the view.\n"
    "GIF delays are whole hundredths of a second; the rounding is carried from frame to\n"
    "frame so that the whole lasts as long as the animation.\n"
    "WebP is lossless unless --quality is given. --scale K enlarges by a whole factor\n"
    "without smoothing. --loop N repeats N times (0, the default: for ever).";

// Enlarges by a whole factor, each pixel becoming a k x k block.
std::vector<uint32_t> scaleUp(const std::vector<uint32_t>& in, int w, int h, int k)
{
    if (k == 1) return in;
    std::vector<uint32_t> out(in.size() * size_t(k) * size_t(k));
    const size_t ow = size_t(w) * size_t(k);
    for (int y = 0; y < h * k; ++y)
        for (size_t x = 0; x < ow; ++x) out[size_t(y) * ow + x] = in[size_t(y / k) * size_t(w) + x / size_t(k)];
    return out;
}

int runAnim(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.addPositional("FILE", QStringLiteral("The FLC animation."));
    o.add("output", QStringLiteral("The animation to write: a .gif or .webp file."), "OUT");
    o.add("direction", QStringLiteral("A direction from 0 (default 0), or all."), "N");
    o.add("civ", QStringLiteral("Civilization colours: 0 the animation's own (default), 1..32 a scheme."), "N");
    o.addCivSource();
    o.add("background", QStringLiteral("transparent, default (#F0F0F0, default), sea, land, or #RRGGBB."), "BG");
    o.add("scale", QStringLiteral("Whole enlargement factor, 1..16 (default 1)."), "K");
    o.add("loop", QStringLiteral("Repeat count, 0 for ever (default)."), "N");
    o.add("quality", QStringLiteral("Lossy WebP of this quality, 0..100."), "Q");
    addBatchOptions(o, "Animations of a batch: gif (default) or webp.");
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    const QStringList positional = o.positional();
    const QString output = o.value("output");
    const bool batch = isBatch(o);
    if (!batch) {
        if (positional.size() != 1 || output.isEmpty()) return o.usage(str::IDS_ANIM_NEEDS_FILE_AND_OUTPUT);
        const QString suffix = QFileInfo(output).suffix().toLower();
        if (suffix != QLatin1String("gif") && suffix != QLatin1String("webp"))
            return o.usage(formatMessage(str::IDS_ANIM_BAD_FORMAT, {absoluteLocalPath(output)}));
    }

    ComposeOptions compose;
    if (o.isSet("civ") && !parseBoundedInt(o.value("civ"), 0, kCivSchemeCount, compose.civ))
        return o.usage(str::IDS_RENDER_BAD_CIV);
    compose.civSources = o.civSources();
    if (o.isSet("background") && !parseBackground(o.value("background"), compose.background, true))
        return o.usage(str::IDS_ANIM_BAD_BACKGROUND);
    int scale = 1, loop = 0, quality = -1;
    if (o.isSet("scale") && !parseBoundedInt(o.value("scale"), 1, 16, scale)) return o.usage(str::IDS_ANIM_BAD_SCALE);
    if (o.isSet("loop") && !parseBoundedInt(o.value("loop"), 0, 65535, loop)) return o.usage(str::IDS_ANIM_BAD_LOOP);
    if (o.isSet("quality") && !parseBoundedInt(o.value("quality"), 0, 100, quality))
        return o.usage(str::IDS_ANIM_BAD_QUALITY);
    const QString direction = o.value("direction");

    // One animation into `path`, a .gif or .webp file.
    auto animOne = [&](const std::string& input, const std::string& path) -> int {
        const bool gif = equalsNoCase(fileExtension(path), "gif");
        FlcLoadResult loaded;
        if (const int st = loadAnimationOrRefuse(input, loaded); st != kExitOk) return st;
        const FlcHeader& h = loaded.store.header;
        const int directions = std::max<int>(1, h.directions);
        const int perDirection = h.framesPerDirection;
        const int frameCount = static_cast<int>(loaded.store.frames.size());
        int first = 0, count = std::min(perDirection, frameCount);
        if (direction == QLatin1String("all")) {
            count = frameCount;
        } else if (!direction.isEmpty()) {
            int d = 0;
            if (!parseBoundedInt(direction, 0, directions - 1, d))
                return o.usage(formatMessage(str::IDS_ANIM_BAD_DIRECTION, {directions - 1}));
            first = d * perDirection;
            count = std::max(0, std::min(perDirection, frameCount - first));
        }

        FrameComposer composer;
        if (const int st = composer.prepare(loaded, compose); st != kExitOk) return st;
        AnimSequence seq;
        seq.width = composer.width() * scale;
        seq.height = composer.height() * scale;
        seq.loopCount = loop;
        // Over a picture the back buffer keeps what earlier frames left under its magenta, so
        // the frames before the first one written are composed too, as the view would have.
        for (int n = 0; n < first; ++n) composer.composeFrame(n);
        for (int n = first; n < first + count; ++n)
            seq.frames.push_back({scaleUp(composer.frameArgb(n, !gif), composer.width(), composer.height(), scale),
                                  static_cast<int>(h.speed)});

        Bytes bytes;
        std::string error;
        const bool encoded = gif ? encodeGif(seq, bytes, error) : encodeWebp(seq, quality, bytes, error);
        if (!encoded) return refuse(formatMessage(str::IDS_ANIM_ENCODE_FAILED, {path, error}));
        if (!writeFileAtomic(path, bytes)) return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {path}));
        return kExitOk;
    };
    if (!batch) return animOne(absoluteLocalPath(positional.first()), absoluteLocalPath(output));

    warmUpBuiltinData(compose.civSources, {compose.civ}, compose.background.choice);
    BatchSpec spec;
    spec.inputExtensions = {"flc"};
    spec.formats = {"gif", "webp"};
    spec.outputExtensions = spec.formats;
    spec.singleUsage = str::IDS_ANIM_NEEDS_FILE_AND_OUTPUT;
    spec.outputs = [](const std::string& stem, const std::string& format, const std::string&) {
        return std::vector<std::string>{stem + "." + format};
    };
    spec.convert = animOne;
    return runBatch(o, spec);
}

const CommandRegistrar reg("anim",
                           "anim FILE -o OUT.gif|OUT.webp [--direction N|all] [--background BG] [OPTIONS]",
                           "Write an animated GIF or WebP of the animation", &runAnim);

}  // namespace
}  // namespace qv::cli
