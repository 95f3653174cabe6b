// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A scratch folder for one test: named after the prefix, the process and the running
// test, so tests run in parallel (and two test runs on one machine) never share one.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#define qv_getpid _getpid
#else
#include <unistd.h>
#define qv_getpid ::getpid
#endif

namespace qv::test {

// The folder's path (not created): <temp>/<prefix>_<pid>_<test name>.
inline std::filesystem::path scratchPath(const std::string& prefix)
{
    std::string name = prefix + "_" + std::to_string(qv_getpid());
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string("_") + info->test_suite_name() + "_" + info->name();
    return std::filesystem::temp_directory_path() / name;
}

// A test fixture with an empty scratch folder of its own, removed after the test.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = scratchPath("qv");
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

}  // namespace qv::test
