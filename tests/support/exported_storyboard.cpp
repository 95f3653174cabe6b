// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/exported_storyboard.h"

#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"

namespace qv::test {

std::string writeExportedStoryboard(const std::filesystem::path& dir, const std::string& name, const ExportedStoryboardFixture& shape)
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
