#!/usr/bin/env bash
# Builds the installer and starts it on the demo release (demo/) under Wine:
# on your display when DISPLAY is set and reachable, otherwise in an Xvfb of its
# own, saving a screenshot whenever the screen changes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage() {
  cat <<'EOF'
Usage: scripts/demo.sh [--silent] [--english] [--seconds N]
  --silent     start the installer with /silent: no wizard, every package, automatic restart
  --english    the release in English (demo/Language.en.ini, demo/Settings.en.ini)
  --seconds N  without a display: stop after N seconds (default 120)
EOF
}

args=()
language=de
locale=de_DE.UTF-8
seconds=120
while (($#)); do
  case $1 in
    --silent) args=(/silent) ;;
    --english) language=en locale=en_US.UTF-8 ;;
    --seconds)
      [[ ${2:-} =~ ^[0-9]+$ ]] || { usage >&2; exit 2; }
      seconds=$2
      shift
      ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
  shift
done

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
# The release checker that demo/assemble.sh runs on the release.
cmake --preset native >/dev/null
cmake --build --preset native --target release-check

demo_dir=$root/build/demo
release=$demo_dir/release
prefix=$demo_dir/prefix
shots=$demo_dir/screenshots
log=$demo_dir/wine.log
mkdir -p "$demo_dir/home"

# One demo at a time owns the prefix and the release folder. The lock's descriptor
# is closed for every program started, or a lingering wineserver would hold it.
exec 9>"$demo_dir/demo.lock"
if ! flock -n 9; then
  echo "demo: waiting for another demo to end"
  flock 9
fi

bash demo/assemble.sh build/win64 "$release" "$language"
echo "demo: release assembled in $release"

# shellcheck source=demo/session.sh
source demo/session.sh
trap cleanup EXIT
trap 'exit 130' INT TERM

# The probe packages record each run here.
journal=$demo_dir/journal.txt
PROBE_JOURNAL=$(windows_path "$journal")
export PROBE_JOURNAL
tool_folder="$prefix/drive_c/Program Files/Demo Update Pack/DemoTool"
: >"$journal"
: >"$log"

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  on_display=1
  echo "demo: showing the installer on $DISPLAY"
  prepare_prefix Y
else
  on_display=0
  [[ -n ${DISPLAY:-} ]] && echo "demo: display $DISPLAY is not reachable"
  start_xvfb
  rm -rf "$shots"
  mkdir -p "$shots"
  echo "demo: running in an Xvfb of its own ($DISPLAY) for at most $seconds s"
  prepare_prefix N
fi

# Nobody clicks in an Xvfb: the UI driver walks the wizard there, a screenshot
# after each step; a silent run is pictured whenever the screen changes.
walking=0
((!on_display && ${#args[@]} == 0)) && walking=1
# shellcheck source=demo/walk.sh
source demo/walk.sh

SECONDS=0
rm -f "$logon_file"
start_installer "$release/Installer.exe" "${args[@]}"
walk_pid=
if ((walking)); then
  echo "demo: walking through the wizard with the UI driver"
  walk_wizard "$installer_pid" &
  walk_pid=$!
fi
logons=0
while :; do
  if ! kill -0 "$installer_pid" 2>/dev/null; then
    wait "$installer_pid" || true
    installer_pid=
    # At most a few restarts: a release that asks for one at every start would loop.
    if ((logons < 3)) && play_logon; then
      logons=$((logons + 1))
      continue
    fi
    echo "demo: the installer ended after $SECONDS s"
    break
  fi
  take_run_once
  if ((!on_display)); then
    ((walking)) || screenshot
    if ((SECONDS >= seconds)); then
      echo "demo: stopping the installer after $seconds s (--seconds N for longer)"
      break
    fi
  fi
  # A walk waits for the logon that follows the restart: look more often.
  if ((walking)); then sleep 0.5; else sleep 2; fi
done

if [[ -n $walk_pid ]]; then
  kill "$walk_pid" 2>/dev/null || true
  wait "$walk_pid" 2>/dev/null || true
fi
if [[ -s $journal ]]; then
  echo "demo: packages run (from the probes' journal $journal):"
  cut -f2,3 "$journal" | sed 's/^/  /'
fi
if [[ -d $tool_folder ]]; then
  installed=("$tool_folder"/*)
  echo "demo: the MSI package installed ${installed[*]##*/} into $tool_folder"
fi
if ((!on_display)); then
  echo "demo: screenshots ($(find "$shots" -name '*.png' | wc -l)) are in $shots"
fi
