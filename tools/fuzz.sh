#!/usr/bin/env bash
# Installs what is missing, builds the libFuzzer targets of tests/fuzz with clang (under
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for SECONDS (default 30), one after
# the other. Prints per target the executions, the coverage (cov: code edges, ft: features) and the
# findings, and exits non-zero when any target found something.
#
# Usage: tools/fuzz.sh [SECONDS] [TARGET...]
#   TARGET  analysis line_reader reference_lists fights follow command_line settings (default: all)
# The corpus grows in build/fuzz/corpus/TARGET from one run to the next; findings are written to
# build/fuzz/findings/TARGET, each replayable with build/fuzz/tests/fuzz/fuzz_TARGET FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

seconds=${1:-30}
shift || true
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [SECONDS] [TARGET...]" >&2
    exit 2
fi
all_targets=(analysis line_reader reference_lists fights follow command_line settings)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

tools/install-deps.sh
# clang and its sanitizer and fuzzer runtimes.
missing=()
for package in clang libclang-rt-dev; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi

build=build/fuzz
cmake -S . -B "$build" -DTALLYSCOPE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    > /dev/null
cmake --build "$build" -j"$(nproc)"

# The dictionaries of the log's phrases follow the vocabulary.
for dictionary in log reference_lists; do
    "$build/tests/fuzz/fuzz_dictionary" "$dictionary" core/include/tallyscope/vocabulary.h \
        --check "tests/fuzz/dictionaries/$dictionary.dict"
done

dictionary_of() {
    case $1 in
        reference_lists | settings | command_line) echo "$1" ;;
        *) echo log ;;
    esac
}
# The longest input of each target: long enough for a few dozen log lines or a settings file.
max_len_of() {
    case $1 in
        command_line) echo 1024 ;;
        settings) echo 2048 ;;
        *) echo 4096 ;;
    esac
}

# The targets write their inputs to scratch files: in memory where there is a place for them, as
# the settings file's writer syncs each file it saves.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$repo/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

results=()
failed=0
for target in "${targets[@]}"; do
    fuzzer=$build/tests/fuzz/fuzz_$target
    if [ ! -x "$fuzzer" ]; then
        echo "$0: no fuzz target $target" >&2
        exit 2
    fi
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    log=$build/logs/$target.log
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    stamp=$build/logs/$target.start  # the findings of this run are newer than it
    touch "$stamp"
    inputs=("$corpus" "tests/fuzz/seeds/$target")
    [ -d "tests/fuzz/regressions/$target" ] && inputs+=("tests/fuzz/regressions/$target")
    echo "Fuzzing $target for $seconds s"
    status=0
    nice -n 10 "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -max_len="$(max_len_of "$target")" -dict="tests/fuzz/dictionaries/$(dictionary_of "$target").dict" \
        -artifact_prefix="$findings/" -print_final_stats=1 "${inputs[@]}" > "$log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -E '^#[0-9]+' "$log" | grep -o 'cov: [0-9]* ft: [0-9]*' | tail -n 1)
    found=$(find "$findings" -type f -newer "$stamp" \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        echo "--- $target: finding (exit $status); the end of $log:"
        tail -n 40 "$log"
    fi
    results+=("$(printf '%-16s %12s   %-22s %s' "$target" "${executions:-?}" "${coverage:-?}" \
        "$([ "$status" -eq 0 ] && [ "$found" -eq 0 ] && echo none || echo "$found in $findings")")")
done

echo
printf '%-16s %12s   %-22s %s\n' "Target" "executions" "coverage" "findings"
printf '%s\n' "${results[@]}"
if [ "$failed" -ne 0 ]; then
    echo "Fuzzing found faults." >&2
    exit 1
fi
