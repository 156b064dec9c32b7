#!/usr/bin/env bash
# Tries the Windows package as a player would, under Wine on a virtual display with a window manager:
# unpacks dist/tallyscope-VERSION-win64.zip into a fresh folder, starts tallyscope-gui.exe from there in
# a fresh Wine prefix, checks the main window's caption, presses the calculate button on the sample log,
# copies the report and compares it with what tallyscope.exe prints, closes the window, checks
# options.ini, and saves a screenshot.
#
#   tools/windows-smoke.sh [ZIP] [OUT.png]
#
# ZIP defaults to the package tools/build-windows.sh writes, OUT.png to docs/screenshot-windows.png.
# Needs Wine, Xvfb, openbox, wmctrl, xdotool, xprop, xclip and ImageMagick; installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=tools/x-session.sh
source tools/x-session.sh

version=$(sed -n 's/^project(Tallyscope VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=${1:-dist/tallyscope-$version-win64.zip}
out=${2:-docs/screenshot-windows.png}
case "$out" in /*) ;; *) out="$root/$out" ;; esac
[ -f "$zip" ] || { echo "no $zip: run tools/build-windows.sh first" >&2; exit 1; }

packages=(wine wine64 xvfb openbox wmctrl xdotool x11-utils xclip imagemagick unzip)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi

scratch=$(mktemp -d)
gui_pid=
cleanup() {
    if [ -n "$gui_pid" ]; then kill "$gui_pid" 2> /dev/null || true; fi
    WINEPREFIX=$scratch/prefix wineserver -k 2> /dev/null || true
    stop_x_session
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "windows-smoke: $*" >&2
    exit 1
}

unzip -q "$zip" -d "$scratch"
app=$(find "$scratch" -maxdepth 2 -name tallyscope-gui.exe -printf '%h\n' | head -n1)
[ -n "$app" ] || fail "no tallyscope-gui.exe in $zip"
# A fresh prefix: the first start of the program on a Windows that has never seen it.
export WINEPREFIX=$scratch/prefix
wine_run() { (cd "$app" && exec "$root/tools/wine-run.sh" "$@"); }

# The settings as a player might leave them, with a section of their own in Windows-1251 that the program
# must keep byte for byte. The main window stands right of the middle so that the statistics window,
# placed against its left edge, fits too.
printf '[DESKTOP]\r\nTop=10\r\nLeft=490\r\nWidth=540\r\nHeight=720\r\n[OPTIONS]\r\nPath=samples\\Chat.log\r\nCalcType=0\r\n[VIEW]\r\nShowDots=1\r\nHideMobs=0\r\nShowAdvanced=1\r\n[FIGHTS]\r\nFightGap=30\r\n' > "$app/options.ini"
printf '[\xc7\xe0\xec\xe5\xf2\xea\xe8]\r\n\xcf\xf0\xe8\xec\xe5\xf0=\xe4\xe0\r\n' >> "$app/options.ini"  # [Заметки] Пример=да
cp "$app/options.ini" "$scratch/options.before"

start_x_session 1040x740x24 wm
# Qt takes 96 logical pixels per inch under Wine, so the layouts (drawn for 120) are used at 0.8 of their
# size: the calculate button (24, 48, 146 by 25 in the layout) has its centre at 77, 48 in the client
# area, the copy button (192, 48, 25 by 25) at 164, 48.
readonly calc_x=77 calc_y=48 copy_x=164 copy_y=48

wine_run tallyscope-gui.exe > "$scratch/gui.log" 2>&1 &
gui_pid=$!
window=$(wait_for_window '^Tallyscope' 120) || fail "the main window did not appear"
caption=$(xdotool getwindowname "$window")
[ "$caption" = "Tallyscope — измеритель урона по чат-логу Aion" ] || fail "caption: $caption"
# Placed once the window manager has framed it.
for _ in $(seq 300); do
    xprop -id "$window" _NET_FRAME_EXTENTS 2> /dev/null | grep -q '=' && break
    sleep 0.1
done
echo "windows-smoke: main window on the screen at $(outer_geometry "$window") (options.ini: 490 10 540 720)"

wine_run tallyscope.exe analyze 'samples\Chat.log' --format report > "$scratch/report" 2> /dev/null ||
    fail "tallyscope.exe analyze failed"
# The clipboard hands the text to X with LF line ends.
tr -d '\r' < "$scratch/report" > "$scratch/report.lf"
grep -q 'ВЫ - ' "$scratch/report.lf" || fail "the report names no ВЫ"
xdotool mousemove --window "$window" "$calc_x" "$calc_y" click 1
# The calculation takes its time, more so on a busy machine: the report is copied until it is the tool's.
copied=0
for _ in $(seq 120); do
    sleep 0.5
    xdotool mousemove --window "$window" "$copy_x" "$copy_y" click 1
    timeout 5 xclip -o -selection clipboard 2> /dev/null | tr -d '\r' > "$scratch/clipboard" || true
    if cmp -s "$scratch/report.lf" "$scratch/clipboard"; then
        copied=1
        break
    fi
done
[ "$copied" -eq 1 ] ||
    fail "the clipboard report differs from the tool's: $(head -c 200 "$scratch/clipboard")"

xdotool mousemove 0 0
sleep 1
mkdir -p "$(dirname "$out")"
import -window root "$out"

close_window "$window" "$gui_pid" 60 || fail "the program did not end when its window was closed"
gui_pid=

# Written as it was read: the same nine keys and values, the player's own section untouched, 8-bit text.
cmp -s "$scratch/options.before" "$app/options.ini" || {
    diff <(iconv -f cp1251 "$scratch/options.before") <(iconv -f cp1251 "$app/options.ini") >&2 || true
    fail "options.ini changed"
}
echo "windows-smoke: passed; screenshot: $out"
