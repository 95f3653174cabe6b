// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The data files built into the programs (the sea and land pictures and the 32
// civilization colour schemes, compiled in as Qt resources under :/data/) and where they
// are unpacked on first use; and the game's install folders.
//
// Built-in files are written beside the program on first use and read from there
// afterwards, so a user can replace them. When the program's folder cannot be written
// (an installed program on Linux), they go to the per-user data folder instead,
// ~/.local/share/Velmora/Quorvane on Linux. A file already in either place wins, the
// program's folder first.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/civ_palettes.h"

namespace qv {

// The folder of the running program; empty when it cannot be found.
QString programFolder();
// The per-user data folder shared by the desktop program and quorvane-cli.
QString userDataFolder();
// Where built-in files are looked for and unpacked, in order: the program's folder, then
// the per-user data folder.
QStringList builtinDataFolders();

// The bytes of built-in file `name` (":/data/<name>"); false when there is none.
bool builtinDataFile(const QString& name, QByteArray& out);

// The background types that have a built-in picture.
enum class BackgroundPicture : int { Sea = 2, Land = 3 };
// "Sea.pcx" or "Land.pcx".
QString backgroundPictureFileName(BackgroundPicture kind);

// The path of Sea.pcx or Land.pcx: the file already in one of `folders`, or else the
// built-in picture written into the first folder that takes it. False (reporting nothing)
// when neither works.
bool provideBackgroundPicture(BackgroundPicture kind, QString& path,
                              const QStringList& folders = builtinDataFolders());

// The game's install folders. On Windows they are read from the registry (value
// "Install_Path" of HKEY_LOCAL_MACHINE\SOFTWARE\Parvex Interactive\Dominara,
// ...\Parvex\Tolvaris and ...\Parvex\Brevundi); elsewhere from the program's settings
// ("Game/Install_Path", "Tolvaris/Install_Path", "Brevundi/Install_Path" in
// ~/.config/Velmora/Quorvane.conf on Linux).
struct GameFolders {
    bool baseFound = false;    // Dominara
    bool firstFound = false;   // Tolvaris
    bool secondFound = false;  // Brevundi
    QString base, first, second;
    // Every folder found, in the order second expansion, first expansion, base game.
    QStringList list() const;
};
GameFolders readGameFolders();

// The places a civilization scheme lookup may use, for "Pal Type" `palType` and "Pal Dir"
// `palDir`, with the built-in schemes unpacked into "Palettes" below `folders`.
CivPaletteSources civPaletteSources(int palType, const QString& palDir, const GameFolders& game,
                                    const QStringList& folders = builtinDataFolders());

}  // namespace qv
