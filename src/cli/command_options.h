// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The option parser every quorvane-cli command builds on: the command's help and options,
// parsing with --help, usage errors, the input and output paths made absolute, the
// civilization-scheme source and the background choice.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

#include "core/civ_palettes.h"
#include "platform/imaging/frame_composer.h"

namespace qv::cli {

// "default", "sea", "land" or a colour "#RRGGBB"; also "transparent" when `allowTransparent`
// (the animated and thumbnail pictures, which carry an alpha channel).
bool parseBackground(const QString& text, BackgroundOption& out, bool allowTransparent = false);

class CommandOptions {
public:
    explicit CommandOptions(const char* help);

    QCommandLineParser& parser() { return parser_; }
    // Adds an option "name" (with the one-letter alias "o" for "output").
    void add(const char* name, const QString& description, const char* valueName = nullptr);
    void addPositional(const char* name, const QString& description);
    // --civ-source, with the standard help text unless `description` is given.
    void addCivSource(const char* description = nullptr);

    // Parses the command's arguments (the command's name first). False when the command
    // ends here: a usage error was printed (status 2) or the help (status 0).
    bool parse(const QStringList& args, int& status);

    bool isSet(const char* name) const;
    QString value(const char* name) const;
    QStringList positional() const { return parser_.positionalArguments(); }
    const QString& command() const { return command_; }
    // Prints a usage error for this command and returns its status.
    int usage(const std::string& message) const;

    // The value of `name` as an absolute local path, as the program's file dialogs give paths.
    std::string path(const char* name) const;
    // The civilization schemes --civ-source names: "game" (the game's folders from the
    // settings), "builtin" (the built-in schemes; the default) or a folder.
    CivPaletteSources civSources() const;

private:
    QCommandLineParser parser_;
    QString command_;
};

}  // namespace qv::cli
