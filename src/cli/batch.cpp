// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <new>
#include <set>
#include <system_error>
#include <thread>

#ifdef Q_OS_WIN
#include <io.h>
#define QV_ISATTY _isatty
#define QV_FILENO _fileno
#else
#include <unistd.h>
#define QV_ISATTY isatty
#define QV_FILENO fileno
#endif

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "core/strings.h"
#include "platform/imaging/builtin_data.h"

namespace qv::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxJobs = 256;

struct Item {
    std::string input;
    std::string stem;  // the output path without extension
    std::vector<std::string> outputs;
    std::string inputId;                 // identity() of the input
    std::vector<std::string> outputIds;  // and of each output, worked out once
    std::string refusal;  // why it is not converted, when it is not
};

bool takesExtension(const BatchJob& job, const fs::path& file)
{
    const std::string ext = fileExtension(file.string());
    return std::any_of(job.inputExtensions.begin(), job.inputExtensions.end(),
                       [&](const std::string& e) { return equalsNoCase(e, ext); });
}

fs::path withoutExtension(const fs::path& p)
{
    return p.parent_path() / p.stem();
}

// The files of `folder` the command takes, below it when `recursive`, sorted by path;
// folders that cannot be read are reported in `unreadable`.
void collectFolder(const BatchJob& job, const fs::path& folder, bool recursive, std::vector<fs::path>& files,
                   std::vector<std::string>& unreadable)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    if (ec) {
        unreadable.push_back(folder.string());
        return;
    }
    std::vector<fs::path> own, subfolders;
    for (; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code kind;
        if (it->is_directory(kind)) {
            if (recursive) subfolders.push_back(it->path());
        } else if (takesExtension(job, it->path())) {
            own.push_back(it->path());
        }
    }
    if (ec) unreadable.push_back(folder.string());
    std::sort(own.begin(), own.end());
    files.insert(files.end(), own.begin(), own.end());
    std::sort(subfolders.begin(), subfolders.end());
    for (const fs::path& sub : subfolders) collectFolder(job, sub, recursive, files, unreadable);
}

// A path for comparing files: symbolic links and "." / ".." resolved as far as it exists.
std::string identity(const std::string& path)
{
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::path(path), ec);
    return ec ? fs::path(path).lexically_normal().string() : p.string();
}

// identity() for the many files of a batch, most of them in a few folders: each folder is
// resolved once, and a file that is not a symbolic link is its folder's identity and its
// name. (Resolving every path alone took a dozen system calls per file, all while no
// conversion can start yet.)
class Identities {
public:
    std::string of(const std::string& path)
    {
        const fs::path p(path);
        const fs::path name = p.filename();
        std::error_code ec;
        const fs::file_status st = fs::symlink_status(p, ec);
        const bool plain = st.type() == fs::file_type::not_found || (!ec && !fs::is_symlink(st));
        if (!plain || name.empty() || name == "." || name == ".." || !p.has_parent_path()) return identity(path);
        auto folder = folders_.find(p.parent_path().string());
        if (folder == folders_.end())
            folder = folders_.emplace(p.parent_path().string(), identity(p.parent_path().string())).first;
        return (fs::path(folder->second) / name).string();
    }

private:
    std::map<std::string, std::string> folders_;
};

std::string formatSeconds(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", s);
    return text;
}

// Progress on standard error: a bar redrawn in place on a terminal, a line per input
// otherwise. Only the main thread prints.
class Progress {
public:
    Progress(int total) : total_(total), terminal_(QV_ISATTY(QV_FILENO(stderr)) != 0)
    {
        start_ = std::chrono::steady_clock::now();
    }
    double elapsed() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }
    // Prints what an input reported, then the progress.
    void finished(const std::string& input, bool converted, const std::string& report)
    {
        ++done_;
        clearBar();
        if (!report.empty()) std::fputs(report.c_str(), stderr);
        if (terminal_)
            drawBar();
        else
            std::fprintf(stderr, "%s\n",
                         formatMessage(converted ? str::IDS_BATCH_DONE_LINE : str::IDS_BATCH_REFUSED_LINE,
                                       {done_, total_, input})
                             .c_str());
        std::fflush(stderr);
    }
    void tick()
    {
        if (!terminal_) return;
        clearBar();
        drawBar();
        std::fflush(stderr);
    }
    void end()
    {
        clearBar();
        std::fflush(stderr);
    }

