#!/usr/bin/env bash
# The main job on the bundled sample machine, on copies of examples/machines/sample: the
# volume link keeps the Dream chip's mixer in step while a person moves the base codec's
# controls, then the card uninstaller runs silently; what each changed is shown.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/needs.sh
needs cmake ninja-build g++ libgtest-dev libgmock-dev binutils-mingw-w64-x86-64

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target dropcard mixtwin machine-diff >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples/machines/sample "$work/before"
cp -r examples/machines/sample "$work/machine"

echo "== mixtwin   (the volume link, with the input examples/inputs/move-controls.txt)"
grep -v '^#' examples/inputs/move-controls.txt | sed 's/ *#.*//'
SIMWIN_MACHINE="$work/machine" SIMWIN_INPUT=examples/inputs/move-controls.txt \
  SIMWIN_TRACE="$work/mixtwin.trace" build/bin/mixtwin </dev/null
echo "exit status $?; the copies it made:"
grep -E '^mixerSetControlDetails' "$work/mixtwin.trace" | sed 's/^/  /'
echo
echo "== what the volume link changed"
build/bin/machine-diff "$work/before" "$work/machine"
cp -r "$work/machine" "$work/linked"
echo

echo "== dropcard x   (the silent uninstaller, on a copy of examples/machines/sample)"
SIMWIN_MACHINE="$work/machine" SIMWIN_TRACE="$work/dropcard.trace" build/bin/dropcard x </dev/null
echo "exit status $?; $(grep -cv '^#' "$work/dropcard.trace") platform calls traced"
echo
echo "== what the uninstaller removed"
build/bin/machine-diff "$work/linked" "$work/machine"
