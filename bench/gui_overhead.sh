#!/usr/bin/env bash
# Compares one analysis run in the main window with the command-line tool on the same generated log,
# and reports how often the window repainted its progress bar during the run.
# Usage: bench/gui_overhead.sh BUILD_DIR [SIZE]   (SIZE defaults to 100M)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: bench/gui_overhead.sh BUILD_DIR [SIZE]}
size=${2:-100M}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/tools/tallyscope-loggen" --size "$size" --seed 7 -o "$work/Chat.log" > /dev/null
cat "$work/Chat.log" > /dev/null  # warm the file cache
cp resources/dots.txt resources/skills.txt "$work/"

seconds() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }'
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
cli=$(cd "$work" && seconds "$OLDPWD/$build/cli/tallyscope" analyze Chat.log --stats --format csv)
echo "command-line tool: $cli s"
gui=$("$build/bench/tallyscope-gui-bench" "$work/Chat.log" "$work")
echo "$gui"
run=$(echo "$gui" | sed -n 's/^run: \([0-9.]*\) s/\1/p')
awk -v gui="$run" -v cli="$cli" 'BEGIN { printf "window / tool: %.2f\n", gui / cli }'
