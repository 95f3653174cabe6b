#!/usr/bin/env bash
# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# round_trip.sh PROGRAM CLI SAMPLE OUTDIR
# The modder's round trip, typed and clicked into the real program inside an X server of its
# own: File > Open an FLC, pick a direction in the Control Bar and the sea background, Export
# to Storyboard through the wizard, Export to FLC from the storyboard's window, open the new
# FLC. Every frame of the new FLC and its palette must then equal the original's.
# Settings, temporary files and the files made live in OUTDIR (emptied first); a failure
# leaves a screenshot there. Exits 77 (skipped) where xvfb-run, xdotool or ImageMagick is missing.
# QUORVANE_E2E_WAIT: seconds any one window or file may take to appear (default 20).
set -uo pipefail

program=$1 cli=$2 sample=$3 out=$4
wait_s=${QUORVANE_E2E_WAIT:-20}

say() { echo "e2e: [${SECONDS}s] $*"; }
# The checks, then the rest of this script again inside a new X server.
if [ -z "${QUORVANE_E2E_DISPLAY:-}" ]; then
  for tool in xvfb-run xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      say "SKIPPED: $tool is not installed (Debian packages xvfb, xdotool, imagemagick)"
      exit 77
    fi
  done
  [ -e "$program" ] && [ -e "$cli" ] && [ -e "$sample" ] || { say "missing: $program, $cli or $sample"; exit 1; }
  rm -rf "$out"
  mkdir -p "$out"
  QUORVANE_E2E_DISPLAY=1 exec xvfb-run -a -f "$out/xauthority" -e "$out/xvfb.log" bash "$0" "$@"
fi

work="$out/My Units"  # a space in the path, as on many users' machines
mkdir -p "$work" "$out/home" "$out/config/Velmora" "$out/data" "$out/cache" "$out/tmp" "$out/runtime"
chmod 700 "$out/runtime"
flc="$work/walker.flc"
result="$work/walker2.flc"
cp "$sample" "$flc"
# Fresh settings: no file-type question at start-up, no preview window beside the wizard.
conf="$out/config/Velmora/Quorvane.conf"
cat >"$conf" <<'EOF'
[Options]
Check%20File%20Type=0

[Dlg%20ExpFlc]
Preview=0
EOF

app_pid=""
trap '[ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null' EXIT

fail() {
  say "FAILED: $*"
  import -window root "$out/failure.png" 2>/dev/null && say "screenshot of the screen: $out/failure.png"
  say "the program's output: $out/program.log; the files made: $(find "$work" -type f | sort)"
  exit 1
}
# Sets win to the id of a visible window whose title matches the extended regular
# expression $1, waiting up to $2 seconds; empty when none showed up.
find_window() {
  win=$(timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
}
# Like find_window with the whole wait; a failure ($2 says what was awaited) without it.
wait_window() {
  find_window "$1" "$wait_s"
  [ -n "$win" ] || fail "no window titled /$1/ appeared within $wait_s s ($2)"
}
# Gives window $1 the keyboard focus and presses the keys that follow.
keys() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool key --clearmodifiers --delay 60 "$@"
}
# Presses keys in window $1, then waits for a window titled $2 ($3 says what it is). When
# nothing showed up within half the wait and window $1 is still there, the first press went
# unseen (a loaded machine may drop it while the window is busy): press once more.
keys_until() {
  local id=$1 title=$2 what=$3
  shift 3
  keys "$id" "$@"
  find_window "$title" $((wait_s / 2))
  [ -n "$win" ] && return
  if xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$id"; then
    say "no reaction to '$*' yet, pressing again"
    keys "$id" "$@"
  fi
  wait_window "$title" "$what"
}
# Types the path $2 into the file name field of file dialog $1, which has the focus there,
# and accepts it; then waits for a window titled $3 ($4 says what it is).
type_path() {
  keys "$1" ctrl+a
  xdotool type --delay 15 "$2"
  keys_until "$1" "$3" "$4" Return
}

# ---- The program, then File > Open -------------------------------------------------------
HOME="$out/home" XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data" XDG_CACHE_HOME="$out/cache" \
  XDG_RUNTIME_DIR="$out/runtime" TMPDIR="$out/tmp" QT_QPA_PLATFORM=xcb QUORVANE_INSTANCE_NAME="e2e-$$" \
  "$program" >"$out/program.log" 2>&1 &
app_pid=$!
wait_window '^Quorvane$' "the main window"
main=$win
keys_until "$main" '^Open File$' "File > Open" alt+f o
type_path "$win" "$flc" 'walker\.flc' "the opened FLC's window"

# ---- The Control Bar: a direction; the View menu: the sea background --------------------
# Places inside the main window, as the window lays itself out with a fresh configuration:
# the Direction panel's header, and its N button once the panel is open.
eval "$(xdotool getwindowgeometry --shell "$main")"
# The pixels of the screen's 20 x 20 square around the N button, on standard output.
north_square() { import -window root -crop "20x20+$((X + 125))+$((Y + 111))" -depth 8 rgb:-; }
xdotool mousemove --window "$main" 60 85 click 1
sleep 0.5
north_square >"$out/north-before.rgb"
xdotool mousemove --window "$main" 135 121 click 1 mousemove --window "$main" 5 5
sleep 0.5
north_square >"$out/north-after.rgb"
if cmp -s "$out/north-before.rgb" "$out/north-after.rgb"; then
  fail "clicking N in the Control Bar's Direction panel did not turn it on (has the panel's layout changed?)"
fi
keys "$main" alt+v b s
timeout "$wait_s" bash -c 'until grep -q "^Bgd%20Type=2" "$0"; do sleep 0.2; done' "$conf" ||
  fail "View > Background > Sea was not taken: no 'Bgd Type=2' in $conf after $wait_s s"

# ---- Export to Storyboard through the wizard, into a folder of its own -------------------
keys_until "$main" '^Export FLC to Storyboard$' "File > Export to Storyboard" alt+f t
wizard=$win
xdotool mousemove --window "$wizard" 137 24 click 1  # the Output tab
sleep 0.3
xdotool mousemove --window "$wizard" 219 85 click 1  # its output folder
keys "$wizard" ctrl+a
xdotool type --delay 15 "$work/Storyboard/"
keys_until "$wizard" '^Quorvane$' "the question whether to open the storyboard" alt+e
keys_until "$win" 'Storyboard/walker\.qsb' "the storyboard's window, in the folder typed" Return

# ---- Export to FLC from the storyboard's window, and open the new FLC ---------------------
keys_until "$main" '^Export Storyboard to FLC$' "File > Export to FLC" alt+f l
type_path "$win" "$result" '^Quorvane$' "the question whether to open the new FLC"
keys_until "$win" 'walker2\.flc' "the new FLC's window" Return
keys "$main" F12
timeout "$wait_s" tail --pid="$app_pid" -f /dev/null || fail "the program did not end within $wait_s s of Exit (F12)"
wait "$app_pid" || fail "the program ended with exit code $?"
app_pid=""

# ---- The frames: palette indices and palette, one file each ------------------------------
"$cli" frames "$flc" -o "$out/frames-original" --raw >/dev/null || fail "quorvane-cli frames refused $flc"
"$cli" frames "$result" -o "$out/frames-result" --raw >/dev/null || fail "quorvane-cli frames refused $result"
differ=$(diff -rq "$out/frames-original" "$out/frames-result") ||
  fail "the new FLC's frames or palette differ from the original's:"$'\n'"$differ"
say "all $(ls "$out/frames-original" | grep -c '\.idx$') frames of the new FLC equal the original's, in $SECONDS s"
