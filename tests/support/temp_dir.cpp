// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#define qv_getpid _getpid
#else
#include <unistd.h>
#define qv_getpid ::getpid
#endif

namespace qv::test {

std::filesystem::path scratchPath(const std::string& prefix)
{
    std::string name = prefix + "_" + std::to_string(qv_getpid());
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string("_") + info->test_suite_name() + "_" + info->name();
    return std::filesystem::temp_directory_path() / name;
}

}  // namespace qv::test
