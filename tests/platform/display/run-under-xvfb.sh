#!/bin/sh
# Runs the on-screen SDL display tests of the given test program inside a private X server with
# a small window manager (the desktop moves, minimises, closes and focuses windows through it).
# Usage: run-under-xvfb.sh <display test program> [more gtest arguments]
# Exit code 77 (skipped) when Xvfb or xdotool is missing. Without the window manager the tests
# run all the same; those that need one skip.
set -eu
program=$1
shift
for tool in xvfb-run xdotool xauth; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed: on-screen tests skipped"
    exit 77
  fi
done
export TILVAROK_DISPLAY=sdl TILVAROK_XVFB_TEST=1
# Sanitizer builds: leaks of the desktop libraries are theirs, not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-desktop.supp:print_suppressions=0"
# Inside the server: the single-window tests first, on the bare server they were made for; then
# the window manager starts, and once it owns the screen the desktop tests run.
inside='
program=$1
shift
"$program" --gtest_filter="SdlXvfb.*" "$@"
status=$?
if command -v openbox >/dev/null 2>&1; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  tries=0
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && break
    sleep 0.05
  done
  export TILVAROK_XVFB_WM=openbox
fi
"$program" --gtest_filter="SdlDesktopXvfb.*" "$@" || status=$?
[ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
exit $status
'
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "$inside" run-under-xvfb "$program" "$@"
