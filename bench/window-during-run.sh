#!/usr/bin/env bash
# How the window answers during a run against idle (an accessibility query, opening a menu), and
# its run's speed against pathloom-run's (see bench/window_during_run.cpp).
#   bench/window-during-run.sh [SAMPLES] [PROBES]
# Runs headless (QT_QPA_PLATFORM=offscreen unless set). PATHLOOM_BENCH_BUILD names the build
# folder (configured as Release, with the window).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${PATHLOOM_BENCH_BUILD:-build-bench-window}"
scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_GUI=ON >/dev/null
cmake --build "$build_dir" -j 2 --target window_during_run pathloom-run >/dev/null
exec "$build_dir"/bench/window_during_run "$build_dir"/pathloom-run "$@"
