#!/bin/sh
# Drives the whole program on a private X desktop with a window manager, as a user would, and
# reports each check: the main window named by the loaded picture, the picture dialog as a
# second desktop window that moves on its own, a menu as a popup window whose item works, a
# slider drag that leaves the window, and closing from the desktop. Too heavy for the test run;
# run it by hand after a build. Clicks follow the main window's layout on a 1280x1024 screen.
# Usage: check-program-on-desktop.sh <build folder>     Exit code: the number of failed checks.
set -eu
build=$(cd "${1:?usage: check-program-on-desktop.sh <build folder>}" && pwd)
root=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
HOME="$work/home" "$root/scripts/install-data" "$build" >/dev/null
convert -size 64x48 gradient:red-blue "$work/Spheres.png"
cat >"$work/inside.sh" <<'INSIDE'
#!/bin/sh
work=$1 build=$2
failed=0
check() { if [ "$2" = yes ]; then echo "ok:     $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi; }
openbox --sm-disable >/dev/null 2>&1 &
sleep 1
cd "$build"
HOME="$work/home" TILVAROK_DISPLAY=sdl ./tilvarok >"$work/program.log" 2>&1 &
app=$!
sleep 5
main=$(xdotool search --name '^Tilvarok$' | head -n 1)
check "the main window is a desktop window" "$([ -n "$main" ] && echo yes)"
xdotool mousemove 358 269 click 1  # Load picture
sleep 2
dialog=$(xdotool search --name '^Open picture$' | head -n 1)
check "the picture dialog is a second desktop window" "$([ -n "$dialog" ] && [ "$dialog" != "$main" ] && echo yes)"
xdotool windowmove --sync "$dialog" 600 100
sleep 1
moved=$(xdotool getwindowgeometry "$dialog" | grep -c "Position: 600,100")
stayed=$(xdotool getwindowgeometry "$main" | grep -c "Position: 140,162")
check "the dialog moves on its own" "$([ "$moved" = 1 ] && [ "$stayed" = 1 ] && echo yes)"
xdotool mousemove 868 352 click 1  # File name
sleep 0.5
xdotool type "$work/Spheres.png"
xdotool mousemove 1109 354 click 1  # Open
sleep 4
check "the main window is found by the loaded picture's name" \
  "$([ "$(xdotool search --name '^Tilvarok - Spheres.png$' | head -n 1)" = "$main" ] && echo yes)"
xdotool mousemove 163 192 click 1  # the Load menu
sleep 1.5
popup=no
for w in $(xdotool search --onlyvisible --pid "$app"); do
  [ "$w" != "$main" ] && xwininfo -id "$w" | grep -q "Override Redirect State: yes" && popup=yes
done
check "the menu is a popup window" "$popup"
xdotool mousemove 207 213 click 1  # Source picture
sleep 2
check "a click on the menu item opens the picture dialog" \
  "$([ -n "$(xdotool search --onlyvisible --name '^Open picture$')" ] && echo yes)"
xdotool mousemove 870 642 click 1  # Cancel
sleep 1
# The first deformation slider: its track's right end is looked at before, while the thumb is
# dragged right beyond the main window, and while it is dragged left below the window.
right_end() { import -window root -crop 10x14+389+520 txt:- | tail -n +2 | md5sum; }
before=$(right_end)
xdotool mousemove 329 527 mousedown 1
sleep 0.5
xdotool mousemove 1250 540
sleep 1
at_right=$(right_end)
xdotool mousemove 200 1000
sleep 1
at_left=$(right_end)
xdotool mouseup 1
check "a slider drag beyond the window keeps tracking" \
  "$([ "$at_right" != "$before" ] && [ "$at_left" = "$before" ] && echo yes)"
xdotool windowactivate --sync "$main" key alt+F4
sleep 4
if kill -0 "$app" 2>/dev/null; then
  check "closing from the desktop ends the program" no
  kill "$app"
else
  check "closing from the desktop ends the program" yes
fi
exit $failed
INSIDE
chmod +x "$work/inside.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/inside.sh" "$work" "$build"
