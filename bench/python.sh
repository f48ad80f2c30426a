#!/usr/bin/env bash
# Times the same runs through the Python module and through pathloom-run (a Release build of
# both), what a history adds to each, two runs on two Python threads, and a long sampled run
# that lists every path it learns.
#   bench/python.sh [REPEATS [listed]]     with "listed", only the last
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target write_documents pathloom-run _pathloom pathloom_python >/dev/null
documents="$(mktemp -d)"
trap 'rm -rf "$documents"' EXIT
"$build_dir"/bench/write_documents "$documents"
PYTHONPATH="$build_dir/python" /usr/bin/python3 bench/python_bench.py "$build_dir/pathloom-run" \
  "$documents" "$documents/versus.txt" "${1:-3}" ${2:+"$2"}
