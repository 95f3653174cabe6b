// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Outcome of a core operation: success, or failure with the message a user should see
// (already formatted from the string table, "\r\n" line breaks kept). An empty message
// on failure means "fail without a message", as some operations do.
#pragma once

#include <string>
#include <utility>

namespace qv {

struct Status {
    bool ok = true;
    std::string message;

    static Status success() { return {}; }
    static Status failure(std::string msg = {}) { return Status{false, std::move(msg)}; }
    explicit operator bool() const { return ok; }
};

}  // namespace qv
