#!/usr/bin/env bash
# Makes the screenshots of the README's first experiment under Xvfb: draws a triangle with the
# mouse, sets the weights, runs from node 0 to node 2 with step delay and photographs each step;
# the canvas as a workbench (canvas.png: the run's ends badged, the overview, a context menu); and
# the window at first sight with its panels (panels.png, on a screen of 1600 x 1000).
#   scripts/screenshot-guide.sh [OUTPUT_FOLDER]     (default docs/guide)
# BUILD_DIR picks the build directory (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

output=${1:-docs/guide}
build_dir=${BUILD_DIR:-build}

scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j 2 --target pathloom-screenshot
mkdir -p "$output"
xvfb-run -a -s "-screen 0 1024x768x24" "$build_dir/tools/pathloom-screenshot" guide "$output"
xvfb-run -a -s "-screen 0 1024x768x24" "$build_dir/tools/pathloom-screenshot" canvas \
  "$output/canvas.png" examples/network.plm S D
xvfb-run -a -s "-screen 0 1600x1000x24" "$build_dir/tools/pathloom-screenshot" panels \
  "$output/panels.png" examples/network.plm
