#!/usr/bin/env bash
# Every test: installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/needs.sh
needs cmake ninja-build g++ libgtest-dev libgmock-dev

cmake --preset asan >/dev/null
cmake --build --preset asan -j2
ctest --preset asan -j2
