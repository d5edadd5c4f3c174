#!/usr/bin/env bash
# Tests of scripts/check_layers.sh: each case builds a small tree of sources in
# a temporary folder, runs the check on it and looks at its exit code and at
# the lines it prints. Ends with "N passed, N failed"; exits 1 on a failure.
# shellcheck disable=SC2016  # the backquotes in the tables are Markdown's
set -uo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
check="$repo/scripts/check_layers.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
tree=

# Starts a new tree with the project's layer order; the files come from add.
new_tree() {
  tree="$work/$1/src"
  mkdir -p "$tree"
  cp "$repo/src/layers.txt" "$tree/"
}

# add PATH LINE...: writes the lines to src/PATH of the current tree.
add() {
  local path="$tree/$1"
  shift
  mkdir -p "$(dirname "$path")"
  printf '%s\n' "$@" >"$path"
}

# A tree that follows the order: every level includes the levels below it,
# the rooms of win32 include lower rooms and any portable folder, main.cpp
# includes everything, and the includes the check leaves alone.
good_tree() {
  new_tree "$1"
  add platform/system.h '#pragma once' '#include <string>' '#include <ui/not_checked.h>'
  add ui/form.h '#pragma once' '#include "platform/system.h"' '#include "form_parts.h"'
  add ui/form.cpp '#include "ui/form.h"' '#include "ui/layout.h"'
  add release/settings.h '#include "ui/form.h"' '#include "platform/system.h"'
  add tray/tray_icon.h '#include "release/settings.h"'
  add frame/page_frame.h '#include "tray/tray_icon.h"' '#include "ui/form.h"'
  add about/about_dialog.h '#include "frame/page_frame.h"'
  add finish/finish_page.h '#include "frame/page_frame.h"' '#  include "release/settings.h"'
  add engine/install_page.h '#include "about/about_dialog.h"' '#include "finish/finish_page.h"'
  add wizard/method_page.h '#include "engine/install_page.h"'
  add app/main_form.h '#include "wizard/method_page.h"' '#include "finish/finish_page.h"'
  add win32/main.cpp '#include "app/main_form.h"' '#include "win32/portable/layout.h"' \
      '#include <windows.h>' '#include "win32/dialogs/message_form.h"'
  add win32/portable/layout.h '#include "ui/form.h"'
  add win32/base/handles.h '#include "win32/portable/layout.h"' '#include "platform/system.h"'
  add win32/pictures/pictures.h '#include "win32/base/handles.h"'
  add win32/check/check_files.h '#include "check/release_view.h"' '#include "win32/base/handles.h"'
  add win32/peers/form_peer.h '#include "win32/pictures/pictures.h"' '#include "ui/form.h"'
  add win32/system/registry.cpp '#include "win32/system/win32_system.h"' \
      '#include "win32/pictures/pictures.h"'
  add win32/dialogs/message_form.h '#include "win32/peers/form_peer.h"' \
      '#include "win32/system/win32_system.h"'
  add win32/resources/installer.rc '#include "installer_version.h"'
  add CMakeLists.txt 'add_subdirectory(win32)'
}

