// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// quorvane-cli: the command-line tool over the core, for batch work.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <new>
#include <system_error>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/cli_common.h"
#include "core/frame_pixels.h"
#include "core/storyboard_document.h"
#include "core/strings.h"
#include "core/version.h"

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

static thread_local std::string* t_report = nullptr;

void printMessage(const std::string& text)
{
    if (t_report) {
        *t_report += text;
        *t_report += '\n';
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

MessageCapture::MessageCapture(std::string& report) : previous_(t_report) { t_report = &report; }
MessageCapture::~MessageCapture() { t_report = previous_; }

int refuse(const std::string& message)
{
    printMessage(toPlainLineBreaks(message));
    return kExitRefused;
}

int usageError(const QString& command, const QString& message)
{
    printMessage(
        QStringLiteral("quorvane-cli %1: %2\nTry 'quorvane-cli %1 --help'.").arg(command, message).toStdString());
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

#ifdef Q_OS_WIN
std::string toLocal(const QString& s)
{
    return QFile::encodeName(s).toStdString();
}
QString fromLocal(const std::string& s)
{
    return QFile::decodeName(QByteArray(s.data(), qsizetype(s.size())));
}
#else
// File names are bytes, normally UTF-8. A byte that is not part of valid UTF-8 becomes the
// lone surrogate U+DC00 + byte and is turned back into that byte on the way out, so every
// name the file system holds survives the trip through a QString unchanged.
QString fromLocal(const std::string& s)
{
    QString out;
    out.reserve(qsizetype(s.size()));
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    for (size_t i = 0; i < n;) {
        const unsigned c = p[i];
        int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = len > 0 && i + size_t(len) <= n;
        for (int k = 1; ok && k < len; ++k) {
            ok = (p[i + size_t(k)] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i + size_t(k)] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
        static const char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= kLeast[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (!ok) {
            out.append(QChar(char16_t(0xDC00 + c)));
            ++i;
            continue;
        }
        out.append(QString::fromUcs4(&cp, 1));
        i += size_t(len);
    }
    return out;
}

std::string toLocal(const QString& s)
{
    std::string out;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF && (i == 0 || !QChar::isHighSurrogate(s.at(i - 1).unicode()))) {
            out.push_back(char(u - 0xDC00));
            continue;
        }
        char32_t cp = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s.at(i + 1).unicode()))
            cp = QChar::surrogateToUcs4(u, s.at(++i).unicode());
        else if (QChar::isSurrogate(u))
            cp = 0xFFFD;
        out += QString::fromUcs4(&cp, 1).toUtf8().toStdString();
    }
    return out;
}
#endif

std::string absoluteLocalPath(const QString& path)
{
#ifdef Q_OS_WIN
    return toLocal(QFileInfo(path).absoluteFilePath());
#else
    // Made absolute on the bytes, as a QFileInfo would lose the bytes that are not UTF-8.
    namespace fs = std::filesystem;
    fs::path p(toLocal(path));
    std::error_code ec;
    if (p.is_relative()) p = fs::current_path(ec) / p;
    std::string out = p.lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
#endif
}

OutputFolder::~OutputFolder()
{
    std::error_code ec;
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) std::filesystem::remove(std::filesystem::path(*it), ec);
}

int OutputFolder::ensureFor(const std::string& filePath)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(filePath).parent_path();
    if (folder.empty() || fs::is_directory(folder, ec)) return kExitOk;
    std::vector<fs::path> missing;
    for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, ec) || ec)
            return refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_MAKE_FOLDER, {folder.string()}));
        made_.push_back(it->string());
    }
    return kExitOk;
}

int loadAnimationOrRefuse(const std::string& path, FlcLoadResult& out, bool storyboards)
{
    if (!storyboards) {
        if (const Status check = checkFlcFile(path); !check) return refuse(check.message);
    }
    const Status load = storyboards ? loadAnimationOrStoryboard(path, out) : loadFlcAnimation(path, out);
    if (!load) return refuse(load.message);
    if (!out.warning.empty()) printMessage(toPlainLineBreaks(out.warning));
    return kExitOk;
}

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
#if defined(__GLIBC__)
    // Each input of a batch allocates and frees frames and sheets of a few megabytes. By
    // default glibc maps such blocks afresh and hands them back at once, so every input paid
    // again for the kernel zeroing and mapping its pages (more than half the time of a batch,
    // and the part that does not scale with threads). Keeping freed memory for the next input
    // makes a batch about three times faster; the process is short-lived, so the memory it
    // keeps is returned when it ends.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // The same for the decoded pictures, which would otherwise be mapped afresh per input.
    qv::setFrameBlocksMapped(false);
#endif
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
    // QImage reads and writes PNG without a GUI application object, so no display is needed.
    QCoreApplication app(argc, argv);
#ifdef SIGXFSZ
    // A file-size limit makes a write fail (and the command report it) instead of ending
    // the process half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif

    // The arguments as the file system's bytes, so that no file name is changed on the way.
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(fromLocal(argv[i]));
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
        std::printf("%s\n", qv::versionText().c_str());
        return kExitOk;
    }
    const Command* cmd = findCommand(first);
    if (!cmd) {
        std::fprintf(stderr, "quorvane-cli: unknown command '%s'. Try 'quorvane-cli --help'.\n", qPrintable(first));
        return kExitUsage;
    }
    // Whatever goes wrong inside a command ends it with a message and status 1, never an abort.
    const std::string where = "quorvane-cli " + toLocal(first);
    try {
        return cmd->run(args);
    } catch (const std::bad_alloc&) {
        return refuse(qv::formatMessage(qv::str::IDS_NOT_ENOUGH_MEMORY, {where}));
    } catch (...) {
        return refuse(qv::formatMessage(qv::str::IDS_UNKNOWN_ERROR, {where}));
    }
}
