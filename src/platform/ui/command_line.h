// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CCommandLineInfoX: the desktop program's command line. An optional file to open and
// four flags: register the file types, unregister them, stay quiet (no confirmation
// message) and clean up after installation. Switches:
//   --register (-r), --unregister (-u), --quiet (-q), --post-install (-p), --help (-h),
//   --version
// Switch names are read without regard to case; "--" ends the switches.
#pragma once

#include <QString>
#include <QStringList>

namespace qv {

class CCommandLineInfoX {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    // Parses the arguments after the program name. False on an unknown switch; the
    // message to show is then in `error`.
    bool Parse(const QStringList& arguments);

    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    bool m_bRegister = false;
    bool m_bUnregister = false;
    bool m_bQuiet = false;
    bool m_bPostInstall = false;
    bool m_bHelp = false;
    bool m_bVersion = false;
    QString error;

    // The usage text shown by --help.
    static QString usage();
};

}  // namespace qv
