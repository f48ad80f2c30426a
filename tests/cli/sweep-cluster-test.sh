#!/usr/bin/env bash
# The sweep cut into parts, run by GNU Parallel on local job slots and joined, is the local sweep
# byte for byte. Skipped (77) where GNU Parallel is missing.
set -euo pipefail
runner=$1
root=$2
command -v parallel >/dev/null || { echo "GNU Parallel is missing"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
sweep=("$root/examples/triangle.plm" "$root/examples/one-way-grid.plm" --method sample
       --source '#1' --dest '#3' --samples 300 --sweep scheme=LRP,LRI --sweep seed=1:4:1)
"$runner" "${sweep[@]}" --csv "$out/local.csv"
"$root/scripts/sweep-cluster.sh" --runner "$runner" --parts 5 --jobs 2 --output "$out/joined.csv" \
  -- "${sweep[@]}"
cmp "$out/local.csv" "$out/joined.csv"
[ "$(wc -l < "$out/local.csv")" -eq 17 ]
