#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: in a normal build, under AddressSanitizer
# and UndefinedBehaviorSanitizer, and the tests without windows under ThreadSanitizer, since the
# analysis works out lines on several threads.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
jobs=$(nproc)

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTALLYSCOPE_SANITIZE=ON -DTALLYSCOPE_BUILD_BENCH=OFF > /dev/null
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYSCOPE_SANITIZE_THREAD=ON -DTALLYSCOPE_BUILD_GUI=OFF > /dev/null
cmake --build build/tsan -j"$jobs"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ctest --test-dir build/tsan --output-on-failure -j"$jobs"
