#!/usr/bin/env bash
# Runs fuzz targets of the preset "fuzz" for a fixed number of executions each, one after the
# other. Every target first runs all of its corpus (the seeds and the regression inputs in
# fuzz/corpus/<target>/, and what earlier runs found in build/fuzz-work/<target>/), then mutates
# it; what it learns goes to build/fuzz-work/<target>/, never into the source tree. An input that
# crashes, hangs (10 s), leaks or trips a sanitizer is kept in build/fuzz-work/findings/.
#
#   fuzz/run.sh TARGET=RUNS...    e.g. fuzz/run.sh ini_fuzz=20000 startup_fuzz=3000
#
# Prints a line per target with its executions, and exits 1 when a target found something.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

[[ $# -gt 0 ]] || { sed -n 's/^#   //p' "$0"; exit 2; }
work=build/fuzz-work
mkdir -p "$work/findings"
status=0
for job in "$@"; do
  target=${job%%=*}
  runs=${job#*=}
  program=build/fuzz/fuzz/$target
  [[ -x "$program" ]] || { echo "$target: no $program (cmake --build --preset fuzz)"; exit 2; }
  mkdir -p "$work/$target"
  log=$work/$target-$runs.log  # a short run beside a long one keeps its own log
  start=$SECONDS
  "$program" -runs="$runs" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$target-" "$work/$target" "fuzz/corpus/$target" >"$log" 2>&1
  result=$?
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  corpus=$(find "$work/$target" "fuzz/corpus/$target" -type f | wc -l)
  if [[ $result -eq 0 ]]; then
    echo "$target: ${executed:-?} executions in $((SECONDS - start)) s, corpus $corpus inputs, nothing found"
  else
    grep -E '^(broken:|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" | head -n 8
    echo "$target: stopped after ${executed:-?} executions with a finding (log $log)"
    status=1
  fi
done
exit $status
