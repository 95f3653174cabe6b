// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// quorvane-cli: the command-line tool over the core, for batch work.
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <map>

#include "cli/cli_common.h"
#include "core/strings.h"

namespace qv::cli {

static std::map<std::string, Command>& registry()
{
    static std::map<std::string, Command> commands;
    return commands;
}

CommandRegistrar::CommandRegistrar(const char* name, const char* synopsis, const char* summary, CommandFn run)
{
    registry()[name] = Command{name, synopsis, summary, run};
}

const Command* findCommand(const QString& name)
{
    auto it = registry().find(name.toStdString());
    return it == registry().end() ? nullptr : &it->second;
}

std::vector<const Command*> allCommands()
{
    std::vector<const Command*> out;
    for (auto& kv : registry()) out.push_back(&kv.second);
    return out;
}

int refuse(const std::string& message)
{
    const std::string text = toPlainLineBreaks(message);
    std::fprintf(stderr, "%s\n", text.c_str());
    return kExitRefused;
}

int usageError(const QString& command, const QString& message)
{
    std::fprintf(stderr, "quorvane-cli %s: %s\nTry 'quorvane-cli %s --help'.\n", qPrintable(command),
                 qPrintable(message), qPrintable(command));
    return kExitUsage;
}

bool parseOrFail(QCommandLineParser& parser, const QStringList& args, int& status)
{
    parser.addHelpOption();
    if (!parser.parse(args)) {
        status = usageError(args.value(0), parser.errorText());
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        status = kExitOk;
        return false;
    }
    return true;
}

std::string toLocal(const QString& s) { return s.toLocal8Bit().toStdString(); }

std::string absoluteLocalPath(const QString& path) { return toLocal(QFileInfo(path).absoluteFilePath()); }

int loadAnimationOrRefuse(const std::string& path, FlcLoadResult& out)
{
    const Status check = checkFlcFile(path);
    if (!check) return refuse(check.message);
    const Status load = loadFlcAnimation(path, out);
    if (!load) return refuse(load.message);
    if (!out.warning.empty()) std::fprintf(stderr, "%s\n", toPlainLineBreaks(out.warning).c_str());
    return kExitOk;
}
QString fromLocal(const std::string& s) { return QString::fromLocal8Bit(s.data(), qsizetype(s.size())); }

static void printOverview()
{
    std::printf("Usage: quorvane-cli COMMAND [OPTIONS]\n\n"
                "Quorvane's command-line tool for Dominara FLC animations, storyboards and palettes.\n\n"
                "Commands:\n");
    for (const Command* c : allCommands()) std::printf("  %-58s %s\n", c->synopsis, c->summary);
    std::printf("\nGeneral options:\n"
                "  -h, --help       Show this help, or a command's help after its name.\n"
                "  -v, --version    Show the version.\n\n"
                "Exit status: 0 success, 1 input refused (the message is printed), 2 usage error.\n");
}

}  // namespace qv::cli

int main(int argc, char** argv)
{
    using namespace qv::cli;
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
    // QImage reads and writes PNG without a GUI application object, so no display is needed.
    QCoreApplication app(argc, argv);

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        printOverview();
        return kExitUsage;
    }
    const QString first = args.first();
    if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("help")) {
        if (args.size() > 1 && findCommand(args[1])) {
            QStringList sub{args[1], QStringLiteral("--help")};
            return findCommand(args[1])->run(sub);
        }
        printOverview();
        return kExitOk;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        std::printf("quorvane-cli %s\n", QUORVANE_VERSION);
        return kExitOk;
    }
    const Command* cmd = findCommand(first);
    if (!cmd) {
        std::fprintf(stderr, "quorvane-cli: unknown command '%s'. Try 'quorvane-cli --help'.\n", qPrintable(first));
        return kExitUsage;
    }
    return cmd->run(args);
}
