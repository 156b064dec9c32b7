#!/usr/bin/env bash
# Takes a screenshot of the desktop program after it has analysed the sample chat log: the main window
# with the DoT columns shown and, beside it, the per-skill statistics window.
#
#   tools/screenshot.sh [OUT.png] [BUILD_DIR]
#
# OUT.png defaults to docs/screenshot.png, BUILD_DIR to build/release (as tools/run-sample.sh builds
# it). Nothing is built here. Needs Xvfb, xdotool and ImageMagick (tools/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

out=${1:-docs/screenshot.png}
build=${2:-build/release}
gui="$build/ui/tallyscope-gui"
[ -x "$gui" ] || { echo "no $gui: build the project first (tools/run-sample.sh builds build/release)" >&2; exit 1; }
for tool in Xvfb xdotool import; do
    command -v "$tool" > /dev/null || { echo "$tool is missing: run tools/install-deps.sh" >&2; exit 1; }
done
case "$out" in /*) ;; *) out="$root/$out" ;; esac
case "$gui" in /*) ;; *) gui="$root/$gui" ;; esac
mkdir -p "$(dirname "$out")"

# Qt takes 96 logical pixels per inch on an X server that sets no Xft.dpi, so the layouts (drawn for
# 120) are used at 0.8 of their size: the calculate button, at 24, 48 and 146 by 25 in the layout,
# has its centre at 77, 48 inside the main window.
readonly screen=1040x740x24 calc_x=77 calc_y=48

appdir=$(mktemp -d)
xvfb_pid=
gui_pid=
cleanup() {
    if [ -n "$gui_pid" ]; then kill "$gui_pid" 2> /dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2> /dev/null || true; fi
    rm -rf "$appdir"
}
trap cleanup EXIT

# The program reads its settings and reference lists from the directory it starts in. The main window
# stands right of the middle so that the statistics window, placed against its left edge, fits too.
cp resources/dots.txt resources/skills.txt "$appdir/"
cat > "$appdir/options.ini" << EOF
[DESKTOP]
Top=10
Left=490
Width=540
Height=720
[OPTIONS]
Path=$root/resources/samples/Chat.log
CalcType=0
[VIEW]
ShowDots=1
HideMobs=0
ShowAdvanced=1
EOF

# A free display: the first number without a lock file or socket.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 "$screen" -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 50); do
    xdotool getmouselocation > /dev/null 2>&1 && break
    sleep 0.1
done

(cd "$appdir" && exec "$gui") > /dev/null 2>&1 &
gui_pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tallyscope' 2> /dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1

xdotool mousemove --window "$window" "$calc_x" "$calc_y" click 1
# The sample log takes a moment; then the pointer goes out of the way so that no hint is shown.
sleep 2
xdotool mousemove 0 0
sleep 1

import -window root "$out"
echo "screenshot: $out"
