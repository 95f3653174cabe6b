#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Measures line and branch coverage of the core and of quorvane-cli by their tests (the
# core's GoogleTest program and the CLI tests, which run the real quorvane-cli): an
# instrumented build without the desktop program in build-cov/, then gcovr.
#   scripts/coverage.sh            summary on standard output, per-file tables in build-cov/coverage/
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

# CMake's own compiler probes leave coverage notes too: not searched, so gcov does not warn.
common=(--root "$here" --object-directory "$build" --filter "$here/src/core/" --filter "$here/src/cli/"
        --exclude-directories "$build/CMakeFiles" --exclude-unreachable-branches --exclude-throw-branches)
# The figures of every file, kept out of git with the rest of build-cov/.
mkdir -p "$build/coverage"
gcovr "${common[@]}" --txt "$build/coverage/lines.txt"
gcovr "${common[@]}" --branches --txt "$build/coverage/branches.txt"
echo "coverage: lines (every file: $build/coverage/lines.txt)"
tail -n 3 "$build/coverage/lines.txt"
echo "coverage: branches (every file: $build/coverage/branches.txt)"
tail -n 3 "$build/coverage/branches.txt"
echo "coverage: by folder"
for part in core cli; do
  for kind in lines branches; do
    awk -v part="src/$part/" -v kind="$kind" 'index($1, part) == 1 { n += $2; c += $3 }
      END { if (n) printf "src/%s %s: %d of %d (%.1f %%)\n", substr(part, 5, length(part) - 5), kind, c, n, 100 * c / n }' \
      "$build/coverage/$kind.txt"
  done
done
if [ "${1:-}" = --html ]; then
  gcovr "${common[@]}" --html-details "$build/coverage/index.html"
  echo "coverage: $build/coverage/index.html"
fi
