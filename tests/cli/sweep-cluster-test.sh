#!/usr/bin/env bash
# The sweep cut into parts, run by GNU Parallel on local job slots and joined, is the local sweep
# byte for byte, with names GNU Parallel or a shell would read as their own; the work folder and the
# output's folder keep what they held. Skipped (77) where GNU Parallel is missing.
set -euo pipefail
runner=$1
root=$2
command -v parallel >/dev/null || { echo "GNU Parallel is missing"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
dir="$out/a {} {1} {.} 'b' \$c"
mkdir -p "$dir/work"
cp "$root/examples/triangle.plm" "$dir/tri {}.plm"
cp "$root/examples/one-way-grid.plm" "$dir/grid {=1=}.plm"
echo kept > "$dir/work/own file"
echo kept > "$dir/joined.csv.tmp"
sweep=("$dir/tri {}.plm" "$dir/grid {=1=}.plm" --method sample
       --source '#1' --dest '#3' --samples 300 --sweep scheme=LRP,LRI --sweep seed=1:4:1)
"$runner" "${sweep[@]}" --csv "$out/local.csv"
"$root/scripts/sweep-cluster.sh" --runner "$runner" --parts 5 --jobs 2 --workdir "$dir/work" \
  --output "$dir/joined.csv" -- "${sweep[@]}"
cmp "$out/local.csv" "$dir/joined.csv"
[ "$(wc -l < "$out/local.csv")" -eq 17 ]
[ "$(ls -A "$dir/work")" = "own file" ]
[ "$(cat "$dir/joined.csv.tmp")" = kept ]
[ "$(stat -c %a "$dir/joined.csv")" = "$(printf '%o' $((0666 & ~$(umask))))" ]
