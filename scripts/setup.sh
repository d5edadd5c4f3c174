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
  wixl
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
