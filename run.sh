#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pathloom with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 2
if [ ! -x build/pathloom ]; then
  echo "Pathloom built its libraries, but there is no window yet."
  exit 0
fi
# A new user gets a graph to run at once; the program itself starts untitled.
if [ $# -eq 0 ]; then
  set -- examples/network.plm
fi
exec build/pathloom "$@"
