#!/usr/bin/env bash
# Times the same sweeps through pathloom-run with 1 and 2 jobs and through pathloom.sweep on a
# Dask LocalCluster of 1 and 2 workers (a Release build of both), and checks that their rows are
# the same bytes. Needs Debian's python3-distributed.
#   bench/dask.sh [REPEATS]
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target write_documents pathloom-run _pathloom pathloom_python >/dev/null
documents="$(mktemp -d)"
trap 'rm -rf "$documents"' EXIT
"$build_dir"/bench/write_documents "$documents"
PYTHONPATH="$build_dir/python" /usr/bin/python3 -W ignore::DeprecationWarning bench/dask_bench.py \
  "$build_dir/pathloom-run" "$documents" "${1:-3}"
