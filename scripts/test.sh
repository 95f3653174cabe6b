#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" build
cd "$here/build"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" --timeout 600
