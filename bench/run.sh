#!/usr/bin/env bash
# Builds the benchmarks with optimisation in build-bench/ and runs them.
#   bench/run.sh            walks, runs through pathloom-run, a document of 1,000,000 nodes
#   bench/run.sh walks      walks only
#   bench/run.sh samples    sampled runs: speed, memory, samples until the cheapest path is learned
#   bench/run.sh history    what the run history and its CSV cost a run
#   bench/run.sh pursuit    the pursuit schemes' learning step against LRI's on the same samples
#   bench/run.sh draws      link draws per second: every link stochastic against fixed weights,
#                           and the stochastic roads' experiment table (examples/)
#   bench/run.sh runner     the benchmark graphs as documents, run through pathloom-run
#   bench/run.sh imports    imports of files shaped to take quadratic time, each within 2 s
#   bench/run.sh plain [N]  pathloom-run side by side with the plain program over arrays
#                           (bench/plain_run.cpp): their outputs compared byte for byte, the
#                           better of N runs each (default 3) in CPU time, and the ratios
#   bench/run.sh exact-math [N]  the draws' log and cos against the C library's and 113-bit
#                           references on N arguments each (default 10,000,000; a few minutes)
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."

what="${1:-all}"
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target walk_bench sample_bench draws_bench history_bench pursuit_bench document_bench write_documents import_bench pathloom-run plain_run side_by_side

if [ "$what" = all ] || [ "$what" = walks ]; then
  "$build_dir"/bench/walk_bench
fi

if [ "$what" = all ] || [ "$what" = samples ]; then
  "$build_dir"/bench/sample_bench
fi

if [ "$what" = all ] || [ "$what" = draws ]; then
  "$build_dir"/bench/draws_bench
  printf '\nexamples/stochastic-roads.plm: LRI, mean threshold, variable action set, until 0.95, 100 seeds\n'
  start=$(date +%s%N)
  "$build_dir"/pathloom-run examples/stochastic-roads.plm --method sample --source Depot \
    --dest Port --threshold mean --action-set variable --scheme LRI --until 0.95 \
    --samples 200000 --sweep reward=0.005,0.01,0.05,0.1 --sweep seed=1:100:1 --summary |
    cut -d, -f4,9-
  end=$(date +%s%N)
  printf 'the sweep of 400 runs took %.2f s\n' "$(awk "BEGIN { print ($end - $start) / 1e9 }")"
fi

if [ "$what" = exact-math ]; then
  cmake --build "$build_dir" -j 2 --target exact_math
  "$build_dir"/bench/exact_math "${2:-10000000}"
fi

if [ "$what" = all ] || [ "$what" = history ]; then
  "$build_dir"/bench/history_bench
fi

if [ "$what" = all ] || [ "$what" = pursuit ]; then
  "$build_dir"/bench/pursuit_bench
fi

documents="$(mktemp -d)"
trap 'rm -rf "$documents"' EXIT
if [ "$what" = all ] || [ "$what" = runner ] || [ "$what" = plain ]; then
  "$build_dir"/bench/write_documents "$documents"
fi

if [ "$what" = all ] || [ "$what" = plain ]; then
  printf '\npathloom-run and the plain program, the same output byte for byte\n'
  "$build_dir"/bench/side_by_side "$build_dir"/pathloom-run "$build_dir"/bench/plain_run \
    "$documents" "$documents/versus.txt" "${2:-3}"
fi

if [ "$what" = all ] || [ "$what" = runner ]; then
  printf '\nthrough pathloom-run (a whole run; a run past 32767 paths ends with "Overflow")\n'
  printf '%-26s %8s %10s %s\n' document seconds status paths
  while read -r file args; do
    start=$(date +%s%N)
    # shellcheck disable=SC2086
    result=$("$build_dir"/pathloom-run "$documents/$file" $args --json --quiet || true)
    end=$(date +%s%N)
    status=$(printf '%s' "$result" | grep -o '"status": "[a-z-]*"' | cut -d'"' -f4)
    paths=$(printf '%s' "$result" | grep -o '"pathCount": [0-9]*' | cut -d' ' -f2)
    printf '%-26s %8.3f %10s %s\n' "$file" "$(awk "BEGIN { print ($end - $start) / 1e9 }")" "$status" "$paths"
  done < "$documents/commands.txt"
fi

if [ "$what" = all ] || [ "$what" = imports ]; then
  "$build_dir"/bench/import_bench
fi

if [ "$what" = all ]; then
  "$build_dir"/bench/document_bench
fi
