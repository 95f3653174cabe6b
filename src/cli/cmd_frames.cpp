// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli frames FILE -o DIR [--raw]`: every animation frame in playback order, as
// 8-bit indexed PNG pictures with the animation's palette, or as raw palette indices
// plus the palette.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstdio>
#include <cstring>

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

QString frameName(size_t n, const char* extension)
{
    char name[40];
    std::snprintf(name, sizeof name, "frame_%04zu.%s", n, extension);
    return QString::fromLatin1(name);
}

QByteArray indexedPng(const FramePixels& pixels, int width, int height, const QList<QRgb>& colours)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(colours);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<size_t>(y) * width, static_cast<size_t>(width));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) png.clear();
    return png;
}

int runFrames(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes every animation frame of an FLC file in playback order (key frames left out) as "
                       "DIR/frame_0000.png, frame_0001.png, ...: 8-bit indexed PNG pictures with the "
                       "animation's palette. With --raw, writes DIR/frame_NNNN.idx (width x height palette "
                       "indices, rows top to bottom) and DIR/palette.rgb (red, green, blue of entries 0..255) "
                       "instead. DIR is created when missing."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The FLC file."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The folder to write the frames to."),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("raw"), QStringLiteral("Write raw palette indices and the palette.")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;

    const QString command = args.value(0);
    const QStringList positional = parser.positionalArguments();
    const QString dirArg = parser.value(QStringLiteral("output"));
    if (positional.size() != 1 || positional.first().isEmpty() || dirArg.isEmpty())
        return usageError(command, QString::fromUtf8(str::IDS_CLI_FLC_FRAMES_NEEDS_FILE_AND_OUTPUT));
    const bool raw = parser.isSet(QStringLiteral("raw"));

    const std::string path = absoluteLocalPath(positional.first());
    FlcLoadResult loaded;
    if (const int status = loadAnimationOrRefuse(path, loaded); status != kExitOk) return status;

    const QString dirPath = QFileInfo(dirArg).absoluteFilePath();
    if (!QDir().mkpath(dirPath)) return refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_MAKE_FOLDER, {toLocal(dirPath)}));
    const QDir dir(dirPath);
    auto write = [&](const QString& name, const uint8_t* data, size_t size) {
        const std::string target = toLocal(dir.filePath(name));
        if (writeFileAtomic(target, data, size)) return true;
        refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_WRITE, {target}));
        return false;
    };

    const FlcFrameStore& store = loaded.store;
    const int width = store.header.width;
    const int height = store.header.height;
    if (raw) {
        Bytes rgb;
        rgb.reserve(768);
        for (const PaletteEntry& e : store.basePalette.entries) {
            rgb.push_back(e.red);
            rgb.push_back(e.green);
            rgb.push_back(e.blue);
        }
        if (!write(QStringLiteral("palette.rgb"), rgb.data(), rgb.size())) return kExitRefused;
        for (size_t i = 0; i < store.frames.size(); ++i)
            if (!write(frameName(i, "idx"), store.frames[i].data(), store.frames[i].size())) return kExitRefused;
        return kExitOk;
    }

    QList<QRgb> colours;
    colours.reserve(256);
    for (const PaletteEntry& e : store.basePalette.entries) colours.push_back(qRgb(e.red, e.green, e.blue));
    for (size_t i = 0; i < store.frames.size(); ++i) {
        const QByteArray png = indexedPng(store.frames[i], width, height, colours);
        const QString name = frameName(i, "png");
        if (png.isEmpty()) return refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_WRITE, {toLocal(dir.filePath(name))}));
        if (!write(name, reinterpret_cast<const uint8_t*>(png.constData()), static_cast<size_t>(png.size())))
            return kExitRefused;
    }
    return kExitOk;
}

const CommandRegistrar reg("frames", "frames FILE -o DIR [--raw]",
                           "Write every animation frame as an indexed PNG (or raw indices)", &runFrames);

}  // namespace
}  // namespace qv::cli
