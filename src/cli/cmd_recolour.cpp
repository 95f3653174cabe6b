// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli recolour`: the colour tools over the palette of an FLC animation or of a
// palette file, the operations applied in the order they are given. An animation is
// written through the same in-place patcher Save uses, so only the colour triples of its
// palette chunks change; a palette file is written in its own format.

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "core/file_io.h"
#include "core/flc_patcher.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Recolours the palette of an FLC animation or of a palette file (.act, .pal) with the\n"
    "colour tools' operations, applied in the order given:\n"
    "  --palette FILE          all 256 colours from FILE (act, pal, flc, qsb, pcx or bmp)\n"
    "  --replace I=#RRGGBB     entry I becomes the colour\n"
    "  --range FROM:TO:COUNT   entries TO.. take the --source palette's entries FROM..\n"
    "                          (COUNT at most 256 - the larger of FROM and TO)\n"
    "  --move FROM:TO:COUNT    entries FROM.. move to TO..; the places left become red\n"
    "                          (COUNT at most 255 - the larger of FROM and TO, or 1)\n"
    "  --shift-left N, --shift-right N\n"
    "                          every entry moves N places (0..255); red fills in\n"
    "  --brightness V, --contrast V, --saturation V (-1000..1000), --hue V (-360..360)\n"
    "  --indices A-B           limits brightness, contrast, hue and saturation to entries A..B\n"
    "An FLC is written as a new FLC whose bytes differ from IN only in the colours of its\n"
    "palette chunks. A palette file is written as an Adobe Color Table when OUT ends in .act,\n"
    "else as a .pal file of IN's kind (RIFF or Jasc; Jasc for an .act input).";

struct Step {
    QString option;
    QString value;
};

QString bad(const QString& option, const char* rule)
{
    return QString::fromStdString(formatMessage(str::IDS_RECOLOUR_CLI_BAD_VALUE, {toLocal(option), rule}));
}

bool toInt(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    out = text.trimmed().toInt(&ok);
    return ok && out >= low && out <= high;
}

// "A:B:C" as three whole numbers.
bool triple(const QString& text, int& a, int& b, int& c)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    return parts.size() == 3 && toInt(parts[0], 0, 255, a) && toInt(parts[1], 0, 255, b) &&
           toInt(parts[2], 0, 256, c);
}