# expect NAME STATUS [LINE...]: runs the check on the current tree; passes when
# it exits with STATUS and prints every LINE as a whole line.
expect() {
  local name=$1 status=$2
  shift 2
  local output actual missing=()
  output=$("$check" --src "$tree" 2>&1)
  actual=$?
  for line in "$@"; do
    grep -qxF -- "$line" <<<"$output" || missing+=("$line")
  done
  if [[ $actual -eq $status && ${#missing[@]} -eq 0 ]]; then
    passed=$((passed + 1))
    return
  fi
  failed=$((failed + 1))
  echo "FAILED $name: exit code $actual, expected $status"
  for line in "${missing[@]}"; do echo "  missing line: $line"; done
  sed 's/^/  | /' <<<"$output"
}

# expect_count NAME N: the --count mode prints exactly N.
expect_count() {
  local output
  output=$("$check" --src "$tree" --count 2>&1)
  if [[ "$output" == "$2" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED $1: --count printed '$output', expected '$2'"
  fi
}

good_tree good
expect "a tree that follows the order passes" 0 \
  "layers: 20 files checked, every include follows the layer order"
expect_count "nothing to count in a tree that follows the order" 0

good_tree lower_includes_higher
add ui/control.h '#pragma once' '' '#include "wizard/method_page.h"'
expect "a lower folder may not include a higher one" 1 \
  "$tree/ui/control.h:3: #include \"wizard/method_page.h\": ui may not include wizard"

good_tree just_below_includes_above
add frame/choices.h '#include "about/about_dialog.h"'
expect "frame, just below about, may not include it" 1 \
  "$tree/frame/choices.h:1: #include \"about/about_dialog.h\": frame may not include about"

good_tree about_includes_finish
add about/about_dialog.cpp '#include "about/about_dialog.h"' '#include "finish/restart.h"'
expect "about may not include finish, its peer" 1 \
  "$tree/about/about_dialog.cpp:2: #include \"finish/restart.h\": about may not include finish"

good_tree finish_includes_about
add finish/restart.cpp '#include "about/about_dialog.h"'
expect "finish may not include about, its peer" 1 \
  "$tree/finish/restart.cpp:1: #include \"about/about_dialog.h\": finish may not include about"

good_tree portable_includes_win32
add engine/package_runner.cpp '#include "engine/install_page.h"' '#include "win32/handles.h"'
add app/program.cpp '#include "win32/portable/layout.h"'
expect "no portable folder may include anything under win32/" 1 \
  "$tree/engine/package_runner.cpp:2: #include \"win32/handles.h\": engine may not include win32" \
  "$tree/app/program.cpp:1: #include \"win32/portable/layout.h\": app may not include win32/portable" \
  "layers: 2 includes against the layer order, 0 files in folders outside it, 0 findings in the folder tables (22 files checked)"
expect_count "--count counts every include against the order" 2

good_tree unknown_folder
add helpers/strings.h '#pragma once' '#include "platform/system.h"'
expect "a source file in a folder outside the order fails" 1 \
  "$tree/helpers/strings.h: folder helpers is not in the layer order"
expect_count "a folder outside the order is not an include against it" 0

good_tree unknown_target
add wizard/welcome_page.h '#include "helpers/strings.h"'
expect "an include of a folder outside the order fails" 1 \
  "$tree/wizard/welcome_page.h:1: #include \"helpers/strings.h\": helpers is not in the layer order"

good_tree top_level_file
add main.cpp '#include "app/main_form.h"'
expect "a source file directly in src/ fails" 1 \
  "$tree/main.cpp: not in a folder of the layer order"

good_tree relative_include
add tray/tray_tip.cpp '#include "../wizard/method_page.h"'
expect "a relative include cannot get round the order" 1 \
  "$tree/tray/tray_tip.cpp:1: #include \"../wizard/method_page.h\": a relative path leaves the folder tray"

good_tree room_includes_higher_room
add win32/base/wide_text.cpp '#include "win32/base/handles.h"' '#include "win32/peers/form_peer.h"'
expect "a room of win32 may not include a room above it" 1 \
  "$tree/win32/base/wide_text.cpp:2: #include \"win32/peers/form_peer.h\": win32/base may not include win32/peers"

good_tree rooms_on_one_level
add win32/system/launch.cpp '#include "win32/peers/ui_backend.h"'
add win32/check/check_main.cpp '#include "win32/system/win32_system.h"'
expect "system and peers share a level; release-check's room sees only base" 1 \
  "$tree/win32/system/launch.cpp:1: #include \"win32/peers/ui_backend.h\": win32/system may not include win32/peers" \
  "$tree/win32/check/check_main.cpp:1: #include \"win32/system/win32_system.h\": win32/check may not include win32/system"

good_tree room_includes_top
add win32/dialogs/message_form.cpp '#include "win32/resources/version.h"'
expect "a room may not include the files of win32 itself" 1 \
  "$tree/win32/dialogs/message_form.cpp:1: #include \"win32/resources/version.h\": win32/dialogs may not include win32"

good_tree no_order
rm "$tree/layers.txt"
expect "without its order the check does not run" 2 "layers: no layer order $tree/layers.txt"

# The folder tables of the documents beside src/.
readme_table() {
  add ../README.md '# Layout' '' '| folder | what |' '|---|---|' '| `src/platform/` | os |' \
      '| `src/ui/` | controls |' '| `src/release/` | a release |' '| `src/tray/` | the tray |' \
      '| `src/frame/` | the frame |' '| `src/about/`, `src/finish/` | about; finish |' \
      '| `src/engine/` | runner |' '| `src/wizard/` | pages |' '| `src/app/` | main form |' \
      '| `src/check/` | checker |' "$@" '| `src/win32/` | Windows |' '| `tests/` | tests |'
}

good_tree table_in_order
readme_table '| `src/win32/base/` | wide text |' '| `src/win32/system/`, `src/win32/peers/` | both |'
add ../docs/architecture.md '| `src/platform/`, `src/ui/` | wrong level |'
expect "tables in the order pass; a table is checked in each document" 1 \
  "docs/architecture.md:1: the row of src/platform/, src/ui/ stands where the layer order has src/platform/" \
  "docs/architecture.md: src/release/ has no row" \
  "layers: 0 includes against the layer order, 0 files in folders outside it, 11 findings in the folder tables (20 files checked)"

good_tree table_rows_swapped
readme_table '| `src/win32/peers/` | peers |' '| `src/win32/base/` | base |'
expect "rows in another order than the layers fail" 1 \
  "README.md:15: the row of src/win32/peers/ stands where the layer order has src/win32/base/"

good_tree table_unknown_folder
readme_table '| `src/win32/rooms/` | none such |'
expect "a row of a folder outside the order fails" 1 \
  "README.md:15: src/win32/rooms/ is not in the layer order"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
