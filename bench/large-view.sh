#!/usr/bin/env bash
# The window with a graph of 100,000 nodes and about 200,000 links: the time of a redraw after a
# pan and after a zoom, at 100% and at Fit Graph (optimised build, headless window).
#   bench/large-view.sh [NODES]
# PATHLOOM_BENCH_WINDOW_BUILD names the build folder (configured as Release, with the window).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${PATHLOOM_BENCH_WINDOW_BUILD:-build-bench-window}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON \
  -DPATHLOOM_GUI=ON >/dev/null
cmake --build "$build_dir" -j 2 --target window_view >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build_dir"/bench/window_view "${1:-100000}"
