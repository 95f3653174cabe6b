// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli ini UNIT.INI [--check]`: every action of a unit's INI file with the
// animation it resolves to (as Open INI resolves it), that animation's frames,
// directions and duration, and the unit's sounds. With --check, every missing or
// refused file is named on standard error and the exit status is 1.
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/sound_files.h"
#include "core/strings.h"
#include "core/unit_ini.h"
#include "platform/imaging/builtin_data.h"

namespace qv::cli {
namespace {

constexpr uint64_t kMaxIniFileSize = 16ull * 1024 * 1024;

// A program message on one line.
std::string oneLine(const std::string& message)
{
    std::string s = toPlainLineBreaks(message);
    for (char& c : s)
        if (c == '\n') c = ' ';
    return s;
}

void printLine(const std::string& line) { std::printf("%s\n", line.c_str()); }

struct Checker {
    std::vector<std::string> problems;
    void add(const std::string& path, const std::string& what)
    {
        problems.push_back(formatMessage(str::IDS_CLI_INI_PROBLEM, {path, what}));
    }
};

void listAnimation(const ResolvedReference& r, Checker& check)
{
    const std::string& key = r.ref.key;
    if (r.state == ReferenceState::Outside) {
        printLine(formatMessage(str::IDS_CLI_INI_OUTSIDE, {key, r.ref.value}));
        check.add(r.ref.value, str::IDS_CLI_INI_WHY_OUTSIDE);
        return;
    }
    if (r.state == ReferenceState::Missing) {
        printLine(formatMessage(str::IDS_CLI_INI_MISSING, {key, r.path}));
        check.add(r.path, str::IDS_CLI_INI_WHY_MISSING);
        return;
    }
    FlcLoadResult loaded;
    Status st = checkFlcFile(r.path);
    if (st) st = loadFlcAnimation(r.path, loaded);
    if (!st) {
        printLine(formatMessage(str::IDS_CLI_INI_REFUSED, {key, r.path, oneLine(st.message)}));
        check.add(r.path, oneLine(st.message));
        return;
    }
    const FlcHeader& h = loaded.store.header;
    printLine(formatMessage(str::IDS_CLI_INI_ANIMATION, {key, r.path, static_cast<int>(loaded.store.frames.size()),
                                                          static_cast<int>(h.directions),
                                                          static_cast<unsigned long>(h.animationTime)}));
}

// A WAV file's length; false (with the reason) when it cannot be played.
bool wavLength(const std::string& path, uint64_t& ms, std::string& why)
{
    Bytes bytes;
    if (!fileExists(path)) {
        why = str::IDS_CLI_INI_WHY_MISSING;
        return false;
    }
    WavInfo info;
    Status st = readWholeFile(path, bytes, kMaxWavFileSize)
                    ? readWavInfo(path, bytes.data(), bytes.size(), info)
                    : Status::failure(formatMessage(str::IDS_WAV_NOT_VALID, {path}));
    if (!st) {
        why = oneLine(st.message);
        return false;
    }
    ms = info.durationMs();
    return true;
}

void listSound(const ResolvedReference& r, Checker& check)
{
    const std::string& key = r.ref.key;
    if (r.state != ReferenceState::Found) {
        printLine(formatMessage(r.state == ReferenceState::Outside ? str::IDS_CLI_INI_OUTSIDE : str::IDS_CLI_INI_MISSING,
                                {key, r.state == ReferenceState::Outside ? r.ref.value : r.path}));
        check.add(r.state == ReferenceState::Outside ? r.ref.value : r.path,
                  r.state == ReferenceState::Outside ? str::IDS_CLI_INI_WHY_OUTSIDE : str::IDS_CLI_INI_WHY_MISSING);
        return;
    }
    std::string why;
    if (!equalsNoCase(fileExtension(r.path), "amb")) {
        uint64_t ms = 0;
        if (wavLength(r.path, ms, why))
            printLine(formatMessage(str::IDS_CLI_INI_SOUND_WAV, {key, r.path, static_cast<unsigned long long>(ms)}));
        else {
            printLine(formatMessage(str::IDS_CLI_INI_REFUSED, {key, r.path, why}));
            check.add(r.path, why);
        }
        return;
    }
    Bytes bytes;
    std::vector<std::string> names;
    const Status st = readWholeFile(r.path, bytes, kMaxAmbFileSize)
                          ? readAmbWavNames(r.path, bytes.data(), bytes.size(), names)
                          : Status::failure(formatMessage(str::IDS_AMB_NOT_VALID, {r.path}));
    if (!st) {
        printLine(formatMessage(str::IDS_CLI_INI_REFUSED, {key, r.path, oneLine(st.message)}));
        check.add(r.path, oneLine(st.message));
        return;
    }
    printLine(formatMessage(str::IDS_CLI_INI_SOUND_AMB, {key, r.path, static_cast<int>(names.size())}));
    const std::string folder = toLocal(QFileInfo(fromLocal(r.path)).absolutePath()) + "/";
    for (const std::string& name : names) {
        const std::string wav = folder + name + ".wav";
        uint64_t ms = 0;
        if (wavLength(wav, ms, why))
            printLine(formatMessage(str::IDS_CLI_INI_SOUND_WAV, {"", wav, static_cast<unsigned long long>(ms)}));
        else {
            printLine(formatMessage(str::IDS_CLI_INI_REFUSED, {"", wav, why}));
            check.add(wav, why);
        }
    }
}

int runIni(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists every action of a unit's INI file with the animation it resolves to (as Open INI "
                       "resolves it: beside the INI file, or for a reference starting with a dot under Art/Units "
                       "of the installed game), its frames, directions and duration, and the unit's sounds."));
    parser.addPositionalArgument(QStringLiteral("UNIT.INI"), QStringLiteral("The unit's INI file."));
    parser.addOption({QStringLiteral("check"),
                      QStringLiteral("Name every missing or refused file on standard error and exit with 1 when "
                                     "there is one.")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || positional.first().isEmpty())
        return usageError(args.value(0), QString::fromUtf8(str::IDS_CLI_INI_NEEDS_FILE));

    const std::string path = absoluteLocalPath(positional.first());
    Bytes bytes;
    if (!readWholeFile(path, bytes, kMaxIniFileSize))
        return refuse(formatMessage(str::IDS_CLI_INI_CANNOT_READ, {path}));
    UnitIni ini;
    if (const Status st = parseUnitIni(path, bytes.data(), bytes.size(), ini); !st) return refuse(st.message);

    std::vector<std::string> games;
    for (const QString& g : readGameFolders().list()) games.push_back(toLocal(g));
    const std::string folder = toLocal(QFileInfo(fromLocal(path)).absolutePath());

    Checker check;
    for (const UnitIniReference& ref : ini.animations) listAnimation(resolveUnitIniReference(ref, folder, games), check);
    if (!ini.sounds.empty()) {
        printLine(str::IDS_CLI_INI_SOUNDS);
        for (const UnitIniReference& ref : ini.sounds) listSound(resolveUnitIniReference(ref, folder, games), check);
    }
    for (const std::string& key : ini.duplicateKeys) printLine(formatMessage(str::IDS_CLI_INI_DUPLICATE, {key}));
    std::fflush(stdout);

    if (!parser.isSet(QStringLiteral("check")) || check.problems.empty()) return kExitOk;
    for (const std::string& p : check.problems) std::fprintf(stderr, "%s\n", p.c_str());
    std::fprintf(stderr, "%s\n",
                 formatMessage(str::IDS_CLI_INI_CHECK_FAILED, {static_cast<int>(check.problems.size())}).c_str());
    return kExitRefused;
}

const CommandRegistrar reg("ini", "ini UNIT.INI [--check]",
                           "List a unit's animations and sounds as its INI file names them; --check validates them",
                           &runIni);

}  // namespace
}  // namespace qv::cli
