// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli to-flc`: a storyboard turned into a game FLC file, read, checked and cut
// into frames exactly as the storyboard document and view do, then encoded.

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "core/storyboard.h"
#include "core/storyboard_document.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Reads a storyboard (the .qsb description, its PCX or BMP sheet and its palette file),\n"
    "cuts the sheet into frames and writes them as a Dominara FLC file: per direction one\n"
    "full key frame followed by one delta frame per picture.\n"
    "\n"
    "The palette is the storyboard's palette file; without it an 8-bit sheet gives its own\n"
    "colours and a 24-bit sheet the quantisation palette (NAME_Default.act or .pal), to whose\n"
    "colours the 24-bit sheet is reduced. A speed of 0 is read as 10 ms.\n"
    "\n"
    "--delay MS writes MS as the file's frame delay, as exporting from a view that plays at a\n"
    "custom delay does; the animation time stays the storyboard's speed x frames per direction.\n"
    "\n"
    "A storyboard whose FLC file the program would refuse is refused: frames wider or higher\n"
    "than 240 pixels, or more directions or frames per direction than its sheet holds. A\n"
    "missing output folder is created.";

int runToFlc(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.addPositional("STORYBOARD", QStringLiteral("The storyboard's .qsb file."));
    o.add("output", QStringLiteral("The FLC file to write."), "OUT");
    o.add("delay", QStringLiteral("The frame delay to write, in milliseconds (default: the storyboard's speed)."),
          "MS");
    addBatchOptions(o);
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    const QStringList positional = o.positional();
    const bool batch = isBatch(o);
    if (!batch && (positional.size() != 1 || o.value("output").isEmpty()))
        return o.usage(str::IDS_TO_FLC_NEEDS_FILE_AND_OUTPUT);
    bool customDelay = false;
    uint32_t delay = 0;
    if (o.isSet("delay")) {
        bool ok = false;
        delay = o.value("delay").toUInt(&ok, 10);
        if (!ok) return o.usage(str::IDS_TO_FLC_BAD_DELAY);
        customDelay = true;
    }

    auto convert = [&](const std::string& input, const std::string& output) -> int {
        StoryboardInfo record;
        Bitmap sheet;
        if (const Status read = StoryboardToFlc(input, record, sheet); !read) return refuse(read.message);
        if (const Status fits = checkStoryboardForFlc(input, record); !fits) return refuse(fits.message);
        StoryboardFrames frames;
        if (const Status cut = cutStoryboardSheet(input, record, sheet, frames); !cut) return refuse(cut.message);
        sheet = Bitmap{};

        OutputFolder folder;
        if (const int made = folder.ensureFor(output); made != kExitOk) return made;
        // The same conversion as the window's Export to FLC.
        const std::vector<std::vector<uint8_t>> pictures = toByteVectors(frames.frames);
        frames.frames.clear();
        const Status written = StoryboardFramesToFlc(output, frames.info, frames.info.leaderHead != 0, customDelay,
                                                     delay, pictures, frames.palette);
        if (!written) return refuse(written.message);
        folder.keep();
        return kExitOk;
    };
    // Paths are made absolute, as the program's file dialogs give them; messages show them so.
    if (!batch) return convert(absoluteLocalPath(positional.first()), o.path("output"));

    BatchJob job;
    job.inputExtensions = {"qsb"};
    job.outputExtensions = {"flc"};
    job.singleUsage = str::IDS_TO_FLC_NEEDS_FILE_AND_OUTPUT;
    job.outputs = [](const std::string& stem, const std::string&, const std::string&) {
        return std::vector<std::string>{stem + ".flc"};
    };
    job.convert = convert;
    return runBatch(o, job);
}

const CommandRegistrar reg("to-flc", "to-flc STORYBOARD.qsb -o OUT.flc [--delay MS]",
                           "Encode a storyboard as an FLC animation", &runToFlc);

}  // namespace
}  // namespace qv::cli