// Checks one step and applies it to `palette`; an empty string when done, else the reason.
QString applyStep(const Step& s, Palette256& palette, const Palette256* source, int first, int last)
{
    const QString& o = s.option;
    if (o == QLatin1String("palette")) {
        Palette256 read;
        const Status st = GetPalette(absoluteLocalPath(s.value), read);
        if (!st) return QString::fromStdString(st.message.empty() ? std::string(str::IDS_CANNOT_GET_PALETTE_FROM_FILE)
                                                                  : st.message);
        palette = read;
        return {};
    }
    if (o == QLatin1String("replace")) {
        static const QRegularExpression re(QStringLiteral("^(\\d{1,3})=#([0-9A-Fa-f]{6})$"));
        const auto m = re.match(s.value.trimmed());
        int index = 0;
        if (!m.hasMatch() || !toInt(m.captured(1), 0, 255, index))
            return bad(QStringLiteral("--replace"), "takes I=#RRGGBB with I from 0 to 255");
        const uint32_t rgb = m.captured(2).toUInt(nullptr, 16);
        palette[size_t(index)] = PaletteEntry::fromRgb(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
        return {};
    }
    if (o == QLatin1String("range")) {
        int from = 0, to = 0, count = 0;
        if (!triple(s.value, from, to, count) || count != clampRangeCount(from, to, count))
            return bad(QStringLiteral("--range"),
                       "takes FROM:TO:COUNT, FROM and TO from 0 to 255, COUNT at most 256 - the larger of them");
        if (!source) return bad(QStringLiteral("--range"), "needs --source FILE");
        replaceRange(palette, *source, from, to, count);
        return {};
    }
    if (o == QLatin1String("move")) {
        int from = 0, to = 0, count = 0;
        if (!triple(s.value, from, to, count) || count != clampMoveCount(false, from, to, count))
            return bad(QStringLiteral("--move"),
                       "takes FROM:TO:COUNT, FROM and TO from 0 to 255, COUNT at most 255 - the larger of them (or 1)");
        moveColors(palette, from, to, count);
        return {};
    }
    if (o == QLatin1String("shift-left") || o == QLatin1String("shift-right")) {
        int n = 0;
        if (!toInt(s.value, 0, 255, n)) return bad(QStringLiteral("--") + o, "takes a count from 0 to 255");
        if (o == QLatin1String("shift-left")) shiftLeft(palette, n);
        else shiftRight(palette, n);
        return {};
    }
    static const std::map<QString, ColourAdjustment> adjustments = {
        {QStringLiteral("brightness"), ColourAdjustment::Brightness},
        {QStringLiteral("contrast"), ColourAdjustment::Contrast},
        {QStringLiteral("hue"), ColourAdjustment::Hue},
        {QStringLiteral("saturation"), ColourAdjustment::Saturation},
    };
    auto it = adjustments.find(o);
    if (it != adjustments.end()) {
        const int limit = adjustmentLimit(it->second);
        int amount = 0;
        if (!toInt(s.value, -limit, limit, amount))
            return bad(QStringLiteral("--") + o,
                       limit == 360 ? "takes a whole number from -360 to 360" : "takes a whole number from -1000 to 1000");
        adjustPalette(palette, it->second, amount, first, last);
    }
    return {};
}

int runRecolour(const QStringList& args)
{
    CommandOptions o(kHelp);
    QCommandLineParser& parser = o.parser();
    o.addPositional("IN", QStringLiteral("The FLC animation or palette file to read."));
    o.add("output", QStringLiteral("The file to write."), "OUT");
    o.add("source", QStringLiteral("The palette --range copies from."), "FILE");
    o.add("indices", QStringLiteral("Entries A..B for the colour adjustments."), "A-B");
    const char* const steps[][3] = {
        {"palette", "FILE", "Take all colours from FILE."},
        {"replace", "I=#RRGGBB", "Set entry I."},
        {"range", "FROM:TO:COUNT", "Copy entries from the --source palette."},
        {"move", "FROM:TO:COUNT", "Move entries; red fills their old places."},
        {"shift-left", "N", "Move every entry N places down."},
        {"shift-right", "N", "Move every entry N places up."},
        {"brightness", "V", "Brightness, -1000..1000."},
        {"contrast", "V", "Contrast, -1000..1000."},
        {"hue", "V", "Hue, -360..360 degrees."},
        {"saturation", "V", "Saturation, -1000..1000."},
    };
    for (const auto& s : steps)
        parser.addOption({QString::fromUtf8(s[0]), QString::fromUtf8(s[2]), QString::fromUtf8(s[1])});
    addBatchOptions(o);
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    const QString command = args.value(0);
    const QStringList positional = parser.positionalArguments();
    const bool batch = isBatch(o);
    if (!batch && (positional.size() != 1 || parser.value(QStringLiteral("output")).isEmpty()))
        return usageError(command, QString::fromUtf8(str::IDS_RECOLOUR_CLI_NEEDS_FILES));

    int first = 0, last = 255;
    if (parser.isSet(QStringLiteral("indices"))) {
        const QStringList ab = parser.value(QStringLiteral("indices")).split(QLatin1Char('-'));
        if (ab.size() != 2 || !toInt(ab[0], 0, 255, first) || !toInt(ab[1], 0, 255, last) || first > last)
            return usageError(command, bad(QStringLiteral("--indices"), "takes A-B with 0 <= A <= B <= 255"));
    }

    // The steps in the order given (the parser lists option names as it found them).
    static const QStringList notSteps = {QStringLiteral("output"), QStringLiteral("source"),
                                         QStringLiteral("indices"), QStringLiteral("r"),
                                         QStringLiteral("recursive"), QStringLiteral("jobs"),
                                         QStringLiteral("force")};
    std::vector<Step> order;
    std::map<QString, int> seen;
    for (const QString& name : parser.optionNames()) {
        QString key = name == QLatin1String("o") ? QStringLiteral("output") : name;
        if (key == QLatin1String("r")) key = QStringLiteral("recursive");
        const QStringList values = parser.values(key);
        const int n = seen[key]++;
        if (notSteps.contains(key)) continue;
        order.push_back({key, values.value(n)});
    }
    const bool sourceGiven = parser.isSet(QStringLiteral("source"));
    const std::string sourcePath = absoluteLocalPath(parser.value(QStringLiteral("source")));

    auto recolourOne = [&](const std::string& input, const std::string& output) -> int {
        const std::string ext = fileExtension(input);
        const bool isFlc = equalsNoCase(ext, "flc");
        if (!isFlc && !equalsNoCase(ext, "act") && !equalsNoCase(ext, "pal"))
            return refuse(formatMessage(str::IDS_RECOLOUR_CLI_BAD_INPUT, {input}));
        const std::string outExt = fileExtension(output);
        if (!isFlc && !equalsNoCase(outExt, "act") && !equalsNoCase(outExt, "pal"))
            return usageError(command, QString::fromUtf8(str::IDS_RECOLOUR_CLI_BAD_OUTPUT));

        try {
            std::optional<Palette256> source;
            if (sourceGiven) {
                Palette256 read;
                const Status st = GetPalette(sourcePath, read);
                if (!st)
                    return refuse(st.message.empty() ? std::string(str::IDS_CANNOT_GET_PALETTE_FROM_FILE) : st.message);
                source = read;
            }

            Palette256 palette;
            Bytes original;
            FlcLoadResult loaded;
            bool riffInput = false;
            if (isFlc) {
                const Status check = checkFlcFile(input);
                if (!check) return refuse(check.message);
                if (!readWholeFile(input, original, kMaxFlcFileSize))
                    return refuse(formatMessage(str::IDS_INVALID_FORMAT, {input}));
                const Status load = loadFlcAnimation(input, original.data(), original.size(), loaded);
                if (!load) return refuse(load.message);
                if (loaded.store.paletteChunkPositions.empty())
                    return refuse(formatMessage(str::IDS_RECOLOUR_CLI_NO_PALETTE_CHUNK, {input}));
                palette = loaded.store.basePalette;
            } else {
                if (!ImportPaletteFromFile(input, palette))
                    return refuse(formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {input}));
                Bytes head;
                riffInput = readWholeFile(input, head) && head.size() >= 4 &&
                            std::equal(head.begin(), head.begin() + 4, "RIFF");
            }

            // Every step is checked before anything is written: a bad one leaves OUT alone.
            for (const Step& s : order) {
                const QString why = applyStep(s, palette, source ? &*source : nullptr, first, last);
                if (!why.isEmpty()) {
                    if (s.option == QLatin1String("palette")) return refuse(toLocal(why));
                    return usageError(command, why);
                }
            }

            Bytes out;
            if (isFlc) {
                // The header as the file holds it: only palette bytes may change.
                const FlcHeader header = FlcHeader::parse(original.data());
                if (patchFlcBytes(original.data(), original.size(), header, palette,
                                  loaded.store.paletteChunkPositions, out) != FlcPatchError::None)
                    return refuse(formatMessage(str::IDS_INVALID_FORMAT, {input}));
            } else {
                const int type = equalsNoCase(outExt, "act") ? kPaletteAct : (riffInput ? kPaletteRiff : kPaletteJasc);
                if (!serializePalette(palette, type, out))
                    return refuse(formatMessage(str::IDS_CANNOT_EXPORT_PALETTE, {output}));
            }
            if (!writeFileAtomic(output, out)) return refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_WRITE, {output}));
            return kExitOk;
        } catch (const std::exception&) {  // std::bad_alloc included
            return refuse(formatMessage(str::IDS_UNKNOWN_ERROR, {"recolour"}));
        }
    };
    if (!batch)
        return recolourOne(absoluteLocalPath(positional.first()),
                           absoluteLocalPath(parser.value(QStringLiteral("output"))));

    // A batch checks its steps once, on a palette of its own, before converting anything,
    // so that a bad step is one usage error rather than one per input.
    {
        std::optional<Palette256> source;
        if (sourceGiven) {
            Palette256 read;
            const Status st = GetPalette(sourcePath, read);
            if (!st) return refuse(st.message.empty() ? std::string(str::IDS_CANNOT_GET_PALETTE_FROM_FILE) : st.message);
            source = read;
        }
        Palette256 trial{};
        for (const Step& s : order) {
            const QString why = applyStep(s, trial, source ? &*source : nullptr, first, last);
            if (!why.isEmpty())
                return s.option == QLatin1String("palette") ? refuse(toLocal(why)) : usageError(command, why);
        }
    }
    BatchJob job;
    job.inputExtensions = {"flc", "act", "pal"};
    job.outputExtensions = job.inputExtensions;
    job.singleUsage = str::IDS_RECOLOUR_CLI_NEEDS_FILES;
    job.outputs = [](const std::string& stem, const std::string&, const std::string& input) {
        return std::vector<std::string>{stem + "." + fileExtension(input)};
    };
    job.convert = recolourOne;
    return runBatch(o, job);
}

const CommandRegistrar reg("recolour",
                           "recolour IN -o OUT [--palette FILE] [--replace I=#RRGGBB]... [--range FROM:TO:COUNT "
                           "--source FILE] [--move FROM:TO:COUNT | --shift-left N | --shift-right N] [--brightness V] "
                           "[--contrast V] [--hue V] [--saturation V] [--indices A-B]",
                           "Recolour the palette of an FLC animation or a palette file", &runRecolour);

}  // namespace
}  // namespace qv::cli
