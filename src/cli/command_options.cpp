// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_options.h"

#include <QFileInfo>

#include "cli/cli_common.h"
#include "cli/frame_composer.h"
#include "platform/imaging/builtin_data.h"

namespace qv::cli {

bool parseBackground(const QString& text, BackgroundOption& out, bool allowTransparent)
{
    const QString t = text.toLower();
    if (t == QLatin1String("default"))
        out.choice = BackgroundChoice::Default;
    else if (t == QLatin1String("sea"))
        out.choice = BackgroundChoice::Sea;
    else if (t == QLatin1String("land"))
        out.choice = BackgroundChoice::Land;
    else if (allowTransparent && t == QLatin1String("transparent"))
        out.choice = BackgroundChoice::Transparent;
    else if (t.size() == 7 && t.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint v = t.mid(1).toUInt(&ok, 16);
        if (!ok) return false;
        out.choice = BackgroundChoice::Custom;
        out.rgb = v;
    } else {
        return false;
    }
    return true;
}

int FrameComposer::prepare(const FlcLoadResult& loaded, const ComposeOptions& o)
{
    const Status st = qv::FrameComposer::prepare(loaded, o);
    return st ? kExitOk : refuse(st.message);
}

CommandOptions::CommandOptions(const char* help)
{
    parser_.setApplicationDescription(QString::fromUtf8(help));
}

void CommandOptions::add(const char* name, const QString& description, const char* valueName)
{
    QStringList names{QString::fromLatin1(name)};
    if (names.first() == QLatin1String("output")) names.prepend(QStringLiteral("o"));
    parser_.addOption(QCommandLineOption(names, description, valueName ? QString::fromLatin1(valueName) : QString()));
}

void CommandOptions::addPositional(const char* name, const QString& description)
{
    parser_.addPositionalArgument(QString::fromLatin1(name), description);
}

void CommandOptions::addCivSource(const char* description)
{
    add("civ-source",
        description ? QString::fromUtf8(description)
                    : QStringLiteral("Where the civilization schemes come from: game (the installed game's "
                                     "Art/Units/Palettes), builtin (the built-in schemes, unpacked into Palettes/ "
                                     "beside the program or in the per-user data folder; default), or a folder "
                                     "holding ntp00.pcx .. ntp31.pcx."),
        "SOURCE");
}

bool CommandOptions::parse(const QStringList& args, int& status)
{
    command_ = args.value(0);
    return parseOrFail(parser_, args, status);
}

bool CommandOptions::isSet(const char* name) const
{
    return parser_.isSet(QString::fromLatin1(name));
}

QString CommandOptions::value(const char* name) const
{
    return parser_.value(QString::fromLatin1(name));
}

int CommandOptions::usage(const std::string& message) const
{
    return usageError(command_, QString::fromUtf8(message.c_str()));
}

std::string CommandOptions::path(const char* name) const
{
    return absoluteLocalPath(value(name));
}

CivPaletteSources CommandOptions::civSources() const
{
    int palType = static_cast<int>(CivPaletteSource::Resources);
    QString palDir;
    if (isSet("civ-source")) {
        const QString source = value("civ-source");
        if (source == QLatin1String("game")) {
            palType = static_cast<int>(CivPaletteSource::GameFiles);
        } else if (source != QLatin1String("builtin")) {
            palType = static_cast<int>(CivPaletteSource::Folder);
            palDir = QFileInfo(source).absoluteFilePath();
        }
    }
    return civPaletteSources(palType, palDir, readGameFolders());
}

}  // namespace qv::cli
