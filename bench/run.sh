#!/usr/bin/env bash
# The benchmarks, on the default optimised build: the registry file's load and save on the
# large machine against cat; the whole silent uninstaller run on the large machine; the
# volume link's startup on a machine with 120 mixer devices. Uses hyperfine when it is
# installed, else a loop timed with date.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target reg_file_bench make-large-machine dropcard mixtwin >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${BENCH_RUNS:-10}

# Runs "$@" $runs times, each time after `prepare` (untimed), and prints mean and fastest.
timed() {
  local name=$1 prepare=$2
  shift 2
  if command -v hyperfine >/dev/null; then
    hyperfine --style basic --warmup 1 --runs "$runs" --prepare "$prepare" --command-name "$name" "$*"
    return
  fi
  local total=0 best=
  for ((i = 0; i < runs; i++)); do
    bash -c "$prepare"
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 </dev/null
    end=$(date +%s%N)
    local ns=$((end - start))
    total=$((total + ns))
    if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  done
  printf '%s: mean %d.%03d ms, fastest %d.%03d ms (%d runs)\n' "$name" $((total / runs / 1000000)) \
    $((total / runs / 1000 % 1000)) $((best / 1000000)) $((best / 1000 % 1000)) "$runs"
}

echo "== registry.reg load and save (build/bench/reg_file_bench)"
build/bench/reg_file_bench
echo

echo "== the silent uninstaller on the large machine"
build/bin/make-large-machine "$work/large"
export SIMWIN_INPUT=/dev/null
timed "cat registry.reg" "true" cat "$work/large/registry.reg"
timed "dropcard x" "rm -rf '$work/run' && cp -r '$work/large' '$work/run'" \
  env SIMWIN_MACHINE="$work/run" build/bin/dropcard x
echo

echo "== the volume link's startup with 120 mixer devices"
mkdir -p "$work/mixers/drive_c/WINDOWS/SYSTEM"
printf '[mixtwin]\r\nChip=68\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\nE=5\r\nF=6\r\nG=7\r\nH=8\r\nI=9\r\nJ=10\r\nK=11\r\nL=12\r\n' \
  >"$work/mixers/drive_c/WINDOWS/SYSTEM/MIXTWIN.INI"
{
  for ((n = 0; n < 120; n++)); do
    name="Spare Mixer $n"
    [ $n -eq 0 ] && name="ESS AudioDrive Mixer"
    [ $n -eq 101 ] && name="Dream Sound Studio Mixer"
    printf '[Mixer%d]\r\nName=%s\r\nControl1=0x8000,0x8000\r\nControl2=0,0\r\nControl3=0,0\r\nControl4=0\r\n' $n "$name"
  done
} >"$work/mixers/machine.ini"
printf 'quit\n' >"$work/quit.txt"
export SIMWIN_INPUT="$work/quit.txt"
timed "mixtwin startup, 120 mixers" "true" env SIMWIN_MACHINE="$work/mixers" build/bin/mixtwin
