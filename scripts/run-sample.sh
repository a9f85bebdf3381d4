#!/usr/bin/env bash
# The main job on the bundled sample machine: the card uninstaller runs silently on a copy
# of examples/machines/sample, and what it removed is shown: keys, values and files.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/needs.sh
needs cmake ninja-build g++ libgtest-dev libgmock-dev

cmake --preset default >/dev/null
cmake --build --preset default -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples/machines/sample "$work/before"
cp -r examples/machines/sample "$work/machine"

echo "== dropcard x   (the silent uninstaller, on a copy of examples/machines/sample)"
SIMWIN_MACHINE="$work/machine" SIMWIN_TRACE="$work/dropcard.trace" build/bin/dropcard x </dev/null
echo "exit status $?; $(grep -cv '^#' "$work/dropcard.trace") platform calls traced"
echo
echo "== what it removed"
build/bin/machine-diff "$work/before" "$work/machine"
