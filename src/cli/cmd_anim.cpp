// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli anim`: an animation as an animated GIF or WebP, every frame composed as
// `render` composes it, at the file's speed.
#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/storyboard_options.h"
#include "core/file_io.h"
#include "core/strings.h"
#include "platform/imaging/anim_export.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Writes an FLC animation or a storyboard as an animated GIF or WebP (by OUT's extension),\n"
    "every frame composed exactly as `render` composes it, each shown for the file's frame\n"
    "delay (a storyboard's speed).\n"
    "\n"
    "--direction N takes direction N (from 0, the default); all puts the directions one\n"
    "after another in playback order, or with --layout grid side by side in one picture per\n"
    "frame step: eight directions around an empty centre as on the Direction panel (NW N NE,\n"
    "W E, SW S SE), any other number in one row in file order.\n"
    "--background transparent leaves index 255 and the area around the frame transparent.\n"
    "In WebP the shadow indices then become black and the light indices white, with the\n"
    "amount the game blends them by as alpha; GIF has no partial transparency, so there\n"
    "they keep their palette colours. Over any other background they blend as in the view.\n"
    "GIF delays are whole hundredths of a second; the rounding is carried from frame to\n"
    "frame so that the whole lasts as long as the animation.\n"
    "WebP is lossless unless --quality is given. --scale K enlarges by a whole factor\n"
    "without smoothing. --loop N repeats N times (0, the default: for ever).";

void addAnimOptions(CommandOptions& o)
{
    o.addPositional("FILE", QStringLiteral("The FLC animation, or a storyboard (.qsb)."));
    o.add("output", QStringLiteral("The animation to write: a .gif or .webp file."), "OUT");
    o.add("direction", QStringLiteral("A direction from 0 (default 0), or all."), "N");
    o.add("layout", QStringLiteral("With --direction all: sequence (one after another, default) or grid."), "LAYOUT");
    o.add("civ", QStringLiteral("Civilization colours: 0 the animation's own (default), 1..32 a scheme."), "N");
    o.addCivSource();
    o.add("background", QStringLiteral("transparent, default (#F0F0F0, default), sea, land, or #RRGGBB."), "BG");
    o.add("scale", QStringLiteral("Whole enlargement factor, 1..16 (default 1)."), "K");
    o.add("loop", QStringLiteral("Repeat count, 0 for ever (default)."), "N");
    o.add("quality", QStringLiteral("Lossy WebP of this quality, 0..100."), "Q");
}

// The choices that hold for every input (all but the direction, which depends on the
// animation). Returns kExitOk, or the usage status after printing why.
int readAnimOptions(const CommandOptions& o, AnimExportOptions& out)
{
    ComposeOptions& compose = out.compose;
    if (o.isSet("civ") && !parseBoundedInt(o.value("civ"), 0, kCivSchemeCount, compose.civ))
        return o.usage(str::IDS_RENDER_BAD_CIV);
    compose.civSources = o.civSources();
    if (o.isSet("background") && !parseBackground(o.value("background"), compose.background, true))
        return o.usage(str::IDS_ANIM_BAD_BACKGROUND);
    if (o.isSet("scale") && !parseBoundedInt(o.value("scale"), 1, kMaxAnimScale, out.scale))
        return o.usage(str::IDS_ANIM_BAD_SCALE);
    if (o.isSet("loop") && !parseBoundedInt(o.value("loop"), 0, 65535, out.loopCount))
        return o.usage(str::IDS_ANIM_BAD_LOOP);
    if (o.isSet("quality") && !parseBoundedInt(o.value("quality"), 0, 100, out.quality))
        return o.usage(str::IDS_ANIM_BAD_QUALITY);
    const QString layout = o.value("layout");
    if (!layout.isEmpty() && layout != QLatin1String("grid") && layout != QLatin1String("sequence"))
        return o.usage(str::IDS_ANIM_BAD_LAYOUT);
    out.grid = layout == QLatin1String("grid");
    if (o.value("direction") == QLatin1String("all")) out.direction = kAllDirections;
    return kExitOk;
}

// One input written as one output with the choices read from `o`.
int animOne(const CommandOptions& o, AnimExportOptions options, const std::string& input, const std::string& path)
{
    if (!animFormatOfPath(path, options.format)) return o.usage(formatMessage(str::IDS_ANIM_BAD_FORMAT, {path}));
    FlcLoadResult loaded;
    if (const int st = loadAnimationOrRefuse(input, loaded, true); st != kExitOk) return st;
    const QString direction = o.value("direction");
    if (!direction.isEmpty() && direction != QLatin1String("all")) {
        const int directions = animDirectionCount(loaded);
        if (!parseBoundedInt(direction, 0, directions - 1, options.direction))
            return o.usage(formatMessage(str::IDS_ANIM_BAD_DIRECTION, {directions - 1}));
    }
    Bytes bytes;
    if (const Status st = exportAnimation(loaded, options, path, bytes); !st) return refuse(st.message);
    if (!writeFileAtomic(path, bytes)) return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {path}));
    return kExitOk;
}

int runAnim(const QStringList& args)
{
    CommandOptions o(kHelp);
    addAnimOptions(o);
    addBatchOptions(o, "Animations of a batch: gif (default) or webp.");
    int status = kExitOk;
    if (!o.parse(args, status)) return status;
    const QStringList positional = o.positional();
    const QString output = o.value("output");
    const bool batch = isBatch(o);
    if (!batch && (positional.size() != 1 || output.isEmpty())) return o.usage(str::IDS_ANIM_NEEDS_FILE_AND_OUTPUT);
    AnimExportOptions options;
    if (const int st = readAnimOptions(o, options); st != kExitOk) return st;
    if (!batch) return animOne(o, options, absoluteLocalPath(positional.first()), absoluteLocalPath(output));

    warmUpBuiltinData(options.compose.civSources, {options.compose.civ}, options.compose.background.choice);
    BatchJob job;
    job.inputExtensions = {"flc", "qsb"};
    job.formats = {"gif", "webp"};
    job.outputExtensions = job.formats;
    job.singleUsage = str::IDS_ANIM_NEEDS_FILE_AND_OUTPUT;
    job.outputs = [](const std::string& stem, const std::string& format, const std::string&) {
        return std::vector<std::string>{stem + "." + format};
    };
    job.convert = [&](const std::string& input, const std::string& path) { return animOne(o, options, input, path); };
    return runBatch(o, job);
}

const CommandRegistrar reg("anim",
                           "anim FILE -o OUT.gif|OUT.webp [--direction N|all [--layout grid]] [OPTIONS]",
                           "Write an animated GIF or WebP of the animation", &runAnim);

}  // namespace
}  // namespace qv::cli
