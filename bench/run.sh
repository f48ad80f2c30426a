#!/usr/bin/env bash
# Builds the benchmarks with optimisation in build-bench/ and runs them.
#   bench/run.sh            walks, then a document of 1,000,000 nodes and 3,000,000 links
#   bench/run.sh walks      walks only
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target walk_bench document_bench
"$build_dir"/bench/walk_bench
if [ "${1:-}" != "walks" ]; then
  "$build_dir"/bench/document_bench
fi
