#!/usr/bin/env bash
# Every test: installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole suite; then builds the Win32 programs for
# both targets and runs their tests, the x86_64 build's under Wine; last, builds the fuzz
# targets with clang's libFuzzer and runs each for a few seconds over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/needs.sh
needs cmake ninja-build g++ libgtest-dev libgmock-dev clang libclang-rt-14-dev
# The Win32 programs: the cross compilers, and Wine to run them (with its fonts, for the
# message boxes' text, which the wine64 package only recommends).
needs g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 wine64 fonts-wine

cmake --preset asan >/dev/null
cmake --build --preset asan -j2
ctest --preset asan -j2

# The Win32 programs, both targets: what they import and carry, and the x86_64 build's
# runs under Wine.
for preset in windows-x86_64 windows-i686; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
done
ctest --preset windows-i686
ctest --preset windows-x86_64 -j2

# The fuzz targets, each over its seed corpus, so that every input that once crashed one
# is tried again.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2
ctest --preset fuzz -j2
