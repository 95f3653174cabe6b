#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Start-up to the first painted frame of the sample unit, with the real program under Xvfb.
#   bench/startup.sh [BUILD_DIR] [RUNS]        defaults: build, 10
# Prints, for each run, the program's own time from start to its first painted animation
# frame and the whole command's wall time (start, paint, quit), then the medians.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
runs="${2:-10}"
program="$build/src/gui/quorvane"
sample="$build/samples/sample_unit.flc"
[ -x "$program" ] || { echo "startup: $program is not built" >&2; exit 2; }
[ -f "$sample" ] || { echo "startup: $sample is missing" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "startup: Xvfb is not installed" >&2; exit 2; }

scratch="$(mktemp -d)"
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

inproc=()
wall=()
for i in $(seq 1 "$runs"); do
  start=$(date +%s%N)
  out=$(DISPLAY="$display" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
        XDG_RUNTIME_DIR="$scratch" QUORVANE_QUIT_AFTER_FIRST_FRAME=1 "$program" "$sample" 2>&1 >/dev/null | \
        sed -n 's/^first frame painted after \([0-9]*\) ms$/\1/p')
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  echo "run $i: first frame after ${out:-?} ms in the program, ${ms} ms for the whole command"
  [ -n "$out" ] && inproc+=("$out")
  wall+=("$ms")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR ? a[int((NR+1)/2)] : "?")}'; }
echo "median: first frame after $(median "${inproc[@]}") ms; whole command $(median "${wall[@]}") ms"
