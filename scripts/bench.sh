#!/usr/bin/env bash
# Builds the win64 and native presets and runs the whole-program comparison under Wine: the
# installer against its floors and the NSIS peer (start until the first page, cost per package,
# peak memory, file size), all in one run. Prints the table and puts it into bench/README.md
# between its markers. Figures move with the machine's load: run it on a quiet machine.
#
#   scripts/bench.sh [runs]      (default 5 package runs and 10 starts per subject)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
bash scripts/setup.sh
for preset in win64 native; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

table=build/native/bench-work/compare-table.md
build/native/bench/compare_bench "$runs" "$table"

readme=bench/README.md
begin='<!-- compare_bench table -->'
end='<!-- end of the table -->'
grep -qF "$begin" "$readme" || { echo "bench: no marker '$begin' in $readme" >&2; exit 1; }
awk -v begin="$begin" -v end="$end" -v table="$table" '
  $0 == begin { print; while ((getline line < table) > 0) print line; skip = 1; next }
  $0 == end { skip = 0 }
  !skip { print }
' "$readme" >"$readme.new"
mv "$readme.new" "$readme"
echo "bench: the table is in $readme"
