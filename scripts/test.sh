#!/usr/bin/env bash
# Runs the source checks (layer order, formatting), builds the native, win64,
# win32 and fuzz presets, runs the unit tests, the Wine tests and each fuzz
# target for a short fixed number of executions, and ends with one line
# "N passed, N failed" over all of them.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

logs=build/test-logs
mkdir -p "$logs"
passed=0
failed=0

# Runs one check of the sources; it counts as one test. What it printed is
# shown when it fails; a failed check does not stop the builds and tests.
run_check() {
  local name=$1
  shift
  echo "== $name"
  if "$@" >"$logs/$name.log" 2>&1; then
    tail -n 1 "$logs/$name.log"
    passed=$((passed + 1))
  else
    cat "$logs/$name.log"
    echo "$name failed"
    failed=$((failed + 1))
  fi
}

run_check layers-test bash scripts/check_layers_test.sh
run_check layers bash scripts/check_layers.sh
run_check format bash scripts/check_format.sh

for preset in native win64 win32 fuzz; do
  echo "== build $preset"
  if ! { cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 ||
         { cat "$logs/configure-$preset.log"; false; }; } ||
     ! cmake --build --preset "$preset"; then
    echo "build of preset $preset failed"
    echo "$passed passed, $((failed + 1)) failed"
    exit 1
  fi
done

# Runs one GoogleTest program and adds its counts; a program that ends
# without its summary (a crash, a hang cut off) counts as one failure.
run_suite() {
  local name=$1
  shift
  echo "== $name"
  "$@" 2>&1 | tee "$logs/$name.log"
  local status=${PIPESTATUS[0]}
  local ran ok bad
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$logs/$name.log" | tail -n 1)
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$logs/$name.log" | tail -n 1)
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$logs/$name.log" | tail -n 1)
  if [[ -z "$ran" ]]; then
    echo "$name ended without a summary (exit code $status)"
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  if [[ $status -ne 0 && ${bad:-0} -eq 0 ]]; then
    echo "$name exited with code $status"
    failed=$((failed + 1))
  fi
}

run_suite unit build/native/tests/unit/unit_tests --gtest_brief=1
run_suite e2e build/native/tests/e2e/e2e_tests

# Each fuzz target runs its corpus and then a fixed number of executions: about 30 s in all.
for target in ini_fuzz=20000 release_fuzz=10000 startup_fuzz=3000 checksum_fuzz=10000; do
  run_check "${target%%=*}" bash fuzz/run.sh "$target"
done

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
