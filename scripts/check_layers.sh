#!/usr/bin/env bash
# Checks the #include "folder/file" lines under src/ against the layer order
# in src/layers.txt: a folder may include itself and the folders on earlier
# lines, never one on a later line nor one on its own line. A folder there may
# be a path (win32/base): a file belongs to the longest folder of the order
# that holds it, and so does an include. Prints each include against the order
# as
#   file:line: #include "x/y.h": <folder> may not include <folder>
# and each row of the folder tables in README.md and docs/architecture.md
# (rows whose first cell names `src/...` folders) that differs from the order.
# Exits 1 if there is one (or a source file in a folder missing from the
# order, or a folder missing from a table); otherwise prints how many files it checked and exits 0.
#
#   scripts/check_layers.sh [--src DIR] [--count]
#     --src DIR  check DIR instead of src/ (another checkout, a test tree); its
#                layers.txt is the order, the documents beside DIR are read
#     --count    print only the number of includes against the order
#
# Includes in <...> and quoted names without a folder are not checked.
set -uo pipefail

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

order="$src/layers.txt"
[[ -f "$order" ]] || { echo "layers: no layer order $order" >&2; exit 2; }
# One level a line, the lowest first; # starts a comment.
lines=()
while IFS= read -r line; do
  line=${line%%#*}
  read -r -a names <<<"$line"
  ((${#names[@]})) && lines+=("${names[*]}")
done <"$order"

declare -A level
for i in "${!lines[@]}"; do
  for folder in ${lines[$i]}; do level[$folder]=$i; done
done
levels=
for folder in "${!level[@]}"; do levels+="$folder=${level[$folder]} "; done

# The folder tables of the documents beside the checked folder: each row whose
# first cell names `src/...` folders stands for one level of the order, the
# rows in the order's sequence. Every folder of the order without a slash has
# its row; the rooms of one (win32/base) may be left out.
check_tables() {
  local root doc
  root=$(dirname "$src")
  for doc in "$root/README.md" "$root/docs/architecture.md"; do
    [[ -f "$doc" ]] || continue
    awk -v order="$(IFS=';' && echo "${lines[*]}")" -v doc="${doc#"$root"/}" '
      # The folders of a level, sorted and joined by blanks.
      function canon(list,   n, a, i, j, t, out) {
        n = split(list, a, " ")
        for (i = 2; i <= n; ++i)
          for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        for (i = 1; i <= n; ++i) out = out (i > 1 ? " " : "") a[i]
        return out
      }
      function show(level,   shown) {
        shown = "src/" level "/"
        gsub(/ /, "/, src/", shown)
        return shown
      }
      BEGIN {
        levels = split(order, line, ";")
        for (i = 1; i <= levels; ++i) {
          n = split(line[i], folder, " ")
          for (j = 1; j <= n; ++j) known[folder[j]] = 1
        }
      }
      /^\|[ \t]*`src\// {
        cell = $0
        sub(/^\|/, "", cell)
        sub(/\|.*/, "", cell)
        row = ""
        while (match(cell, /`src\/[^`]*`/)) {
          f = substr(cell, RSTART + 5, RLENGTH - 6)
          sub(/\/$/, "", f)
          cell = substr(cell, RSTART + RLENGTH)
          if (!(f in known)) {
            print "table\t" doc ":" FNR ": src/" f "/ is not in the layer order"
            continue
          }
          row = row " " f
          named[f] = 1
        }
        if (row == "") next
        rows[++count] = canon(row)
        at[count] = FNR
      }
      END {
        for (i = 1; i <= levels; ++i) {
          n = split(line[i], folder, " ")
          wanted = ""
          for (j = 1; j <= n; ++j) {
            if (folder[j] in named) wanted = wanted " " folder[j]
            else if (!index(folder[j], "/")) print "table\t" doc ": src/" folder[j] "/ has no row"
          }
          if (wanted != "") expected[++expect] = canon(wanted)
        }
        for (k = 1; k <= count && k <= expect; ++k) {
          if (rows[k] == expected[k]) continue
          print "table\t" doc ":" at[k] ": the row of " show(rows[k]) " stands where the layer" \
                " order has " show(expected[k])
          break
        }
      }
    ' "$doc"
  done
}

files=()
while IFS= read -r -d '' f; do
  files+=("$f")
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' \
           -o -name '*.hpp' -o -name '*.inl' -o -name '*.rc' \) -print0 | sort -z)

# One line per finding: "include", "folder" or "table", a tab, the message.
findings=
if [[ ${#files[@]} -gt 0 ]]; then
  findings=$(awk -v src="$src/" -v levels="$levels" '
    # The folder of the order that holds dir, the longest one; "" if none does.
    function owner(dir) {
      while (dir != "") {
        if (dir in level) return dir
        if (!sub(/\/[^\/]*$/, "", dir)) break
      }
      return ""
    }
    function folder_of(path) {
      sub(/\/[^\/]*$/, "", path)
      return path
    }
    BEGIN {
      n = split(levels, pairs, " ")
      for (i = 1; i <= n; ++i) {
        split(pairs[i], kv, "=")
        level[kv[1]] = kv[2]
      }
      for (i = 1; i < ARGC; ++i) {
        rel = substr(ARGV[i], length(src) + 1)
        if (!index(rel, "/")) {
          print "folder\t" ARGV[i] ": not in a folder of the layer order"
          delete ARGV[i]
        } else if ((home[ARGV[i]] = owner(folder_of(rel))) == "") {
          print "folder\t" ARGV[i] ": folder " substr(rel, 1, index(rel, "/") - 1) \
                " is not in the layer order"
          delete ARGV[i]
        }
      }
    }
    FNR == 1 { folder = home[FILENAME] }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      target = $0
      sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", target)
      sub(/".*/, "", target)
      slash = index(target, "/")
      if (!slash) next
      first = substr(target, 1, slash - 1)
      to = owner(folder_of(target))
      if (to == folder) next
      where = FILENAME ":" FNR ": #include \"" target "\": "
      if (first == "." || first == "..")
        print "include\t" where "a relative path leaves the folder " folder
      else if (to == "")
        print "include\t" where first " is not in the layer order"
      else if (level[to] + 0 >= level[folder] + 0)
        print "include\t" where folder " may not include " to
    }
  ' "${files[@]}")
fi
findings=$(printf '%s\n%s\n' "$findings" "$(check_tables)" | grep -v '^$')

includes=$(grep -c '^include' <<<"$findings")
folders=$(grep -c '^folder' <<<"$findings")
tables=$(grep -c '^table' <<<"$findings")

if $count_only; then
  echo "$includes"
else
  [[ -n "$findings" ]] && cut -f2- <<<"$findings"
  if [[ $includes -eq 0 && $folders -eq 0 && $tables -eq 0 ]]; then
    echo "layers: ${#files[@]} files checked, every include follows the layer order"
  else
    echo "layers: $includes includes against the layer order, $folders files in folders" \
         "outside it, $tables findings in the folder tables (${#files[@]} files checked)"
  fi
fi
[[ $includes -eq 0 && $folders -eq 0 && $tables -eq 0 ]]
