#!/bin/sh
# Runs the on-screen SDL display tests of the given test program inside a private X server.
# Usage: run-under-xvfb.sh <display test program> [more gtest arguments]
# Exit code 77 (skipped) when Xvfb or xdotool is missing.
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
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" --gtest_filter='SdlXvfb.*' "$@"
