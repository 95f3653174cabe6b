#!/bin/sh
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# run_smoke.sh CHECKER PROGRAM SAMPLE SCREENSHOT
# Runs the screenshot checker inside a private X server; 77 (skipped) without xvfb-run.
# The checker reports a missing program or sample itself.
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is not installed: smoke test skipped"
    exit 77
fi
unset QT_QPA_PLATFORM
exec xvfb-run -a -s "-screen 0 1024x768x24" "$1" "$2" "$3" "$4"
