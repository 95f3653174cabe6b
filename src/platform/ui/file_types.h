// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Associating the program's document types with it on the desktop, for the current user.
//
// Linux (freedesktop): registering writes a desktop entry "quorvane.desktop" whose Exec is
// this program's full path, a shared-MIME-info package (video/x-flic for *.flc and *.fli,
// application/x-quorvane-storyboard for *.qsb), the document icons, and makes the entry
// the default handler of both types in the user's mimeapps.list; the MIME and desktop
// databases are refreshed when their tools are installed. Unregistering removes exactly
// those files and lines. The XDG base-directory variables are followed.
// Windows: the classes-root entries (type id, open command, extension, icon) and the
// removal of a user's shell choice under the Explorer's FileExts key.
#pragma once

#include <QString>
#include <vector>

#include "core/result.h"

namespace qv {

struct ShellFileType {
    QString typeId;     // "FLC"
    QString typeName;   // "FLC Document"
    QString extension;  // ".flc"
    QString mimeType;   // "video/x-flic"
    int iconIndex = 0;  // icon of the program's executable (Windows)
};

// Registers every type in `types` to open with `program` (a full path). On failure the
// message says what could not be done, and nothing written by this call is left behind.
Status RegisterShellTypes(const std::vector<ShellFileType>& types, const QString& program);
// Removes what RegisterShellTypes wrote for `types`, and nothing else.
Status UnregisterShellTypes(const std::vector<ShellFileType>& types, const QString& program);
// Whether `type` opens with `program` at that very path for the current user.
bool IsShellTypeAssociated(const ShellFileType& type, const QString& program);

#ifndef Q_OS_WIN
// The desktop-entry file the current user's defaults name for `mimeType` ("" when none),
// following mimeapps.list in the XDG configuration and data folders.
QString DefaultDesktopEntry(const QString& mimeType);
#endif

}  // namespace qv
