#!/usr/bin/env bash
# Checks that every C++ source under src/, tests/, bench/ and fuzz/ is laid out as
# .clang-format says. Prints each file that clang-format would change and
# exits 1 if there is one; fix them with "clang-format -i FILE...".
# Checks the files git knows or would add (tracked, or new and not ignored),
# so a file just created counts as well. CLANG_FORMAT names another binary.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
  echo "format: $clang_format not found (Debian package clang-format; scripts/setup.sh installs it)"
  exit 2
fi
# Other releases lay some constructs out differently: the layout in the tree
# is the one of the release scripts/setup.sh installs.
version=$("$clang_format" --version | sed -n 's/.*clang-format version \([0-9]*\)\..*/\1/p')
[[ "$version" == 14 ]] || echo "format: note: clang-format ${version:-of unknown version}, the tree follows clang-format 14"

files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  while IFS= read -r -d '' f; do
    [[ -f "$f" ]] && files+=("$f")
  done < <(git ls-files -z --cached --others --exclude-standard -- \
             'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
             'fuzz/*.cpp' 'fuzz/*.h')
else
  while IFS= read -r -d '' f; do
    files+=("$f")
  done < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null)
fi
if [[ ${#files[@]} -eq 0 ]]; then
  echo "format: no sources found"
  exit 2
fi

# One run over every file: each difference is reported as
# "file:line:column: error: code should be clang-formatted".
output=$("$clang_format" --style=file --dry-run -Werror "${files[@]}" 2>&1)
status=$?
mapfile -t offending < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' \
                           <<<"$output" | sort -u)

if [[ $status -ne 0 && ${#offending[@]} -eq 0 ]]; then
  # Failed for another reason, e.g. an unreadable .clang-format.
  echo "$output"
  echo "format: $clang_format failed with exit code $status"
  exit 2
fi
if [[ ${#offending[@]} -gt 0 ]]; then
  printf '%s\n' "${offending[@]}"
  echo "format: ${#offending[@]} of ${#files[@]} files need clang-format -i"
  exit 1
fi
echo "format: all ${#files[@]} files formatted"
