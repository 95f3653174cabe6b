#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package from a build folder that scripts/setup.sh has built (cpack
# compiles nothing when the build is up to date) and checks that the package holds every
# file it must, that dpkg-shlibdeps filled in its dependencies, and that the AppStream
# metainfo is valid and names the package's version.
#   scripts/package.sh [BUILD_DIR]      default BUILD_DIR: build; the package lands in BUILD_DIR/package
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build}"
case "$build" in /*) ;; *) build="$here/$build" ;; esac
fail() { echo "package: $*" >&2; exit 1; }

[ -f "$build/CPackConfig.cmake" ] || fail "$build is not a configured build folder (run scripts/setup.sh first)"
out="$build/package"
rm -rf "$out"
mkdir -p "$out"
if ! (cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1); then
  cat "$out/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
debs=("$out"/*.deb)
[ -f "${debs[0]}" ] || fail "cpack wrote no .deb file into $out"
deb="${debs[0]}"

required=(
  /usr/bin/quorvane
  /usr/bin/quorvane-cli
  /usr/share/applications/quorvane.desktop
  /usr/share/mime/packages/quorvane.xml
  /usr/share/icons/hicolor/scalable/apps/quorvane.svg
  /usr/share/icons/hicolor/scalable/mimetypes/video-x-flic.svg
  /usr/share/icons/hicolor/scalable/mimetypes/application-x-quorvane-storyboard.svg
  /usr/share/thumbnailers/quorvane.thumbnailer
  /usr/share/metainfo/org.velmora.quorvane.metainfo.xml
  /usr/share/man/man1/quorvane.1.gz
  /usr/share/man/man1/quorvane-cli.1.gz
  /usr/share/doc/quorvane/copyright
  /usr/share/doc/quorvane/changelog.gz
)
contents="$(dpkg-deb --contents "$deb" | awk '{ sub(/^\./, "", $6); print $6 }')"
missing=()
for f in "${required[@]}"; do
  grep -qxF "$f" <<<"$contents" || missing+=("$f")
done
[ ${#missing[@]} -eq 0 ] || fail "$(basename "$deb") lacks: ${missing[*]}"

depends="$(dpkg-deb --field "$deb" Depends)"
for lib in libc6 libqt6core6 libqt6widgets6; do
  grep -q "\b$lib\b" <<<"$depends" || fail "the Depends field lacks $lib (did dpkg-shlibdeps run?): $depends"
done

metainfo="$here/res/desktop/org.velmora.quorvane.metainfo.xml"
version="$(dpkg-deb --field "$deb" Version)"
newest="$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)"
[ "$newest" = "$version" ] ||
  fail "the newest release in $(basename "$metainfo") is '$newest', not the package's version $version"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$out/appstream.log" 2>&1 ||
    { cat "$out/appstream.log" >&2; fail "appstreamcli does not accept $(basename "$metainfo")"; }
else
  echo "package: appstreamcli is not installed, the metainfo is not validated"
fi
echo "package: $deb ($(wc -l <<<"$contents") entries, every required file present)"
