// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/command_line.h"

#include "core/strings.h"

namespace qv {

bool CCommandLineInfoX::Parse(const QStringList& arguments)
{
    bool switchesEnded = false;
    for (const QString& arg : arguments) {
        const bool isSwitch = !switchesEnded && arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
        if (!isSwitch) {
            // The first plain argument is the file; later ones are ignored, as they
            // always were.
            if (m_strFileName.isEmpty() && !arg.isEmpty()) {
                m_strFileName = arg;
                m_nShellCommand = FileOpen;
            }
            continue;
        }
        if (arg == QLatin1String("--")) {
            switchesEnded = true;
            continue;
        }
        QString name = arg;
        while (name.startsWith(QLatin1Char('-'))) name.remove(0, 1);
        name = name.toLower();
        if (name == QLatin1String("register") || name == QLatin1String("r") || name == QLatin1String("regserver"))
            m_bRegister = true;
        else if (name == QLatin1String("unregister") || name == QLatin1String("u") ||
                 name == QLatin1String("unregserver"))
            m_bUnregister = true;
        else if (name == QLatin1String("quiet") || name == QLatin1String("q"))
            m_bQuiet = true;
        else if (name == QLatin1String("post-install") || name == QLatin1String("p") ||
                 name == QLatin1String("postinstall") || name == QLatin1String("cleanup"))
            m_bPostInstall = true;
        else if (name == QLatin1String("help") || name == QLatin1String("h") || name == QLatin1String("?"))
            m_bHelp = true;
        else if (name == QLatin1String("version"))
            m_bVersion = true;
        else {
            error = QString::fromStdString(formatMessage(str::IDS_CMDLINE_UNKNOWN_SWITCH, {arg.toStdString()}));
            return false;
        }
    }
    return true;
}

QString CCommandLineInfoX::usage() { return QString::fromUtf8(str::IDS_CMDLINE_USAGE); }

}  // namespace qv
