#!/usr/bin/env bash
# Measures how fast the command-line tool analyses a large chat log, against `wc -l` on the same file
# as the floor of reading it. Usage: bench/throughput.sh BUILD_DIR [SIZE]
#   BUILD_DIR  a build with cli/tallyscope and tools/tallyscope-loggen (a Release build for real figures)
#   SIZE       size of the generated log, with a suffix K, M or G (default 1G)
# The log is written once into ${TMPDIR:-/tmp}/tallyscope-throughput and reused by later runs.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [SIZE]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
size=${2:-1G}
repo=$(cd "$(dirname "$0")/.." && pwd)
loggen=$build/tools/tallyscope-loggen
tool=$build/cli/tallyscope
for program in "$loggen" "$tool"; do
    if [ ! -x "$program" ]; then
        echo "$0: $program is missing; build the targets tallyscope and tallyscope-loggen first" >&2
        exit 1
    fi
done

# GNU time reports the peak resident memory; the shell's time keyword does not.
if [ ! -x /usr/bin/time ]; then
    echo "Installing the package time"
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq time
fi

dir=${TMPDIR:-/tmp}/tallyscope-throughput
log=$dir/chat-$size.log
mkdir -p "$dir"
if [ ! -s "$log" ]; then
    # Written under another name first, so that an interrupted run leaves nothing to reuse.
    "$loggen" --size "$size" --seed 1 -o "$log.part"
    mv "$log.part" "$log"
fi
bytes=$(stat -c %s "$log")

echo "Machine: $(nproc) processors, $(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Log: $log ($bytes bytes, $(wc -l < "$log") lines)"
echo

# Every command reads the log from the page cache, so the figures compare processing, not the disk.
cat "$log" > /dev/null

measure_file=$(mktemp)
trap 'rm -f "$measure_file"' EXIT

# Runs a command under GNU time; leaves "seconds peak-KiB" in $measurement. The wall time is taken
# with nanosecond clock readings, finer than the hundredths GNU time prints.
measure() {
    local start end
    start=$(date +%s%N)
    if ! /usr/bin/time -f '%M' -o "$measure_file" "$@" > /dev/null; then
        echo "$0: failed: $*" >&2
        exit 1
    fi
    end=$(date +%s%N)
    measurement="$(awk -v d=$((end - start)) 'BEGIN { printf "%.3f", d / 1e9 }') $(tail -n 1 "$measure_file")"
}

measure wc -l "$log"
wc_seconds=${measurement% *}

printf '%-32s %9s %9s %9s %12s\n' "Command" "seconds" "MB/s" "x wc -l" "peak RSS MiB"
report() {
    local name=$1 seconds=${measurement% *} peak=${measurement#* }
    awk -v name="$name" -v s="$seconds" -v b="$bytes" -v w="$wc_seconds" -v k="$peak" 'BEGIN {
        rate = s > 0 ? sprintf("%9.1f", b / 1e6 / s) : sprintf("%9s", "-")
        ratio = w > 0 ? sprintf("%9.1f", s / w) : sprintf("%9s", "-")
        printf "%-32s %9.3f %s %s %12.1f\n", name, s, rate, ratio, k / 1024
    }'
}
report "wc -l"

for calc_type in 0 1; do
    measure "$tool" analyze "$log" --calc-type "$calc_type" --show-advanced 1 --format json \
        --dots "$repo/resources/dots.txt" --skills "$repo/resources/skills.txt"
    if [ "$calc_type" = 0 ]; then
        report "analyze, DoTs to the last user"
    else
        report "analyze, DoTs divided per class"
    fi
done