private:
    void clearBar()
    {
        if (terminal_ && drawn_) std::fputs("\r\033[K", stderr);
        drawn_ = false;
    }
    void drawBar()
    {
        constexpr int kWidth = 30;
        const int filled = total_ ? done_ * kWidth / total_ : kWidth;
        const std::string bar = std::string(size_t(filled), '#') + std::string(size_t(kWidth - filled), '-');
        const double seconds = elapsed();
        const double rate = seconds > 0 ? done_ / seconds : 0;
        std::string left = "?";
        if (rate > 0) {
            const long eta = long((total_ - done_) / rate + 0.5);
            char text[32];
            std::snprintf(text, sizeof text, "%ld:%02ld", eta / 60, eta % 60);
            left = text;
        }
        std::fputs(formatMessage(str::IDS_BATCH_PROGRESS_BAR, {bar, done_, total_, formatSeconds(rate), left}).c_str(),
                   stderr);
        drawn_ = true;
    }

    int total_;
    int done_ = 0;
    bool terminal_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
};

// What became of one input, for the main thread to print.
struct Outcome {
    size_t index;
    bool converted;
    std::string report;
};

// Moves the outputs of converted inputs into place, on a thread of its own beside the
// --jobs converting threads, which only write temporary files and go on with their next
// input. Outputs that replace an existing file (with --force) are first flushed to disk,
// everything finished so far at once, where flushes that overlap share the file system's
// journal commits, so that a crash never costs the old file; new outputs are left for the
// system to write back, as any other program's new files, instead of making the batch wait
// for the disk. An input counts as converted only once its outputs are in place.
class Committer {
public:
    struct Finished {
        Outcome outcome;
        std::vector<StagedUnit> units;
    };
    Committer(std::string commandName, std::function<void(Outcome&&)> post)
        : commandName_(std::move(commandName)), post_(std::move(post)), thread_([this] { run(); })
    {
    }
    ~Committer()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }
    void add(Finished&& f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(f));
        cv_.notify_one();
    }

private:
    void run()
    {
        for (;;) {
            std::vector<Finished> group;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                cv_.wait(lock, [&] { return closing_ || !queue_.empty(); });
                if (queue_.empty()) return;
                group.swap(queue_);
            }
            commit(group);
        }
    }
    void commit(std::vector<Finished>& group)
    {
        std::vector<StagedUnit> units;
        std::vector<size_t> owners;
        for (size_t g = 0; g < group.size(); ++g)
            for (StagedUnit& u : group[g].units) {
                units.push_back(std::move(u));
                owners.push_back(g);
            }
        try {
            const std::vector<size_t> failedAt = commitStagedUnits(units);
            for (size_t k = 0; k < units.size(); ++k) {
                if (failedAt[k] >= units[k].files.size()) continue;
                Outcome& o = group[owners[k]].outcome;
                MessageCapture capture(o.report);
                refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_WRITE, {units[k].files[failedAt[k]].target}));
                o.converted = false;
            }
        } catch (...) {
            // Out of memory, most likely: nothing of this group is placed.
            for (StagedUnit& u : units) discardStagedUnit(u);
            for (Finished& f : group) {
                MessageCapture capture(f.outcome.report);
                refuse(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {commandName_}));
                f.outcome.converted = false;
            }
        }
        for (Finished& f : group) post_(std::move(f.outcome));
    }

    std::string commandName_;
    std::function<void(Outcome&&)> post_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Finished> queue_;
    bool closing_ = false;
    std::thread thread_;  // last: started once everything it uses is made
};

}  // namespace

