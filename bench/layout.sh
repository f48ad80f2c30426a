#!/usr/bin/env bash
# The automatic layout of graphs without positions: wall time and peak memory of each, in a
# process of its own, and of importing a chain through pathloom-run.
#   bench/layout.sh [LIMIT]   a layout still working after LIMIT seconds (300) is stopped
# Shapes (bench/layout_bench.cpp): a complete one-way graph of 50 nodes, 500 nodes in a one-way
# chain with links 250 nodes ahead, a chain of 200,000 nodes; then near the largest that dot
# (320 nodes with long links), neato (a chain of 300) and sfdp (a chain of 10,000) are given.
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-300}"
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target layout_bench pathloom-run >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

printf '%-13s %7s %7s %9s %9s %s\n' shape nodes links seconds 'peak MiB' placement
for shape in complete-dag long-links chain "long-links 320" "chain 300" "chain 10000"; do
  # shellcheck disable=SC2086
  if ! timeout "$limit" "$build_dir"/bench/layout_bench $shape; then
    printf '%-13s stopped: still working after %s s\n' "$shape" "$limit"
  fi
done

# The same chain as a CSV edge list without a node list: pathloom-run imports it, places its
# nodes and lists it.
awk 'BEGIN { print "source,target"; for (i = 1; i < 200000; ++i) print "n" (i - 1) ",n" i }' \
  >"$work/chain.csv"
if /usr/bin/time -f '%e %M' -o "$work/time" timeout "$limit" "$build_dir"/pathloom-run \
     "$work/chain.csv" >/dev/null; then
  awk '{ printf "pathloom-run chain.csv (200,000 nodes): %.2f s, peak %.1f MiB\n", $1, $2 / 1024 }' \
    "$work/time"
else
  printf 'pathloom-run chain.csv (200,000 nodes): stopped or failed within %s s\n' "$limit"
fi
