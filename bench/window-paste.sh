#!/usr/bin/env bash
# Edit > Paste of a graph without positions in the window: the longest stall of the window's
# thread while the pasted graph is laid out (see bench/window_paste.cpp).
#   bench/window-paste.sh [NODES]
# PATHLOOM_BENCH_WINDOW_BUILD names the build folder (configured as Release, with the window).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${PATHLOOM_BENCH_WINDOW_BUILD:-build-bench-window}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON \
  -DPATHLOOM_GUI=ON >/dev/null
cmake --build "$build_dir" -j 2 --target window_paste >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build_dir"/bench/window_paste "${1:-300000}"
