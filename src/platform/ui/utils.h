// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Path and string helpers: parts of a path, existence tests, temporary file names,
// string-table texts filled with arguments, and the folder chooser.
#pragma once

#include <QString>
#include <initializer_list>

#include "core/strings.h"

class QWidget;

namespace qv {

// The extension after the last dot of the file name, without the dot ("" when none).
QString uGetFileExt(const QString& path);
// Whether `path` names an existing file (not a folder).
bool uIsFileExist(const QString& path);
// Whether `path` names an existing folder.
bool uIsDirExist(const QString& path);
// The folder of `path`, ending in a separator ("" when the path has no folder).
QString GetFolder(const QString& path);
QString uGetPathName(const QString& path);  // the same as GetFolder
// The file name without folder and extension.
QString GetShortFileName(const QString& path);
// The file name without folder.
QString GetFileName(const QString& path);

// A new, unused file name in the temporary folder with extension `ext` (given with or
// without the dot). The file is created empty so no one else takes the name; the
// caller deletes it. Empty on failure.
QString uGetTempFileName(const QString& ext);

// Where a file dialog about the animation at `documentPath` starts: at `lastFile` (the
// file that dialog last used) when it still exists in the animation's folder, else in
// that folder; without an animation, at `lastFile` when it exists. Empty: the dialog's
// own choice.
QString dialogStartPath(const QString& documentPath, const QString& lastFile);

// A string-table text filled with arguments ("%s", "%d" in order).
QString uFormatString(const char* text, std::initializer_list<MessageArg> args = {});
QString uLoadString(const char* text);

// The folder chooser (through the file dialog service). True with the folder chosen.
bool uBrowseFolder(QWidget* parent, const QString& title, const QString& start, QString& folder);
// Creates `path` and any missing parent folders.
bool uCreateNewFolder(const QString& path);

// Makes the calling thread give way to the user-interface thread: background work (the
// wizards' preview, for instance) then never slows the window down, even when the
// processor is shared with other programs.
void uLowerThreadPriority();

}  // namespace qv
