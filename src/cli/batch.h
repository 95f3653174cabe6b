// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Batch work for the converting commands: several inputs and folders (-r to descend) with
// -o DIR, converted on --jobs N worker threads, with progress on standard error and a
// summary at the end. Given one file, a command keeps its single-input behaviour; the
// batch layer only takes over for several inputs or a folder.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "cli/command_options.h"
#include "core/civ_palettes.h"

namespace qv::cli {

// Adds -r/--recursive, --jobs N and --force; and --format EXT when `formatHelp` is given
// (the output type of a batch, where -o names a folder rather than a file).
void addBatchOptions(CommandOptions& o, const char* formatHelp = nullptr);

// Unpacks on the calling thread the built-in files a batch's conversions will read (the
// schemes of `civs`, 0 meaning none, and the sea or land picture of `background`), so
// that the worker threads find them in place and only read them.
void warmUpBuiltinData(const CivPaletteSources& sources, std::initializer_list<int> civs,
                       BackgroundChoice background = BackgroundChoice::Default);

// True when the command works on a batch: several inputs, or a folder.
bool isBatch(const CommandOptions& o);

struct BatchJob {
    // Extensions (lower case, no dot) of the files taken from folders.
    std::vector<std::string> inputExtensions;
    // Values --format takes, the default first; empty when the command has no --format.
    std::vector<std::string> formats;
    // Extensions of the command's single output: an -o ending so (and not an existing
    // folder) with several inputs is taken for a mistake, reported with `singleUsage`.
    std::vector<std::string> outputExtensions;
    std::string singleUsage;
    // Without -o the outputs go beside each input; otherwise -o is required.
    bool outputBesideInput = false;
    // Every file converting `input` writes, the main output first. `stem` is the output
    // path without extension (the output folder, the input's path below the folder it
    // was found in, its name); `format` the --format value (empty without --format).
    std::function<std::vector<std::string>(const std::string& stem, const std::string& format,
                                           const std::string& input)>
        outputs;
    // Converts one input into its main output on a worker thread, reporting through
    // refuse() and printMessage(); returns kExitOk or a refusal status. It must not touch
    // state shared with other inputs except to read it.
    std::function<int(const std::string& input, const std::string& output)> convert;
};

// Expands the inputs, refuses those whose outputs are unusable (an input, another input's
// output, an existing file without --force), converts the others in parallel and prints
// the summary. Returns kExitOk when every input was converted, kExitRefused when any was
// refused, kExitUsage on a usage error (nothing converted).
int runBatch(const CommandOptions& o, const BatchJob& job);

}  // namespace qv::cli
