#!/usr/bin/env bash
# Runs the source checks (layer order, formatting), builds the native, win64,
# win32 and fuzz presets, runs the signing test on the win64 programs, the unit
# tests, the Wine tests (all of them against the win64 build, the suites of the
# 32-bit road against the win32 build where this machine runs 32-bit programs)
# and each fuzz target for a short fixed number of executions, and ends with one line
#   N passed, N failed (unit N; Wine win64 N; Wine win32 N)
# over all of them; the part in brackets counts the tests of each program.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

logs=build/test-logs
mkdir -p "$logs"
passed=0
failed=0
counts=()
checks=0

# Runs one check of the sources; it counts as one test. What it printed is
# shown when it fails; a failed check does not stop the builds and tests.
run_check() {
  local name=$1
  shift
  echo "== $name"
  checks=$((checks + 1))
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

# Signing the built programs with a throwaway certificate; they still run under Wine.
run_check sign-test bash scripts/sign_test.sh build/win64

# Runs one GoogleTest program and adds its counts; a program that ends
# without its summary (a crash, a hang cut off) counts as one failure.
run_suite() {
  local name=$1 log="$logs/${1// /-}.log"
  shift
  echo "== $name"
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local ran ok bad
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" | tail -n 1)
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -n 1)
  if [[ -z "$ran" ]]; then
    echo "$name ended without a summary (exit code $status)"
    failed=$((failed + 1))
    counts+=("$name ended without a summary")
    return
  fi
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  counts+=("$name $ran")
  if [[ $status -ne 0 && ${bad:-0} -eq 0 ]]; then
    echo "$name exited with code $status"
    failed=$((failed + 1))
  fi
}

run_suite unit build/native/tests/unit/unit_tests --gtest_brief=1
run_suite "Wine win64" build/native/tests/e2e/e2e_tests

# The 32-bit program under Wine's WOW64, in a prefix of its own (build/native/wine-win32):
# the suites of the silent road, the restart cycle, the outcomes, the wizard and the DLL
# search, which meet what differs for a 32-bit program on 64-bit Windows, and the headers
# of the 32-bit program files.
win32_suites='Smoke.*:SystemVersions.*:Restart.*:RestartLoop.*:Unattended.*:Outcome.*:WizardWalk.*:DllPlanting.*:ProgramFiles.*'
win32_status=$(cat build/wine32.status 2>/dev/null || echo "skipped: scripts/setup.sh did not say")
if [[ "$win32_status" == ready ]]; then
  run_suite "Wine win32" env INSTALLER_WINDOWS_BUILD_DIR="$PWD/build/win32" \
    build/native/tests/e2e/e2e_tests --gtest_filter="$win32_suites"
else
  echo "== Wine win32"
  echo "Wine win32 $win32_status"
  counts+=("Wine win32 $win32_status")
fi

# Each fuzz target runs its corpus and then a fixed number of executions: about 30 s in all.
for target in ini_fuzz=20000 release_fuzz=10000 startup_fuzz=3000 checksum_fuzz=10000 package_fuzz=10000; do
  run_check "${target%%=*}" bash fuzz/run.sh "$target"
done

counts+=("checks and fuzz runs $checks")
summary=$(printf '%s; ' "${counts[@]}")
echo "$passed passed, $failed failed (${summary%; })"
[[ $failed -eq 0 ]]
