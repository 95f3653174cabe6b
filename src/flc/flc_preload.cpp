// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "flc/flc_preload.h"

#include <QFile>
#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/ui/utils.h"

namespace qv {

struct FlcPreloader::Job {
    QString path;
    std::string localPath;
    bool started = false;  // a worker (or the taker) has claimed it
    bool done = false;
    bool taken = false;
    bool thrown = false;  // the decoding threw (out of memory): the view decodes and reports itself
    Status status;
    FlcLoadResult result;
};

namespace {

std::mutex g_mutex;
std::condition_variable g_done;
// The jobs of every live preloader, by path (the latest preloader wins).
std::map<QString, std::shared_ptr<FlcPreloader::Job>> g_jobs;

void runJob(FlcPreloader::Job& job)
{
    Status status;
    FlcLoadResult result;
    bool thrown = false;
    try {
        status = loadFlcAnimation(job.localPath, result);
    } catch (const std::exception&) {
        // Out of memory, most likely: the view then loads the file itself and reports.
        thrown = true;
        result = FlcLoadResult{};
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    job.status = std::move(status);
    job.result = std::move(result);
    job.thrown = thrown;
    job.done = true;
    g_done.notify_all();
}

}  // namespace

FlcPreloader::FlcPreloader(const QStringList& paths)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        for (const QString& p : paths) {
            if (uGetFileExt(p).compare(QLatin1String("flc"), Qt::CaseInsensitive) != 0) continue;
            // A file named twice is decoded once; its second window decodes it again itself.
            if (std::any_of(jobs_.begin(), jobs_.end(), [&](const auto& j) { return j->path == p; })) continue;
            auto job = std::make_shared<Job>();
            job->path = p;
            job->localPath = QFile::encodeName(p).toStdString();
            jobs_.push_back(job);
            g_jobs[p] = job;
        }
    }
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t count = std::min<size_t>(jobs_.size(), cores);
    try {
        for (size_t i = 0; i < count; ++i) workers_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
        // No thread to be had: whatever is not decoded here is decoded by its view.
    }
}

FlcPreloader::~FlcPreloader()
{
    cancelled_ = true;
    for (std::thread& t : workers_) t.join();
    std::lock_guard<std::mutex> lock(g_mutex);
    for (const auto& job : jobs_) {
        auto it = g_jobs.find(job->path);
        if (it != g_jobs.end() && it->second == job) g_jobs.erase(it);
    }
}

void FlcPreloader::work()
{
    while (!cancelled_) {
        const size_t i = next_++;
        if (i >= jobs_.size()) return;
        Job& job = *jobs_[i];
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (job.started) continue;
            job.started = true;
        }
        runJob(job);
    }
}

bool takePreloadedAnimation(const QString& path, Status& status, FlcLoadResult& out)
{
    std::unique_lock<std::mutex> lock(g_mutex);
    auto it = g_jobs.find(path);
    if (it == g_jobs.end() || it->second->taken) return false;
    std::shared_ptr<FlcPreloader::Job> job = it->second;
    if (!job->started) {
        // Not reached by a worker yet: decoded here rather than waiting behind the others.
        job->started = true;
        lock.unlock();
        runJob(*job);
        lock.lock();
    }
    g_done.wait(lock, [&] { return job->done; });
    job->taken = true;
    if (job->thrown) return false;
    status = std::move(job->status);
    out = std::move(job->result);
    return true;
}

}  // namespace qv
