#!/usr/bin/env bash
# Starts and closes the desktop program three times under a real window manager (openbox on Xvfb) and
# checks that the window keeps its place: every start puts the outer frame where options.ini says, and
# every close writes back the numbers it read; then where the auxiliary windows appear. For the Windows
# build under Wine, where the frame is Windows' own and openbox's only stands in for it on the screen,
# the check is that every number stays as it was and the window does not move on the screen.
#
#   tools/placement-check.sh [PROGRAM...]
#
# PROGRAM defaults to build/release/ui/tallyscope-gui (tools/run-sample.sh builds it); for the Windows
# build give e.g. "$PWD/tools/wine-run.sh DIR/tallyscope-gui.exe" (absolute paths: the program starts
# in a scratch folder; DIR an unpacked package). Needs Xvfb, openbox, wmctrl,
# xdotool and xprop.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=tools/x-session.sh
source tools/x-session.sh

program=("$@")
[ ${#program[@]} -gt 0 ] || program=("$root/build/release/ui/tallyscope-gui")
for tool in Xvfb openbox wmctrl xdotool xprop; do
    command -v "$tool" > /dev/null || { echo "$tool is missing (apt-get install xvfb openbox wmctrl xdotool x11-utils)" >&2; exit 1; }
done

appdir=$(mktemp -d)
gui_pid=
cleanup() {
    if [ -n "$gui_pid" ]; then kill "$gui_pid" 2> /dev/null || true; fi
    stop_x_session
    rm -rf "$appdir"
}
trap cleanup EXIT
cp resources/dots.txt resources/skills.txt "$appdir/"

setting() { sed -n "s/^$1=\([-0-9]*\)\r\{0,1\}\$/\1/p" "$appdir/options.ini"; }
placement() { echo "$(setting Left) $(setting Top) $(setting Width) $(setting Height)"; }

windows=0
case "${program[*]}" in *.exe*) windows=1 ;; esac

start_x_session 1600x1000x24 wm
failures=0
previous=
# The first cycle starts without a settings file (the layout's placement), the next ones from the file
# the previous close wrote; then the same from a file the user wrote.
for start in none cycle cycle given cycle cycle; do
    if [ "$start" = given ]; then
        printf '[DESKTOP]\r\nTop=100\r\nLeft=700\r\nWidth=600\r\nHeight=700\r\n' > "$appdir/options.ini"
    fi
    before=$( [ -f "$appdir/options.ini" ] && placement || echo "no settings file")
    (cd "$appdir" && exec "${program[@]}") > /dev/null 2>&1 &
    gui_pid=$!
    window=$(wait_for_window '^Tallyscope') || { echo "the main window did not appear" >&2; exit 1; }
    sleep 1.5
    shown=$(outer_geometry "$window")
    close_window "$window" "$gui_pid" || { echo "the program did not end when its window was closed" >&2; exit 1; }
    wait "$gui_pid" || true
    gui_pid=
    after=$(placement)
    echo "settings: $before -> on screen: $shown -> written: $after"
    if [ "$start" != none ] && [ "$after" != "$before" ]; then
        echo "  the settings changed" >&2
        failures=$((failures + 1))
    fi
    if [ "$windows" -eq 1 ]; then
        if [ "$start" = cycle ] && [ "$shown" != "$previous" ]; then
            echo "  moved on the screen" >&2
            failures=$((failures + 1))
        fi
    elif [ "$start" != none ] && [ "$shown" != "$before" ]; then
        echo "  not where the settings put it" >&2
        failures=$((failures + 1))
    elif [ "$start" = none ] && { [ "$after" != "$shown" ] || [ "${shown% * *}" != "960 228" ]; }; then
        # Without a settings file the frame's corner is at the layout's 960, 228.
        echo "  not the layout's placement" >&2
        failures=$((failures + 1))
    fi
    previous=$shown
done

if [ "$windows" -eq 1 ]; then
    [ "$failures" -eq 0 ] && echo "the window kept its place" && exit 0
    echo "$failures cycles moved the window" >&2
    exit 1
fi

# The auxiliary windows beside the main window, by its outer frame: the statistics window's right edge on
# the main window's left edge, the settings window centred over it, the reference-list window at left + 5,
# top + 130 and 400 by 250 outside, the help window at left + 5, top + 30.
printf '[DESKTOP]\r\nTop=100\r\nLeft=700\r\nWidth=600\r\nHeight=700\r\n[OPTIONS]\r\nPath=%s\r\n[VIEW]\r\nShowAdvanced=1\r\n' \
    "$root/resources/samples/Chat.log" > "$appdir/options.ini"
(cd "$appdir" && exec "${program[@]}") > /dev/null 2>&1 &
gui_pid=$!
window=$(wait_for_window '^Tallyscope') || { echo "the main window did not appear" >&2; exit 1; }
sleep 1.5
# At 96 pixels per inch the layouts (drawn for 120) are used at 0.8 of their size; centres of the
# calculate, settings and help buttons in the main window and of the skill-list button in the settings
# window.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 1.5; }
expect() {
    local name=$1 want=$2 found
    found=$(wait_for_window "$name" 10) || { echo "$name: did not appear" >&2; failures=$((failures + 1)); return; }
    sleep 0.5
    local got
    got=$(outer_geometry "$found")
    echo "$name: $got (expected $want)"
    [ "$got" = "$want" ] || { echo "  misplaced" >&2; failures=$((failures + 1)); }
}
click "$window" 77 48
advanced=$(wait_for_window '^Расширенная статистика' 10 || true)
[ -n "$advanced" ] && read -r _ _ advanced_width advanced_height <<< "$(outer_geometry "$advanced")"
expect '^Расширенная статистика' "$((700 - ${advanced_width:-0})) 100 ${advanced_width:-0} ${advanced_height:-0}"
click "$window" 323 48
settings=$(wait_for_window '^Настройки' 10 || true)
[ -n "$settings" ] && read -r _ _ settings_width settings_height <<< "$(outer_geometry "$settings")"
expect '^Настройки' "$((700 + (600 - ${settings_width:-0}) / 2)) $((100 + (700 - ${settings_height:-0}) / 2)) ${settings_width:-0} ${settings_height:-0}"
[ -n "$settings" ] && click "$settings" 58 169
expect '^Скиллы персонажей' "705 230 400 250"
click "$window" 323 23
help=$(wait_for_window '^Справка' 10 || true)
[ -n "$help" ] && read -r _ _ help_width help_height <<< "$(outer_geometry "$help")"
expect '^Справка' "705 130 ${help_width:-0} ${help_height:-0}"
close_window "$window" "$gui_pid" || true
gui_pid=

[ "$failures" -eq 0 ] && echo "the windows kept their places" || { echo "$failures placements were wrong" >&2; exit 1; }
