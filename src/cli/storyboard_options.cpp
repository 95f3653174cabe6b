// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/storyboard_options.h"

#include <cstdio>

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "core/storyboard.h"
#include "core/strings.h"

namespace qv::cli {

bool parseBoundedInt(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok || v < low || v > high) return false;
    out = v;
    return true;
}

bool parseSize(const QString& text, int low, int high, int& width, int& height)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    int w = 0, h = 0;
    if (parts.size() != 2 || !parseBoundedInt(parts[0], low, high, w) || !parseBoundedInt(parts[1], low, high, h))
        return false;
    width = w;
    height = h;
    return true;
}

bool parseIntList(const QString& text, int count, int low, int high, std::vector<int>& out)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count) return false;
    std::vector<int> values;
    for (const QString& part : parts) {
        int v = 0;
        if (!parseBoundedInt(part, low, high, v)) return false;
        values.push_back(v);
    }
    out = values;
    return true;
}

bool parsePaletteType(const QString& text, int& type)
{
    const QString t = text.toLower();
    if (t == QLatin1String("act")) type = 0;
    else if (t == QLatin1String("riff")) type = 1;
    else if (t == QLatin1String("jasc")) type = 2;
    else return false;
    return true;
}

bool parseDepth(const QString& text, int& colorDepth)
{
    if (text == QLatin1String("8")) colorDepth = 0;
    else if (text == QLatin1String("24")) colorDepth = 1;
    else return false;
    return true;
}

bool parseSmoke(const QString& text, int& smokeType, std::string& smokePath)
{
    if (text.isEmpty()) return false;
    if (text == QLatin1String("keep")) {
        smokeType = 0;
    } else if (text == QLatin1String("builtin")) {
        smokeType = 1;
    } else {
        smokeType = 2;
        smokePath = absoluteLocalPath(text);
    }
    return true;
}

bool parseSheetTarget(const QString& text, std::string& outputDirectory, std::string& baseFileName, int& imageFormat)
{
    const std::string path = absoluteLocalPath(text);
    const std::string ext = fileExtension(path);
    if (equalsNoCase(ext, "pcx")) imageFormat = 0;
    else if (equalsNoCase(ext, "bmp")) imageFormat = 1;
    else return false;
    baseFileName = baseNameOf(path);
    if (baseFileName.empty()) return false;
    outputDirectory = folderOf(path);
    return true;
}

void printNotices(const std::vector<std::string>& notices)
{
    for (const std::string& n : notices) printMessage(toPlainLineBreaks(n));
}

void addPaletteFileSwitches(CommandOptions& o)
{
    o.add("no-palette-file", QStringLiteral("Write no palette file (an existing one of the name is deleted)."));
    o.add("no-default-palette", QStringLiteral("Write no NAME_Default palette."));
}

int writeStoryboardAt(const std::string& targetPath, const std::function<Status(std::vector<std::string>*)>& write,
                      const std::string& emptyMessage)
{
    std::vector<std::string> notices;
    OutputFolder folder;
    if (const int made = folder.ensureFor(targetPath); made != kExitOk) return made;
    const Status done = write(&notices);
    printNotices(notices);
    if (!done) return refuse(done.message.empty() ? emptyMessage : done.message);
    folder.keep();
    return kExitOk;
}

}  // namespace qv::cli
