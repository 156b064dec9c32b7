#!/usr/bin/env bash
# The desktop program following a log, measured from outside: its processor time while the log does not
# change, then its resident memory while a writer appends lines at a steady rate, as the game does
# during an evening. Runs on the offscreen platform.
#
#   bench/follow_soak.sh BUILD_DIR [MINUTES] [LINES_PER_SECOND] [IDLE_SECONDS]
#
# MINUTES of writing default to 10, the rate to 50 lines a second, the idle spell to 60 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:?usage: bench/follow_soak.sh BUILD_DIR [MINUTES] [LINES_PER_SECOND] [IDLE_SECONDS]}
minutes=${2:-10}
rate=${3:-50}
idle=${4:-60}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
work=$(mktemp -d)
gui_pid=
cleanup() {
    if [ -n "$gui_pid" ]; then kill "$gui_pid" 2> /dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# The lines to write come from a generated evening: fights with idle gaps between them.
"$build/tools/tallyscope-loggen" --size 16M --seed 3 --rest 31:90 -o "$work/source.log" > /dev/null
# The log starts with a little of it, so that the program has something to show at once.
head -n 2000 "$work/source.log" > "$work/Chat.log"
cp resources/dots.txt resources/skills.txt "$work/"
cat > "$work/options.ini" << EOF
[OPTIONS]
Path=$work/Chat.log
[FIGHTS]
Follow=1
EOF

ticks=$(getconf CLK_TCK)
cpu_seconds() {  # utime + stime of the process, in seconds
    awk -v t="$ticks" '{ printf "%.2f", ($14 + $15) / t }' "/proc/$gui_pid/stat"
}
rss_kib() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$gui_pid/status"
}

(cd "$work" && QT_QPA_PLATFORM=offscreen exec "$build/ui/tallyscope-gui") > /dev/null 2>&1 &
gui_pid=$!
sleep 5
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "after start and the first 2000 lines: RSS $(rss_kib) KiB, processor time $(cpu_seconds) s"

before=$(cpu_seconds)
sleep "$idle"
after=$(cpu_seconds)
awk -v b="$before" -v a="$after" -v s="$idle" \
    'BEGIN { printf "idle, log unchanged for %d s: %.2f s of processor time (%.3f%%)\n", s, a - b, (a - b) * 100 / s }'

start_rss=$(rss_kib)
start_cpu=$(cpu_seconds)
echo "before writing: RSS $start_rss KiB"
total=$((minutes * 60 * rate))
python3 - "$work/source.log" "$work/Chat.log" "$rate" "$total" << 'EOF' &
import sys, time
source, log, rate, total = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
with open(source, 'rb') as f:
    lines = f.read().split(b'\r\n')[2000:]
# Ten writes a second, each a tenth of the rate's lines, as the game flushes its buffer.
step = max(1, rate // 10)
start = time.monotonic()
written = 0
with open(log, 'ab', buffering=0) as out:
    while written < total:
        chunk = lines[written % len(lines):written % len(lines) + step]
        out.write(b''.join(line + b'\r\n' for line in chunk))
        written += len(chunk)
        delay = start + written / rate - time.monotonic()
        if delay > 0:
            time.sleep(delay)
EOF
writer=$!
peak=$start_rss
elapsed=0
while kill -0 "$writer" 2> /dev/null; do
    sleep 30
    elapsed=$((elapsed + 30))
    now=$(rss_kib)
    [ "$now" -gt "$peak" ] && peak=$now
    echo "  ${elapsed} s: RSS $now KiB, $(wc -l < "$work/Chat.log") lines in the log"
done
wait "$writer"
end_cpu=$(cpu_seconds)
echo "after $minutes min at $rate lines/s ($total lines): RSS $(rss_kib) KiB, peak $peak KiB," \
     "processor time while writing $(awk -v a="$end_cpu" -v b="$start_cpu" 'BEGIN { printf "%.2f", a - b }') s"
