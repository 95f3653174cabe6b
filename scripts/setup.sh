#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian packages that building and testing need (only those that are
# missing), then configures and builds the project.
#   scripts/setup.sh [BUILD_DIR]        default BUILD_DIR: build
# Environment: QUORVANE_NO_INSTALL=1 skips the package step; QUORVANE_EXTRA_PKGS adds packages.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build}"
case "$build" in /*) ;; *) build="$here/$build" ;; esac

pkgs=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-image-formats-plugins
      gstreamer1.0-plugins-base gstreamer1.0-plugins-good
      libqt6multimedia6 libpulse0  # sound preview at run time: Qt Multimedia and its PulseAudio output
      libimagequant-dev libgl-dev
      clang libclang-rt-14-dev libavcodec-dev libavutil-dev
      xvfb xauth xdotool xdg-utils gcovr libgif-dev libwebp-dev
      imagemagick    # the end-to-end test's screenshots (import, stream)
      help2man dpkg-dev file appstream)  # manual pages; the Debian package and its checks
# shellcheck disable=SC2206
pkgs+=(${QUORVANE_EXTRA_PKGS:-})

if [ "${QUORVANE_NO_INSTALL:-0}" != 1 ] && command -v dpkg-query >/dev/null; then
  missing=()
  for p in "${pkgs[@]}"; do
    st=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$st" in *"install ok installed"*) ;; *) missing+=("$p") ;; esac
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" ${QUORVANE_CMAKE_ARGS:-}
cmake --build "$build" -j "$jobs"
