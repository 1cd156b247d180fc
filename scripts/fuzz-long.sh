#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build for a while on a working copy
# of its seed corpus and prints one table row per target: runs, corpus size
# at the end, result. A crash, a leak or a sanitizer report fails the target;
# its input is kept in the working folder (printed at the end).
# Usage: fuzz-long.sh <sanitizer build folder> [seconds per target]
set -uo pipefail
build=$(realpath "$1")
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$build/fuzz-long
mkdir -p "$work"
targets=$(sed -n 's/^zing_fuzz(\([a-z_]*\) .*/\1/p' "$here/fuzz/CMakeLists.txt")
failed=0
printf '| %-18s | %10s | %11s | %-8s |\n' target runs "corpus size" result
echo "|---|---:|---:|---|"
for target in $targets; do
  bin=$build/fuzz/$target
  corpus=$work/$target
  mkdir -p "$corpus"
  log=$work/$target.log
  if [ ! -x "$bin" ]; then
    printf '| %-18s | %10s | %11s | %-8s |\n' "$target" - - "not built"
    failed=1
    continue
  fi
  (cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    "$corpus" "$here/fuzz/corpus/$target" >"$log" 2>&1)
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  size=$(find "$corpus" -type f | wc -l)
  result=clean
  if [ "$rc" -ne 0 ]; then
    result="FAILED ($rc)"
    failed=1
  fi
  printf '| %-18s | %10s | %11s | %-8s |\n' "$target" "${runs:-?}" "$size" "$result"
done
echo "Logs, corpora and any crashing inputs: $work"
exit "$failed"
