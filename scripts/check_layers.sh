#!/usr/bin/env bash
# Checks the #include "folder/file" lines under src/ against the layer order
# below: a folder may include itself and the folders below it, never one above
# it nor a peer on its own level. Prints each include against the order as
#   file:line: #include "x/y.h": <folder> may not include <folder>
# and exits 1 if there is one (or a source file in a folder missing from the
# order); otherwise prints how many files it checked and exits 0.
#
#   scripts/check_layers.sh [--src DIR] [--count]
#     --src DIR  check DIR instead of src/ (another checkout, a test tree)
#     --count    print only the number of includes against the order
#
# Includes in <...> and quoted names without a folder are not checked.
set -uo pipefail

# The layer order, from the bottom. Folders on one line share a level: they may
# not include each other. A new folder under src/ goes in here deliberately.
layers=(
  "platform"
  "ui"
  "release"
  "tray"
  "frame"      # the page frame and the context the pages share
  "about finish"
  "engine"
  "wizard"
  "app"
  "check"      # the release checker: reads a release with the code of the levels below
)
# Folders beside the order: they may include any folder, and no other folder
# may include anything of theirs (win32/portable/ is part of win32).
beside=(win32)

usage() {
  sed -n '/^#   scripts/,/^#     --count/s/^# \{0,1\}//p' "$0"
}

src=
count_only=false
while (($#)); do
  case $1 in
    --src)
      [[ $# -ge 2 ]] || { usage >&2; exit 2; }
      src=$2
      shift
      ;;
    --count) count_only=true ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
  shift
done
if [[ -z "$src" ]]; then
  cd "$(dirname "$0")/.." || exit 2
  src=src
fi
src=${src%/}
[[ -d "$src" ]] || { echo "layers: no folder $src" >&2; exit 2; }

declare -A level
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do level[$folder]=$i; done
done
for folder in "${beside[@]}"; do level[$folder]=beside; done
levels=
for folder in "${!level[@]}"; do levels+="$folder=${level[$folder]} "; done

files=()
while IFS= read -r -d '' f; do
  files+=("$f")
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' \
           -o -name '*.hpp' -o -name '*.inl' -o -name '*.rc' \) -print0 | sort -z)

# One line per finding: "include" or "folder", a tab, the message.
findings=
placed=()
for f in "${files[@]}"; do
  rel=${f#"$src"/}
  if [[ "$rel" != */* ]]; then
    findings+=$'folder\t'"$f: not in a folder of the layer order"$'\n'
  elif [[ -z "${level[${rel%%/*}]:-}" ]]; then
    findings+=$'folder\t'"$f: folder ${rel%%/*} is not in the layer order"$'\n'
  else
    placed+=("$f")
  fi
done

if [[ ${#placed[@]} -gt 0 ]]; then
  findings+=$(awk -v src="$src/" -v levels="$levels" '
    BEGIN {
      n = split(levels, pairs, " ")
      for (i = 1; i <= n; ++i) {
        split(pairs[i], kv, "=")
        level[kv[1]] = kv[2]
      }
    }
    FNR == 1 {
      folder = substr(FILENAME, length(src) + 1)
      folder = substr(folder, 1, index(folder, "/") - 1)
    }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      target = $0
      sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", target)
      sub(/".*/, "", target)
      slash = index(target, "/")
      if (!slash) next
      to = substr(target, 1, slash - 1)
      if (to == folder) next
      where = FILENAME ":" FNR ": #include \"" target "\": "
      if (to == "." || to == "..")
        print "include\t" where "a relative path leaves the folder " folder
      else if (!(to in level))
        print "include\t" where to " is not in the layer order"
      else if (level[to] == "beside")
        print "include\t" where folder " may not include " to
      else if (level[folder] == "beside")
        next
      else if (level[to] + 0 >= level[folder] + 0)
        print "include\t" where folder " may not include " to
    }
  ' "${placed[@]}")
fi
findings=${findings%$'\n'}

includes=$(grep -c '^include' <<<"$findings")
folders=$(grep -c '^folder' <<<"$findings")

if $count_only; then
  echo "$includes"
else
  [[ -n "$findings" ]] && cut -f2- <<<"$findings"
  if [[ $includes -eq 0 && $folders -eq 0 ]]; then
    echo "layers: ${#files[@]} files checked, every include follows the layer order"
  else
    echo "layers: $includes includes against the layer order, $folders files in folders" \
         "outside it (${#files[@]} files checked)"
  fi
fi
[[ $includes -eq 0 && $folders -eq 0 ]]
