# shellcheck shell=bash
# shellcheck disable=SC2154  # its settings come from scripts/demo.sh and demo/session.sh
# The walk through the wizard when nobody can click (an Xvfb of the demo's own),
# sourced by scripts/demo.sh: the UI driver of the Wine tests clicks and presses
# keys as a user would, and a screenshot is saved after every step.

driver=$root/build/win64/driver.exe

# Step name, then the driver's commands (separated by " ; ") that lead to it. A
# name with @ in front saves no screenshot; @restart waits until the restart
# has ended the installer and the demo has played the logon.
walk_steps=(
  "welcome|wait TFWillkommen 30000"
  "about|click TFWillkommen BInfo ; wait TFAbout 10000"
  "about-installer|press TFAbout ctrl+tab"
  "licence|click TFAbout BClose ; gone TFAbout 5000 ; click TFWillkommen BWeiter ; wait TFLizenz 10000"
  "licence-accepted|click TFLizenz CBAnnehmen ; waitenabled TFLizenz BWeiter 5000"
  "method|click TFLizenz BWeiter ; wait TFMethode 10000 ; press TFMethode down"
  "advanced|press TFMethode tab ; press TFMethode space ; wait TFErweitert 10000 ; press TFErweitert home"
  "context-menu|press TFErweitert apps ; wait #32768 5000"
  "details|press TFErweitert down ; press TFErweitert down ; press TFErweitert enter ; wait TFDetails 10000"
  "options|click TFDetails BClose ; gone TFDetails 5000 ; press TFErweitert ctrl+tab"
  "summary|click TFErweitert BWeiter ; wait TFStart 10000"
  "installation|click TFStart BWeiter ; wait TFKopieren 10000"
  "restart-prompt|wait TForm1 60000"
  "@restart|click TForm1 Button1"
  "after-the-logon|wait TFKopieren 60000"
  "finish|wait TFEnde 60000"
  "end|click TFEnde BAbbrechen ; gone TFEnde 10000"
)

walk_step=0
# Saves the screen as <step number>-<name>.png once the windows have painted.
step_screenshot() {
  walk_step=$((walk_step + 1))
  sleep 0.7
  import -display "$DISPLAY" -window root "$shots/$(printf '%02d' "$walk_step")-$1.png" 2>>"$log" ||
    true
}

# Runs the driver's commands of one step; prints what failed and returns 1 then.
drive() {
  local output status=0
  output=$(LC_ALL=$locale "$wine" "$driver" "$@" 2>>"$log" 9>&-) || status=$?
  if ((status)); then
    echo "demo: the walk stopped: $(grep '^error:' <<<"$output" || echo "driver exit code $status")" >&2
    return 1
  fi
}

# Every step in turn; stops at the first that fails. Argument: the process of
# the installer that the walk starts with.
walk_wizard() {
  local first=$1 step name commands
  for step in "${walk_steps[@]}"; do
    name=${step%%|*}
    read -ra commands <<<"${step#*|}"
    drive "${commands[@]}" || return 1
    if [[ $name == @restart ]]; then
      while kill -0 "$first" 2>/dev/null; do sleep 0.2; done
      continue
    fi
    # Before the restart, the demo takes the run-once value away (take_run_once).
    [[ $name == restart-prompt ]] && until [[ -s $logon_file ]]; do sleep 0.2; done
    step_screenshot "$name"
    echo "demo: $name ($SECONDS s)"
  done
}
