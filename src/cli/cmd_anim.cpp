// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli anim`: an animation as an animated GIF or WebP, every frame composed as
// `render` composes it, at the file's speed.
#include <QFileInfo>

#include <new>

#include "cli/cli_common.h"
#include "cli/frame_composer.h"
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

bool parseNumber(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < low || v > high) return false;
    out = v;
    return true;
}

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

int runAnimChecked(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The FLC animation."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The animation to write: a .gif or .webp file."), QStringLiteral("OUT")});
    parser.addOption({QStringLiteral("direction"), QStringLiteral("A direction from 0 (default 0), or all."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("civ"),
                      QStringLiteral("Civilization colours: 0 the animation's own (default), 1..32 a scheme."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("civ-source"),
                      QStringLiteral("Where the schemes come from: game, builtin (default) or a folder."),
                      QStringLiteral("SOURCE")});
    parser.addOption({QStringLiteral("background"),
                      QStringLiteral("transparent, default (#F0F0F0, default), sea, land, or #RRGGBB."),
                      QStringLiteral("BG")});
    parser.addOption({QStringLiteral("scale"), QStringLiteral("Whole enlargement factor, 1..16 (default 1)."),
                      QStringLiteral("K")});
    parser.addOption({QStringLiteral("loop"), QStringLiteral("Repeat count, 0 for ever (default)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("quality"), QStringLiteral("Lossy WebP of this quality, 0..100."),
                      QStringLiteral("Q")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;
    const QString command = args.value(0);
    auto usage = [&](const std::string& message) { return usageError(command, QString::fromStdString(message)); };

    const QStringList positional = parser.positionalArguments();
    const QString output = parser.value(QStringLiteral("output"));
    if (positional.size() != 1 || output.isEmpty()) return usage(str::IDS_ANIM_NEEDS_FILE_AND_OUTPUT);
    const QString suffix = QFileInfo(output).suffix().toLower();
    const bool gif = suffix == QLatin1String("gif");
    if (!gif && suffix != QLatin1String("webp"))
        return usage(formatMessage(str::IDS_ANIM_BAD_FORMAT, {absoluteLocalPath(output)}));

    ComposeOptions o;
    if (parser.isSet(QStringLiteral("civ")) &&
        !parseNumber(parser.value(QStringLiteral("civ")), 0, kCivSchemeCount, o.civ))
        return usage(str::IDS_RENDER_BAD_CIV);
    if (parser.isSet(QStringLiteral("civ-source"))) parseCivSource(parser.value(QStringLiteral("civ-source")), o);
    if (parser.isSet(QStringLiteral("background")) &&
        !parseBackground(parser.value(QStringLiteral("background")), o, true))
        return usage(str::IDS_ANIM_BAD_BACKGROUND);
    int scale = 1, loop = 0, quality = -1;
    if (parser.isSet(QStringLiteral("scale")) && !parseNumber(parser.value(QStringLiteral("scale")), 1, 16, scale))
        return usage(str::IDS_ANIM_BAD_SCALE);
    if (parser.isSet(QStringLiteral("loop")) && !parseNumber(parser.value(QStringLiteral("loop")), 0, 65535, loop))
        return usage(str::IDS_ANIM_BAD_LOOP);
    if (parser.isSet(QStringLiteral("quality")) &&
        !parseNumber(parser.value(QStringLiteral("quality")), 0, 100, quality))
        return usage(str::IDS_ANIM_BAD_QUALITY);

    FlcLoadResult loaded;
    if (const int st = loadAnimationOrRefuse(absoluteLocalPath(positional.first()), loaded); st != kExitOk) return st;
    const FlcHeader& h = loaded.store.header;
    const int directions = std::max<int>(1, h.directions);
    const int perDirection = h.framesPerDirection;
    const int frameCount = static_cast<int>(loaded.store.frames.size());
    int first = 0, count = std::min(perDirection, frameCount);
    const QString direction = parser.value(QStringLiteral("direction"));
    if (direction == QLatin1String("all")) {
        count = frameCount;
    } else if (!direction.isEmpty()) {
        int d = 0;
        if (!parseNumber(direction, 0, directions - 1, d))
            return usage(formatMessage(str::IDS_ANIM_BAD_DIRECTION, {directions - 1}));
        first = d * perDirection;
        count = std::max(0, std::min(perDirection, frameCount - first));
    }

    FrameComposer composer;
    if (const int st = composer.prepare(loaded, o); st != kExitOk) return st;
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
    const std::string path = absoluteLocalPath(output);
    if (!encoded) return refuse(formatMessage(str::IDS_ANIM_ENCODE_FAILED, {path, error}));
    if (!writeFileAtomic(path, bytes)) return refuse(formatMessage(str::IDS_IMG_CANNOT_WRITE, {path}));
    return kExitOk;
}

int runAnim(const QStringList& args)
{
    try {
        return runAnimChecked(args);
    } catch (const std::bad_alloc&) {
        return refuse(formatMessage(str::IDS_ANIM_ENCODE_FAILED, {toLocal(args.value(1)), "out of memory"}));
    } catch (const std::exception& e) {
        return refuse(formatMessage(str::IDS_ANIM_ENCODE_FAILED, {toLocal(args.value(1)), e.what()}));
    }
}

const CommandRegistrar reg("anim",
                           "anim FILE -o OUT.gif|OUT.webp [--direction N|all] [--background BG] [OPTIONS]",
                           "Write an animated GIF or WebP of the animation", &runAnim);

}  // namespace
}  // namespace qv::cli
