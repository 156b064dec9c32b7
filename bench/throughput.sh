#!/usr/bin/env bash
# Measures how fast the command-line tool analyses a large chat log, against `wc -l` on the same file
# as the floor of reading it, and then what one huge line costs beside ordinary lines of the same size.
# Usage: bench/throughput.sh BUILD_DIR [SIZE [LINE_SIZE]]
#   BUILD_DIR  a build with cli/tallyscope and tools/tallyscope-loggen (a Release build for real figures)
#   SIZE       size of the generated log, with a suffix K, M or G (default 1G)
#   LINE_SIZE  size of the single-line logs (default 300M; 0 leaves them out)
# The logs are written once into ${TMPDIR:-/tmp}/tallyscope-throughput and reused by later runs.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 3 ]; then
    echo "usage: $0 BUILD_DIR [SIZE [LINE_SIZE]]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
size=${2:-1G}
line_size=${3:-300M}
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
mkdir -p "$dir"
# Writes the made-up log of the given size once; later runs reuse it.
generate() {
    local file=$dir/chat-$1.log
    if [ ! -s "$file" ]; then
        # Written under another name first, so that an interrupted run leaves nothing to reuse.
        "$loggen" --size "$1" --seed 1 -o "$file.part"
        mv "$file.part" "$file"
    fi
    echo "$file"
}
log=$(generate "$size")
bytes=$(stat -c %s "$log")

echo "Machine: $(nproc) processors, $(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Log: $log ($bytes bytes, $(wc -l < "$log") lines)"
echo

# Every command reads the log from the page cache, so the figures compare processing, not the disk.
cat "$log" > /dev/null

measure_file=$(mktemp)
trap 'rm -f "$measure_file"' EXIT

# Runs a command under GNU time; leaves "seconds peak-KiB" in $measurement and the processor time
# (user and system) in $cpu_seconds. The wall time is taken with nanosecond clock readings, finer
# than the hundredths GNU time prints. A run that ends with an error still counts when allowed_exit
# says so (an analysis that stops at a line it cannot read has still read the whole log).
measure() {
    local start end status=0
    start=$(date +%s%N)
    /usr/bin/time -f '%M %U %S' -o "$measure_file" "$@" > /dev/null 2>&1 || status=$?
    if [ "$status" -ne 0 ] && [ "$status" -ne "${allowed_exit:-0}" ]; then
        echo "$0: failed (exit $status): $*" >&2
        exit 1
    fi
    end=$(date +%s%N)
    local peak user system
    read -r peak user system < <(tail -n 1 "$measure_file")
    measurement="$(awk -v d=$((end - start)) 'BEGIN { printf "%.3f", d / 1e9 }') $peak"
    cpu_seconds=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
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

# Both methods with the statistics on: on one thread, and with the reading and working out of lines
# spread over every processor while one thread books them.
for threads in 1 "$(nproc)"; do
    for calc_type in 0 1; do
        measure "$tool" analyze "$log" --calc-type "$calc_type" --show-advanced 1 --format json \
            --threads "$threads" --dots "$repo/resources/dots.txt" --skills "$repo/resources/skills.txt"
        name=$([ "$calc_type" = 0 ] && echo "DoTs to the last user" || echo "DoTs divided per class")
        report "$name, $threads thread(s)"
    done
done
# The fights of the log: a pass that splits the log, then each fight's own run. The first fight alone
# is about the cost of the splitting pass by itself. (The desktop program splits within its whole-log
# run; tallyscope-bench --benchmark_filter=BM_AnalysisRun measures that beside a run that does not.)
measure "$tool" fights "$log" --format json --threads 1 \
    --dots "$repo/resources/dots.txt" --skills "$repo/resources/skills.txt"
report "fights, 1 thread"
measure "$tool" analyze "$log" --fight 1 --format json --threads 1 \
    --dots "$repo/resources/dots.txt" --skills "$repo/resources/skills.txt"
report "split, then fight 1, 1 thread"

[ "$line_size" = 0 ] && exit 0

# One huge line beside ordinary lines of the same size. The ordinary log is made-up lines; the joined
# log is the same text with its line ends lost (every marker many times in one line); the long-skill
# log is one damage line whose skill name fills it (the fields cut from it are that long too).
ordinary=$(generate "$line_size")
joined=$dir/joined-$line_size.log
skill=$dir/long-skill-$line_size.log
if [ ! -s "$joined" ]; then
    { tr -d '\r\n' < "$ordinary"; printf '\r\n'; } > "$joined.part"
    mv "$joined.part" "$joined"
fi
if [ ! -s "$skill" ]; then
    line_bytes=$(stat -c %s "$ordinary")
    # "2026.12.09 20:41:10 : " and the skill name of the letter Я (Windows-1251 0xDF), then the damage.
    { printf '2026.12.09 20:41:10 : '; head -c "$line_bytes" /dev/zero | tr '\000' '\337'
      printf ': \xcc\xee\xe1 \xef\xee\xeb\xf3\xf7\xe0\xe5\xf2 45 \xe5\xe4. \xf3\xf0\xee\xed\xe0.\r\n'; } > "$skill.part"
    mv "$skill.part" "$skill"
fi
for file in "$joined" "$skill"; do cat "$file" > /dev/null; done

echo
echo "One line of $line_size beside ordinary lines (processor time per byte; peak RSS against the file size)"
printf '%-40s %9s %9s %9s %12s %9s\n' "Log, method" "seconds" "CPU s" "ns/byte" "peak RSS MiB" "x size"
report_line() {
    local name=$1 file=$2 seconds=${measurement% *} peak=${measurement#* }
    awk -v name="$name" -v s="$seconds" -v c="$cpu_seconds" -v b="$(stat -c %s "$file")" -v k="$peak" 'BEGIN {
        printf "%-40s %9.3f %9.2f %9.2f %12.1f %9.2f\n", name, s, c, c * 1e9 / b, k / 1024, k * 1024 / b
    }'
}
for calc_type in 0 1; do
    for entry in "ordinary lines:$ordinary" "one line, the lines joined:$joined" "one line, a long skill name:$skill"; do
        file=${entry#*:}
        # A joined log may end with an amount that cannot be read: the run has read it all by then.
        allowed_exit=1 measure "$tool" analyze "$file" --calc-type "$calc_type" --show-advanced 1 --format json \
            --dots "$repo/resources/dots.txt" --skills "$repo/resources/skills.txt"
        report_line "${entry%%:*}, calc-type $calc_type" "$file"
    done
done
