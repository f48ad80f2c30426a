#!/usr/bin/env bash
# Starts the Pathloom window under Xvfb with an example document and writes a PNG of it.
#   scripts/screenshot.sh [OUTPUT.png [DOCUMENT.plm]]
# Defaults: docs/screenshot.png and examples/network.plm (a small graph drawn through the model
# when there is no example document). BUILD_DIR picks the build directory (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

output=${1:-docs/screenshot.png}
document=${2:-}
if [ -z "$document" ] && [ -f examples/network.plm ]; then
  document=examples/network.plm
fi
build_dir=${BUILD_DIR:-build}

scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j 2 --target pathloom-screenshot
mkdir -p "$(dirname "$output")"
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build_dir/tools/pathloom-screenshot" window "$output" ${document:+"$document"}
