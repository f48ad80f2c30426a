#!/usr/bin/env bash
# Times the same runs through the Python module and through pathloom-run (a Release build of
# both), what a history adds to each, two runs on two Python threads, and a long sampled run
# that lists every path it learns; or, with "dask", the same sweeps through pathloom-run with 1
# and 2 jobs and through pathloom.sweep on a Dask LocalCluster of 1 and 2 workers, their rows
# checked to be the same bytes (needs Debian's python3-distributed).
#   bench/python.sh [REPEATS [listed|dask]]     with "listed", only the long listed run
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target write_documents pathloom-run _pathloom pathloom_python >/dev/null
documents="$(mktemp -d)"
trap 'rm -rf "$documents"' EXIT
"$build_dir"/bench/write_documents "$documents"
if [ "${2:-}" = dask ]; then
  PYTHONPATH="$build_dir/python" /usr/bin/python3 -W ignore::DeprecationWarning bench/dask_bench.py \
    "$build_dir/pathloom-run" "$documents" "${1:-3}"
  exit
fi
PYTHONPATH="$build_dir/python" /usr/bin/python3 bench/python_bench.py "$build_dir/pathloom-run" \
  "$documents" "$documents/versus.txt" "${1:-3}" ${2:+"$2"}
