#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the libFuzzer targets with clang (core only, address and undefined-behaviour
# sanitizers) and runs each of them for a while, one after the other.
#   fuzz/run.sh [SECONDS] [TARGET...]     default: 30 seconds for every fuzz/fuzz_*.cpp
# Seeds come from the seed writer (make_seeds) into BUILD/seeds/TARGET; the growing corpus
# stays in fuzz/corpus-run/TARGET and crashing inputs land in fuzz/artifacts/ (both ignored
# by git). Each run's output is in BUILD/logs/TARGET.log.
# Environment: QUORVANE_FUZZ_BUILD (default build-fuzz), QUORVANE_FUZZ_KEEP_LOGS=1 to print
# every log in full.
# Exit status: 0 when no target found anything, 1 otherwise.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
shift || true
build="${QUORVANE_FUZZ_BUILD:-build-fuzz}"
case "$build" in /*) ;; *) build="$here/$build" ;; esac

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "fuzz: clang is not installed (Debian packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/fuzz/fuzz_*.cpp; do
    [ -e "$f" ] || continue
    n="$(basename "$f" .cpp)"
    targets+=("$n")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz targets"
  exit 0
fi

mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVANE_FUZZ=ON -DQUORVANE_CORE_ONLY=ON -DQUORVANE_BENCH=OFF >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target fuzzers -j "$(nproc 2>/dev/null || echo 2)"

seeds="$build/seeds"
rm -rf "$seeds"
"$build/fuzz/make_seeds" "$seeds"

mkdir -p "$build/logs" "$here/fuzz/artifacts"
failed=()
for t in "${targets[@]}"; do
  bin="$build/fuzz/$t"
  [ -x "$bin" ] || { echo "fuzz: $t was not built" >&2; failed+=("$t"); continue; }
  corpus="$here/fuzz/corpus-run/$t"
  mkdir -p "$corpus" "$seeds/$t"
  opts=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1
        -artifact_prefix="$here/fuzz/artifacts/$t-")
  [ -f "$here/fuzz/$t.dict" ] && opts+=(-dict="$here/fuzz/$t.dict")
  # Whole FLC files need room: a key frame of a small unit is several kilobytes.
  case "$t" in
    fuzz_flc*) opts+=(-max_len=65536) ;;
    *) opts+=(-max_len=16384) ;;
  esac
  log="$build/logs/$t.log"
  echo "fuzz: $t for ${seconds}s"
  if ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1" "$bin" "${opts[@]}" "$corpus" "$seeds/$t" >"$log" 2>&1; then
    execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')"
    cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1 || true)"
    echo "fuzz: $t ok, $execs runs, $cov, corpus $(find "$corpus" -type f | wc -l) files"
    [ "${QUORVANE_FUZZ_KEEP_LOGS:-0}" = 1 ] && cat "$log"
  else
    echo "fuzz: $t FOUND A PROBLEM (log: $log)" >&2
    grep -E -A40 'ERROR: |runtime error|==ERROR|SUMMARY' "$log" | head -80 >&2 || tail -60 "$log" >&2
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: problems in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} targets, no findings"
