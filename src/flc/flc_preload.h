// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Decoding animations ahead of their windows. Opening many files at once (a unit's INI,
// a folder) starts an FlcPreloader over all of them: worker threads read and decode the
// files while the windows are made one by one on the user-interface thread, and each
// FLC view takes its file's result (waiting for it if it is not ready yet) instead of
// decoding the file itself. Only decoding runs on the workers; everything the user
// sees stays on the user-interface thread.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "core/flc_reader.h"

namespace qv {

class FlcPreloader {
public:
    // Starts decoding every ".flc" path of `paths` (other paths are left alone).
    explicit FlcPreloader(const QStringList& paths);
    // Stops the workers after the file each is decoding; results not taken are dropped.
    ~FlcPreloader();
    FlcPreloader(const FlcPreloader&) = delete;
    FlcPreloader& operator=(const FlcPreloader&) = delete;

    struct Job;

private:
    void work();
    std::vector<std::shared_ptr<Job>> jobs_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> cancelled_{false};
    std::vector<std::thread> workers_;
};

// The decoded animation of `path` when a preloader holds it (waiting for its worker when
// needed): true with `status` and `out` filled; false when no preloader has the file or
// its decoding threw (out of memory), so the caller decodes it and reports.
bool takePreloadedAnimation(const QString& path, Status& status, FlcLoadResult& out);

}  // namespace qv
