#!/usr/bin/env bash
# Builds the installer and starts it on the demo release.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64

if [[ ! -f build/win64/Installer.exe ]]; then
  echo "demo: Installer.exe is not part of the build yet; the wizard and the" >&2
  echo "demo release come with the next steps of the project." >&2
  exit 2
fi