void warmUpBuiltinData(const CivPaletteSources& sources, std::initializer_list<int> civs, BackgroundChoice background)
{
    std::string path;
    for (int civ : civs)
        if (civ > 0) locateCivPalette(civ, sources, path);
    QString picture;
    if (background == BackgroundChoice::Sea) provideBackgroundPicture(BackgroundPicture::Sea, picture);
    if (background == BackgroundChoice::Land) provideBackgroundPicture(BackgroundPicture::Land, picture);
}

void addBatchOptions(CommandOptions& o, const char* formatHelp)
{
    QCommandLineParser& p = o.parser();
    p.setApplicationDescription(
        p.applicationDescription() +
        QStringLiteral("\n\n"
                       "Several inputs, or a folder (its files of the command's type; -r descends into\n"
                       "subfolders), make a batch: each input is converted into the folder -o names,\n"
                       "below it as it was below the folder it came from, under its own name, on --jobs\n"
                       "threads at once. An output is never an input, two inputs never write one file,\n"
                       "and outputs that exist are only replaced with --force. A refused input is\n"
                       "reported and the others are still converted; the exit status is then 1."));
    p.addOption(
        QCommandLineOption({QStringLiteral("r"), QStringLiteral("recursive")},
                           QStringLiteral("With folders among the inputs: take the files of their subfolders too.")));
    o.add("jobs", QStringLiteral("Inputs converted at once (default: the number of processor cores)."), "N");
    o.add("force", QStringLiteral("Replace outputs that exist already (several inputs or a folder)."));
    if (formatHelp) o.add("format", QString::fromUtf8(formatHelp), "EXT");
}

bool isBatch(const CommandOptions& o)
{
    const QStringList inputs = o.positional();
    if (inputs.size() > 1) return true;
    std::error_code ec;
    return inputs.size() == 1 && fs::is_directory(fs::path(absoluteLocalPath(inputs.first())), ec);
}

