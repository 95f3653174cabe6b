#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds everything, runs every test and builds the Debian
# package (scripts/package.sh checks its contents); then runs the core's
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan), and each
# fuzz target for a short while when clang is installed (fuzz/run.sh).
#   scripts/test.sh
# Environment: QUORVANE_SKIP_SANITIZE=1 skips the sanitizer build, QUORVANE_SKIP_FUZZ=1 the
# fuzz run; QUORVANE_FUZZ_SECONDS sets the time per fuzz target (default 20).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"
"$here/scripts/setup.sh" build
(cd "$here/build" && ctest --output-on-failure -j "$jobs" --timeout 600)
# The Debian package, from the same build folder, and its file list.
"$here/scripts/package.sh" build

if [ "${QUORVANE_SKIP_SANITIZE:-0}" != 1 ]; then
  echo "test: the core's tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  QUORVANE_NO_INSTALL=1 QUORVANE_CMAKE_ARGS="-DQUORVANE_CORE_ONLY=ON -DQUORVANE_SANITIZE=ON -DQUORVANE_BENCH=OFF" \
    "$here/scripts/setup.sh" build-asan
  (cd "$here/build-asan" &&
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --output-on-failure -j "$jobs" --timeout 600)
fi

if [ "${QUORVANE_SKIP_FUZZ:-0}" != 1 ]; then
  if command -v clang++ >/dev/null && command -v clang >/dev/null; then
    "$here/fuzz/run.sh" "${QUORVANE_FUZZ_SECONDS:-20}"
  else
    echo "test: clang is not installed, the fuzz targets are not run"
  fi
fi
