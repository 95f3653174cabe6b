// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/storyboard_builder.h"

#include <sstream>

#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"
#include "support/exported_storyboard.h"

namespace qv::test {

std::vector<Picture> storyboardPictures(const StoryboardFixture& s)
{
    std::vector<Picture> out;
    for (int d = 0; d < s.directions; ++d)
        for (int j = 0; j < s.framesPerDirection; ++j)
            out.push_back(s.picture ? s.picture(d, j) : testPicture(s.width, s.height, d + 1, j));
    return out;
}

bool writeStoryboard(const std::string& qsbPath, const StoryboardFixture& s)
{
    Bitmap sheet;
    if (!CreateStoryboard(sheetWidthFor(s.width, s.framesPerDirection), sheetHeightFor(s.height, s.directions), s.width,
                          s.height, s.directions, s.framesPerDirection, 8, s.palette, sheet))
        return false;
    const std::vector<Picture> pictures = storyboardPictures(s);
    for (size_t k = 0; k < pictures.size(); ++k)
        copyCellIn(sheet, s.width, s.height, int(k) / s.framesPerDirection, int(k) % s.framesPerDirection,
                   pictures[k].data());
    StoryboardGeometry g = StoryboardGeometry::grid(s.width, s.height, s.framesPerDirection, s.directions, s.speed,
                                                    s.leftOffset, s.topOffset, s.imageType, s.paletteType, false);
    if (s.claimedDirections) g.directions = s.claimedDirections;
    StoryboardInfo info;
    if (!makeStoryboardInfo(qsbPath, g, info)) return false;
    return writeImageFile(storyboardSheetPath(qsbPath, info), sheet, s.imageType, s.depth) &&
           (!s.paletteFiles || (ExportPaletteToFile(qsbPath, s.palette, s.paletteType) &&
                                ExportPaletteToFile(qsbPath, s.palette, s.paletteType, "_Default"))) &&
           WriteQSB(qsbPath, info);
}

std::map<std::string, Bytes> folderSnapshot(const std::filesystem::path& dir)
{
    std::map<std::string, Bytes> out;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        Bytes data;
        readWholeFile(entry.path().string(), data);
        out[entry.path().filename().string()] = std::move(data);
    }
    return out;
}

std::string storyboardSummary(const std::string& qsbPath)
{
    StoryboardInfo i;
    if (!ReadQSB(qsbPath, i)) return {};
    std::ostringstream out;
    out << i.name() << ": sheet " << i.sheetWidth << "x" << i.sheetHeight << ", cells " << int(i.frameWidth) << "x"
        << int(i.frameHeight) << ", " << int(i.directionCount) << " x " << int(i.framesPerDirection) << ", speed "
        << i.speed << ", offset " << int(i.leftOffset) << "," << int(i.topOffset) << ", image " << int(i.imageType)
        << ", palette " << int(i.paletteType) << ", leader " << int(i.leaderHead);
    return out.str();
}

std::string writeExportedStoryboard(const std::filesystem::path& dir, const std::string& name,
                                    const ExportedStoryboardFixture& shape)
{
    const std::string flc = (dir / (name + ".flc")).string();
    if (!writeFileAtomic(flc, buildAnimation(shape.anim))) return {};
    FlcLoadResult loaded;
    if (!loadFlcAnimation(flc, loaded)) return {};
    const ExportSource source = exportSourceFrom(loaded);
    ExportStoryboardSettings s = exportWizardDefaults(flc, source);
    s.imageFormat = shape.imageFormat;
    s.colorDepth = shape.colorDepth;
    s.paletteFileType = shape.paletteType;
    s.targetPath = storyboardTargetPath(s.outputDirectory, s.baseFileName, s.imageFormat);
    if (!FlcToStoryboard(source, s, CivPaletteSources{})) return {};
    return qsbPathFor(s.targetPath);
}

}  // namespace qv::test
