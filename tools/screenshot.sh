#!/usr/bin/env bash
# Takes a screenshot of the desktop program after it has analysed the sample chat log: the main window
# with the DoT columns shown and, beside it, the per-skill statistics window.
#
#   tools/screenshot.sh [OUT.png] [BUILD_DIR] [FIGHT|live]
#
# OUT.png defaults to docs/screenshot.png, BUILD_DIR to build/release (as tools/run-sample.sh builds
# it). FIGHT, from 1, is chosen in the fight selector after the calculation; without it the whole log
# is shown. With "live" the program starts with "Следить за логом" on, over a log that holds the sample's
# first two fights, while a writer in the background appends the third one a few lines at a time as
# the game would; the screenshot is taken in the middle of that fight. Nothing is built here. Needs Xvfb, xdotool and ImageMagick (tools/install-deps.sh); with
# openbox installed the windows get their frames.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

out=${1:-docs/screenshot.png}
build=${2:-build/release}
fight=${3:-0}
live=0
if [ "$fight" = live ]; then
    live=1
    fight=0
fi
case "$fight" in ''|*[!0-9]*) echo "FIGHT must be a fight number from 1, or live" >&2; exit 2 ;; esac
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
# The fight selector, at 192, 108 and 224 by 23 in the layout.
readonly fights_x=243 fights_y=96

appdir=$(mktemp -d)
xvfb_pid=
wm_pid=
gui_pid=
writer_pid=
cleanup() {
    if [ -n "$writer_pid" ]; then kill "$writer_pid" 2> /dev/null || true; fi
    if [ -n "$gui_pid" ]; then kill "$gui_pid" 2> /dev/null || true; fi
    if [ -n "$wm_pid" ]; then kill "$wm_pid" 2> /dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2> /dev/null || true; fi
    rm -rf "$appdir"
}
trap cleanup EXIT

# The program reads its settings and reference lists from the directory it starts in. The main window
# stands right of the middle so that the statistics window, placed against its left edge, fits too.
cp resources/dots.txt resources/skills.txt "$appdir/"
log=$root/resources/samples/Chat.log
if [ "$live" = 1 ]; then
    # The sample's fights 1 and 2 are lines 1-264; fight 3 follows from line 265.
    log=$appdir/Chat.log
    head -n 264 "$root/resources/samples/Chat.log" > "$log"
fi
cat > "$appdir/options.ini" << EOF
[DESKTOP]
Top=24
Left=490
Width=540
Height=710
[OPTIONS]
Path=$log
CalcType=0
[VIEW]
ShowDots=1
HideMobs=0
ShowAdvanced=1
EOF
if [ "$live" = 1 ]; then
    printf '[FIGHTS]\nFollow=1\nFollowInterval=500\n' >> "$appdir/options.ini"
fi

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
if command -v openbox > /dev/null; then
    openbox > /dev/null 2>&1 &
    wm_pid=$!
    sleep 1
fi

(cd "$appdir" && exec "$gui") > /dev/null 2>&1 &
gui_pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tallyscope' 2> /dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1

if [ "$live" = 1 ]; then
    # Fight 3 written as the game writes it, ten lines every quarter of a second; the shot is taken
    # when about half of it is there.
    (
        for start in $(seq 265 10 762); do
            sed -n "${start},$((start + 9))p" "$root/resources/samples/Chat.log" >> "$log"
            sleep 0.25
        done
    ) &
    writer_pid=$!
    sleep 6
else
    xdotool mousemove --window "$window" "$calc_x" "$calc_y" click 1
    # The sample log takes a moment; then the pointer goes out of the way so that no hint is shown.
    sleep 2
fi
if [ "$fight" -gt 0 ]; then
    # The selector's list opens on "Весь лог"; the fight is that many entries below it.
    xdotool mousemove --window "$window" "$fights_x" "$fights_y" click 1
    sleep 0.5
    for _ in $(seq "$fight"); do xdotool key Down; done
    xdotool key Return
    sleep 2
fi
xdotool mousemove 0 0
sleep 1

import -window root "$out"
echo "screenshot: $out"
