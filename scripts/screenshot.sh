#!/usr/bin/env bash
# Starts the Pathloom window under Xvfb with an example document and writes a PNG of it.
#   scripts/screenshot.sh [OUTPUT.png [DOCUMENT.plm]]
#   scripts/screenshot.sh --curve [OUTPUT.png]   the Learning Curve panel during a sampled run of
#                                               examples/one-way-grid.plm (docs/learning-curve.png)
#   scripts/screenshot.sh --figure [OUTPUT.png]  examples/streets.graphml imported, learned and
#                                               exported as a picture (docs/streets-figure.png)
# Defaults: docs/screenshot.png and examples/network.plm (a small graph drawn through the model
# when there is no example document). BUILD_DIR picks the build directory (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=window
if [ "${1:-}" = --curve ] || [ "${1:-}" = --figure ]; then
  mode=${1#--}
  shift
fi
case $mode in
  curve) output=${1:-docs/learning-curve.png} ;;
  figure) output=${1:-docs/streets-figure.png} ;;
  *) output=${1:-docs/screenshot.png} ;;
esac
document=${2:-}
if [ -z "$document" ] && [ -f examples/network.plm ]; then
  document=examples/network.plm
fi
build_dir=${BUILD_DIR:-build}

scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j 2 --target pathloom-screenshot
mkdir -p "$(dirname "$output")"
if [ "$mode" = figure ]; then
  QT_QPA_PLATFORM=offscreen "$build_dir/tools/pathloom-screenshot" figure "$output" \
    examples/streets.graphml r0c0 r5c5
elif [ "$mode" = curve ]; then
  xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build_dir/tools/pathloom-screenshot" curve "$output" examples/one-way-grid.plm A1 P16 3400
else
  xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build_dir/tools/pathloom-screenshot" window "$output" ${document:+"$document"}
fi
