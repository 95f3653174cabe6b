#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Measures line and branch coverage of the core and of quorvane-cli by their tests (the
# core's GoogleTest program and the CLI tests, which run the real quorvane-cli): an
# instrumented build without the desktop program in build-cov/, then gcovr.
#   scripts/coverage.sh            summary on standard output
#   scripts/coverage.sh --html     also build-cov/coverage/index.html
# Needs gcovr (Debian package gcovr; scripts/setup.sh installs it).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-cov"
# Compiler caches that rewrite paths would hide the sources from gcov.
export CCACHE_DISABLE=1
jobs="$(nproc 2>/dev/null || echo 2)"

QUORVANE_CMAKE_ARGS="-DQUORVANE_GUI=OFF -DQUORVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_C_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  ${QUORVANE_CMAKE_ARGS:-}" "$here/scripts/setup.sh" build-cov
find "$build" -name '*.gcda' -delete
(cd "$build" && ctest -j "$jobs" --timeout 600 --output-on-failure)

common=(--root "$here" --object-directory "$build" --filter "$here/src/core/" --filter "$here/src/cli/"
        --exclude-unreachable-branches --exclude-throw-branches)
echo "coverage: lines"
gcovr "${common[@]}" --txt - | tail -n 4
echo "coverage: branches"
gcovr "${common[@]}" --branches --txt - | tail -n 4
echo "coverage: by folder"
for part in core cli; do
  line=$(gcovr --root "$here" --object-directory "$build" --filter "$here/src/$part/" \
         --exclude-unreachable-branches --exclude-throw-branches --print-summary -o /dev/null)
  echo "src/$part: $(echo "$line" | tr '\n' ' ')"
done
if [ "${1:-}" = --html ]; then
  mkdir -p "$build/coverage"
  gcovr "${common[@]}" --html-details "$build/coverage/index.html"
  echo "coverage: $build/coverage/index.html"
fi