int runBatch(const CommandOptions& o, const BatchJob& job)
{
    // Options first: nothing is converted after a usage error.
    int jobs = std::max(1, QThread::idealThreadCount());
    if (o.isSet("jobs")) {
        bool ok = false;
        jobs = o.value("jobs").toInt(&ok);
        if (!ok || jobs < 1 || jobs > kMaxJobs) return o.usage(str::IDS_BATCH_BAD_JOBS);
    }
    std::string format;
    if (!job.formats.empty()) {
        format = job.formats.front();
        if (o.isSet("format")) {
            format = toLocal(o.value("format").toLower());
            if (std::find(job.formats.begin(), job.formats.end(), format) == job.formats.end()) {
                std::string list;
                for (const std::string& f : job.formats) list += (list.empty() ? "" : ", ") + f;
                return o.usage(formatMessage(str::IDS_BATCH_BAD_FORMAT, {list}));
            }
        }
    }
    const bool outputGiven = o.isSet("output") && !o.value("output").isEmpty();
    if (!outputGiven && !job.outputBesideInput) return o.usage(str::IDS_BATCH_NEEDS_OUTPUT_FOLDER);
    const bool force = o.isSet("force");
    const bool recursive = o.isSet("recursive");

    std::error_code ec;
    fs::path outFolder;
    if (outputGiven) {
        outFolder = fs::path(o.path("output"));
        const std::string ext = fileExtension(outFolder.string());
        if (!fs::is_directory(outFolder, ec) &&
            std::any_of(job.outputExtensions.begin(), job.outputExtensions.end(),
                        [&](const std::string& e) { return equalsNoCase(e, ext); }))
            return o.usage(job.singleUsage);
        if (fs::exists(outFolder, ec) && !fs::is_directory(outFolder, ec))
            return refuse(formatMessage(str::IDS_BATCH_TARGET_IS_FILE, {outFolder.string()}));
    }

    // The inputs: files as given, folders expanded. Each output mirrors where its input
    // sits below the folder it was found in.
    std::vector<Item> items;
    std::vector<std::string> notes;  // folders that could not be read or hold nothing
    int folderProblems = 0;
    std::set<std::string> seen;
    Identities identities;
    auto addInput = [&](const fs::path& file, const fs::path& relative) {
        std::string id = identities.of(file.string());
        if (!seen.insert(id).second) return;  // named twice
        Item item;
        item.input = file.string();
        item.inputId = std::move(id);
        item.stem = withoutExtension(outputGiven ? outFolder / relative : file).string();
        items.push_back(std::move(item));
    };
    for (const QString& arg : o.positional()) {
        const fs::path given(absoluteLocalPath(arg));
        if (!fs::is_directory(given, ec)) {
            addInput(given, given.filename());
            continue;
        }
        std::vector<fs::path> files;
        std::vector<std::string> unreadable;
        collectFolder(job, given, recursive, files, unreadable);
        for (const std::string& u : unreadable) notes.push_back(formatMessage(str::IDS_BATCH_CANNOT_READ_FOLDER, {u}));
        folderProblems += int(unreadable.size());
        if (files.empty() && unreadable.empty())
            notes.push_back(formatMessage(str::IDS_BATCH_EMPTY_FOLDER, {given.string()}));
        for (const fs::path& f : files) addInput(f, f.lexically_relative(given));
    }
    for (const std::string& n : notes) refuse(n);

    // Each input's outputs.
    std::set<std::string> inputIds;
    for (const Item& item : items) inputIds.insert(item.inputId);
    std::map<std::string, std::vector<size_t>> writers;
    for (size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        if (!fs::exists(fs::path(item.input), ec)) {
            item.refusal = formatMessage(str::IDS_FILE_NOT_FOUND, {item.input});
            continue;
        }
        item.outputs = job.outputs(item.stem, format, item.input);
        for (const std::string& out : item.outputs) {
            item.outputIds.push_back(identities.of(out));
            writers[item.outputIds.back()].push_back(i);
        }
    }

    // The output folders are made here, before any worker starts, so that no worker
    // removes a folder another one writes into; those still empty at the end are removed.
    // They are made before the outputs are looked for, so that each output's name is
    // already known absent when a worker looks it up: a first lookup of a name in a folder
    // waits while another thread creates a file there.
    std::vector<fs::path> madeFolders;
    std::map<std::string, bool> folderReady;
    for (Item& item : items) {
        if (!item.refusal.empty() || item.outputs.empty()) continue;
        const fs::path folder = fs::path(item.outputs.front()).parent_path();
        auto known = folderReady.find(folder.string());
        if (known == folderReady.end()) {
            std::vector<fs::path> missing;
            for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
                missing.push_back(p);
                if (p == p.parent_path()) break;
            }
            bool ok = true;
            for (auto it = missing.rbegin(); ok && it != missing.rend(); ++it) {
                ok = fs::create_directory(*it, ec) && !ec;
                if (ok) madeFolders.push_back(*it);
            }
            known = folderReady.emplace(folder.string(), ok && fs::is_directory(folder, ec)).first;
        }
        if (!known->second) item.refusal = formatMessage(str::IDS_CLI_FLC_CANNOT_MAKE_FOLDER, {folder.string()});
    }

    // Outputs that cannot be used: an input's file, another input's output, or (without
    // --force) a file already there.
    for (size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        if (!item.refusal.empty()) continue;
        for (size_t k = 0; k < item.outputs.size(); ++k) {
            const std::string& out = item.outputs[k];
            const std::vector<size_t>& w = writers[item.outputIds[k]];
            if (inputIds.count(item.outputIds[k]))
                item.refusal = formatMessage(str::IDS_BATCH_OUTPUT_IS_INPUT, {item.input, out});
            else if (w.size() > 1)
                item.refusal =
                    formatMessage(str::IDS_BATCH_SAME_OUTPUT, {item.input, items[w[0] == i ? w[1] : w[0]].input, out});
            else if (!force && fs::exists(fs::path(out), ec))
                item.refusal = formatMessage(str::IDS_BATCH_OUTPUT_EXISTS, {item.input, out});
            if (!item.refusal.empty()) break;
        }
    }

    // Convert on the worker threads, commit the outputs on the committing thread; the main
    // thread prints what they report.
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<Outcome> outcomes;
    const std::string commandName = "quorvane-cli " + toLocal(o.command());
    Committer committer(commandName, [&](Outcome&& outcome) {
        std::lock_guard<std::mutex> lock(mutex);
        outcomes.push_back(std::move(outcome));
        cv.notify_one();
    });
    QThreadPool pool;
    pool.setMaxThreadCount(jobs);
    Progress progress(int(items.size()));
    // The inputs to convert, in order. While one is converted, the input a few places
    // further on is already being read from disk, so that a thread seldom waits for it.
    std::vector<size_t> queue;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].refusal.empty()) queue.push_back(i);
    const size_t readAhead = 2 * size_t(jobs);
    for (size_t k = 0; k < std::min(readAhead, queue.size()); ++k) prefetchFile(items[queue[k]].input);
    size_t pending = queue.size();
    for (size_t k = 0; k < queue.size(); ++k) {
        const size_t i = queue[k];
        pool.start([&, i, k] {
            if (k + readAhead < queue.size()) prefetchFile(items[queue[k + readAhead]].input);
            Committer::Finished finished{{i, false, {}}, {}};
            {
                MessageCapture capture(finished.outcome.report);
                try {
                    // The outputs are only written to temporary files here.
                    DeferredCommitScope deferred(
                        items[i].outputs, [&](StagedUnit&& unit) { finished.units.push_back(std::move(unit)); },
                        /*flushNewFiles=*/false);
                    finished.outcome.converted = job.convert(items[i].input, items[i].outputs.front()) == kExitOk;
                } catch (const std::bad_alloc&) {
                    refuse(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {commandName}));
                } catch (...) {
                    refuse(formatMessage(str::IDS_UNKNOWN_ERROR, {commandName}));
                }
            }
            // Whatever was staged is committed, as it would have been written without a batch.
            committer.add(std::move(finished));
        });
    }
    std::vector<bool> converted(items.size(), false);
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].refusal.empty())
            progress.finished(items[i].input, false, toPlainLineBreaks(items[i].refusal) + "\n");
    while (pending > 0) {
        std::deque<Outcome> ready;
        {
            std::unique_lock<std::mutex> lock(mutex);
            cv.wait_for(lock, std::chrono::milliseconds(200), [&] { return !outcomes.empty(); });
            ready.swap(outcomes);
        }
        if (ready.empty()) progress.tick();
        for (const Outcome& r : ready) {
            --pending;
            converted[r.index] = r.converted;
            progress.finished(items[r.index].input, r.converted, r.report);
        }
    }
    pool.waitForDone();
    progress.end();
    for (auto it = madeFolders.rbegin(); it != madeFolders.rend(); ++it) fs::remove(*it, ec);  // only when empty

    // The summary.
    const int total = int(items.size());
    const int done = int(std::count(converted.begin(), converted.end(), true));
    const double seconds = progress.elapsed();
    std::printf("%s\n", formatMessage(str::IDS_BATCH_SUMMARY, {done, total, formatSeconds(seconds),
                                                               formatSeconds(seconds > 0 ? done / seconds : 0)})
                            .c_str());
    if (done < total) {
        std::printf("%s\n", formatMessage(str::IDS_BATCH_SUMMARY_REFUSED, {total - done}).c_str());
        for (size_t i = 0; i < items.size(); ++i)
            if (!converted[i]) std::printf("  %s\n", items[i].input.c_str());
    }
    std::fflush(stdout);
    return done == total && folderProblems == 0 ? kExitOk : kExitRefused;
}

}  // namespace qv::cli
