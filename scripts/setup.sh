#!/usr/bin/env bash
# Installs what the project needs from Debian's packages, when it is missing.
# Quiet and quick when everything is already there; safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  wine64 fonts-wine
  xvfb xauth x11-utils imagemagick
  clang-format
  clang libclang-rt-14-dev
  nsis
  wixl msitools
  osslsigncode openssl
  gcab
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "setup: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "setup: done"
fi

# 32-bit Windows programs run under Wine only with Debian's wine32:i386 beside
# wine64, which needs the i386 architecture in dpkg. Where it cannot be had, the
# 64-bit run goes on alone: build/wine32.status says "ready" or why not, and the
# test run reports the 32-bit tests as skipped with that reason.
status_file=build/wine32.status
mkdir -p build

# Whether this machine's kernel runs a 32-bit Linux program at all (some
# sandboxes do not): a program of three instructions, made by binutils.
runs_32bit_programs() {
  local dir
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
  local result=1
  if as --32 -o "$dir/exit.o" "$dir/exit.s" 2>/dev/null &&
     ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null; then
    ("$dir/exit") 2>/dev/null && result=0
  fi
  rm -rf "$dir"
  return $result
}

# Adds the i386 architecture and installs wine32:i386. On failure takes the
# architecture away again: an i386 index that fails to download (seen while a
# mirror synchronised) would otherwise make every later apt-get update fail,
# and the amd64 libraries' versions must match the i386 ones it offers.
install_wine32() {
  local log=build/wine32-setup.log
  echo "setup: installing wine32:i386 for the 32-bit Wine tests"
  "${sudo[@]}" dpkg --add-architecture i386
  "${sudo[@]}" apt-get update -qq >"$log" 2>&1 || true
  if "${sudo[@]}" apt-get install -y -qq --no-install-recommends wine32:i386 >>"$log" 2>&1; then
    echo ready >"$status_file"
    return
  fi
  local reason
  reason=$(grep -m 1 '^E:' "$log" | sed 's/^E: //')
  "${sudo[@]}" dpkg --remove-architecture i386 >>"$log" 2>&1 &&
    "${sudo[@]}" apt-get update -qq >>"$log" 2>&1
  echo "skipped: wine32:i386 could not be installed (${reason:-see $log}); the i386 architecture was taken away again" |
    tee "$status_file"
}

# wine32 installed is not yet wine32 that runs: a 32-bit Windows program
# (cmd.exe, told to end with 7) in a prefix of its own, made for the check.
runs_32bit_windows_programs() {
  local prefix log=build/wine32-check.log rc=0
  prefix=$(mktemp -d)
  env -u DISPLAY WINEPREFIX="$prefix" WINESERVER=/usr/lib/wine/wineserver64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=d" \
    timeout 300 /usr/lib/wine/wine cmd /c "exit 7" >"$log" 2>&1 || rc=$?
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  [[ $rc -eq 7 ]]
}

if ! runs_32bit_programs; then
  echo "skipped: this machine does not run 32-bit programs (its kernel refuses a 32-bit Linux program: exec format error)" >"$status_file"
elif [[ "$(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null || true)" == "install ok installed" ]]; then
  echo ready >"$status_file"
else
  install_wine32
fi
if [[ "$(cat "$status_file")" == ready ]] && ! runs_32bit_windows_programs; then
  echo "skipped: wine32:i386 is installed but a 32-bit program did not run under it ($(tail -n 1 build/wine32-check.log)); see build/wine32-check.log" |
    tee "$status_file"
fi
