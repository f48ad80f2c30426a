#!/usr/bin/env bash
# The window under a long run without step delay: event delays, the time from "Stop" to the end
# of the run, and the memory as paths are learned (see bench/window_long_run.cpp).
#   bench/window-long-run.sh [SECONDS] [ROWS COLUMNS]
# Runs headless (QT_QPA_PLATFORM=offscreen unless set). PATHLOOM_BENCH_BUILD names the build
# folder (configured as Release, with the window).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${PATHLOOM_BENCH_BUILD:-build-bench-window}"
scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=ON >/dev/null
cmake --build "$build_dir" -j 2 --target window_long_run >/dev/null
exec "$build_dir"/bench/window_long_run "$@"
