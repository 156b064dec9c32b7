#!/usr/bin/env bash
# Installs what is missing, builds, and analyses the sample chat log with the shipped reference lists.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTALLYSCOPE_BUILD_BENCH=OFF > /dev/null
cmake --build build/release -j"$(nproc)"
# The program reads dots.txt and skills.txt from its current directory, as the desktop program does.
cd resources
../build/release/cli/tallyscope analyze samples/Chat.log --stats "$@"
