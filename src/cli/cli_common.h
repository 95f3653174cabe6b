// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What every quorvane-cli command shares: registration, exit statuses and messages.
// Each command lives in its own file and registers itself with a static
// CommandRegistrar, so adding a command touches no other file.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <vector>

#include "core/flc_reader.h"
#include <QStringList>
#include <string>

namespace qv::cli {

enum ExitStatus { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

// A command receives its arguments with the command name first (as argv[0] would be).
using CommandFn = int (*)(const QStringList& args);

struct Command {
    const char* name;
    const char* synopsis;  // one line for the overview, e.g. "info FILE [-o REPORT]"
    const char* summary;   // what it does, one line
    CommandFn run;
};

struct CommandRegistrar {
    CommandRegistrar(const char* name, const char* synopsis, const char* summary, CommandFn run);
};

const Command* findCommand(const QString& name);
// All registered commands, sorted by name.
std::vector<const Command*> allCommands();

// Prints a message for the user (a line, or several) to standard error; while a batch
// converts an input on a worker thread the text goes into that input's report instead,
// which the batch prints in one piece.
void printMessage(const std::string& text);
// Sends printMessage() on the calling thread into `report` while it lives.
class MessageCapture {
public:
    explicit MessageCapture(std::string& report);
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;
    ~MessageCapture();

private:
    std::string* previous_;
};

// Prints a program message (from the string table; its "\r\n" become line breaks) to
// standard error and returns kExitRefused.
int refuse(const std::string& message);
// Prints a usage error with the command's help hint and returns kExitUsage.
int usageError(const QString& command, const QString& message);

// Parses a command's arguments; on failure prints the parser's error and returns false.
// --help prints the command's help and exits the process with status 0.
bool parseOrFail(QCommandLineParser& parser, const QStringList& args, int& status);

std::string toLocal(const QString& s);
QString fromLocal(const std::string& s);

// A path as the user typed it, made absolute: messages show paths the way the program's
// file dialogs give them.
std::string absoluteLocalPath(const QString& path);

// The folder that is to hold an output file, created when it is missing (as `frames` and
// `render` create theirs). Folders it made are removed again, when still empty, unless
// keep() is called after the command succeeded.
class OutputFolder {
public:
    OutputFolder() = default;
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    ~OutputFolder();
    // kExitOk, or kExitRefused after printing "'%s'\r\nCannot create the folder.".
    int ensureFor(const std::string& filePath);
    void keep() { made_.clear(); }

private:
    std::vector<std::string> made_;  // outermost first
};

// Runs the open check and loads the animation as the FLC view does. Prints the
// unusual-file warning (the load goes on). Returns kExitOk, or kExitRefused after
// printing the refusal. With `storyboards` a .qsb file is read and cut as the storyboard
// view does and taken as an animation of its frames at its speed.
int loadAnimationOrRefuse(const std::string& path, FlcLoadResult& out, bool storyboards = false);

}  // namespace qv::cli
