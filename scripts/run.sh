#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds, and opens the bundled sample unit animation.
#   scripts/run.sh
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" build
cd "$here/build"
sample="$here/build/samples/sample_unit.flc"
if [ -x ./src/gui/quorvane ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec ./src/gui/quorvane "$sample"
fi
[ -x ./src/gui/quorvane ] && echo "run: no display available; showing the sample through the command-line tool instead."
exec ./src/cli/quorvane-cli info "$sample"
