# shellcheck shell=bash
# shellcheck disable=SC2154  # its settings come from scripts/demo.sh, which sources it
# The Wine session of the demo, sourced by scripts/demo.sh: an Xvfb of its own,
# the Wine prefix, starting the installer, playing the logon after a restart,
# screenshots, and stopping exactly what it started.
# Expects demo_dir, release, prefix, shots, log and locale from scripts/demo.sh.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
# An installer with administrator rights, as every program under Wine, leaves
# its run-once value for all users.
run_once='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'

export WINEPREFIX=$prefix WINESERVER=$wineserver WINEDEBUG=-all
export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree,mshtml=d'
# wineboot links Desktop and Documents to $HOME, and deleted files go to its trash.
export HOME=$demo_dir/home

# Wine maps the Linux root to drive Z:.
windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

xvfb_pid=
installer_pid=
wine_started=0

cleanup() {
  if [[ -n $installer_pid ]] && kill -0 "$installer_pid" 2>/dev/null; then
    kill "$installer_pid" 2>/dev/null || true
  fi
  if ((wine_started)); then
    "$wineserver" -k 2>/dev/null || true
    timeout 20 "$wineserver" -w 2>/dev/null || true
  fi
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

# Xvfb on a display number of its own choosing, written to fd 3 once it accepts clients.
start_xvfb() {
  local number_file=$demo_dir/xvfb.display
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$number_file" 9>&- >"$demo_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 150); do
    [[ $(wc -l <"$number_file") -ge 1 ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ $(wc -l <"$number_file") -ge 1 ]] || {
    echo "demo: Xvfb did not start; see $demo_dir/xvfb.log" >&2
    exit 1
  }
  DISPLAY=:$(head -n1 "$number_file")
  export DISPLAY
}

# Wine takes the user's locale (number format, code page) from LC_ALL; only its
# programs get it, as the machine need not have that locale installed.
wine_run() {
  wine_started=1
  LC_ALL=$locale "$wine" "$@" >>"$log" 2>&1 9>&-
}

# Made once and kept: wineboot -i alone takes about 15 s. Argument: Y when a
# window manager looks after the windows, N when there is none.
prepare_prefix() {
  local managed=$1 ready=$prefix/.demo-prefix-ready
  if [[ ! -f $ready ]]; then
    echo "demo: creating the Wine prefix $prefix (once, about 20 s)"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    wine_run wineboot -i
    wine_run reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f
    touch "$ready"
  fi
  # Wine's own Tahoma, without which texts fall back to a wider font and get
  # clipped, and Marlett, which draws the title bars' buttons. Each start, so
  # that a prefix made by an older demo gets them too.
  cp -u /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$prefix/drive_c/windows/Fonts/"
  # Without a window manager every hide would wait about 2 s unless windows stay
  # unmanaged; on a real desktop its window manager gives each page its taskbar button.
  wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f
  # A restart left from an interrupted demo would otherwise be played first.
  wine_run reg delete "$run_once" /v 'rir Eridivu' /f || true
  # The MSI package installs anew only when the earlier demo's tool is gone.
  wine_run msiexec /x "$(windows_path "$release/Data/Werkzeuge/DemoTool.msi")" /qn || true
}

# The current folder is none of the program's business: it starts from elsewhere.
start_installer() {
  wine_started=1
  (cd "$demo_dir/home" && exec env LC_ALL="$locale" "$wine" "$@" >>"$log" 2>&1 9>&-) &
  installer_pid=$!
}

# The command that the next logon would start: the installer's run-once value.
run_once_command() {
  LC_ALL=$locale "$wine" reg query "$run_once" /v 'rir Eridivu' 2>/dev/null 9>&- |
    tr -d '\r' | sed -n 's/^ *rir Eridivu *REG_SZ *//p' || true
}

# Wine's restart would run the run-once value itself and hold every other
# program until it ended, so no click could reach the installer after the
# restart: the demo takes the value away as soon as it appears and plays the
# logon itself. The command waits in logon_file.
logon_file=$demo_dir/logon-command
take_run_once() {
  local command
  command=$(run_once_command)
  [[ -n $command ]] || return 0
  wine_run reg delete "$run_once" /v 'rir Eridivu' /f
  echo "$command" >"$logon_file"
}

# After an installer ended: the logon, when it left its run to be continued.
play_logon() {
  take_run_once
  [[ -s $logon_file && -f $release/rir_eridivu ]] || return 1
  local command
  command=$(<"$logon_file")
  rm -f "$logon_file"
  echo "demo: the installer restarted the computer; logging on again: $command"
  # As Windows splits it: the program, quoted or not, then its switches.
  local program rest switches
  if [[ $command == \"* ]]; then
    command=${command#\"}
    program=${command%%\"*}
    rest=${command#*\"}
  else
    program=${command%% *}
    rest=${command#"$program"}
  fi
  read -ra switches <<<"$rest"
  start_installer "$program" "${switches[@]}"
}

last_sum=
shot_count=0
screenshot() {
  local file=$shots/.new.png sum
  import -display "$DISPLAY" -window root "$file" 2>>"$log" || return 0
  sum=$(convert "$file" rgb:- | md5sum)
  # Unchanged, or nothing shown yet (a black screen): not worth a file.
  if [[ $sum == "$last_sum" || $(convert "$file" -format '%[max]' info:) == 0 ]]; then
    rm -f "$file"
    return 0
  fi
  last_sum=$sum
  shot_count=$((shot_count + 1))
  mv "$file" "$shots/$(printf '%02d' "$shot_count")-$(printf '%03d' "$SECONDS")s.png"
}
