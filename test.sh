#!/usr/bin/env bash
# Installs what is missing, builds in build/ with 2 jobs and runs every test.
#   ./test.sh             the normal build and the whole suite
#   ./test.sh --sanitize  the same suite built with AddressSanitizer and UBSan in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"

build_dir=build
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-sanitize
  cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DPATHLOOM_SANITIZE=ON)
  shift
fi

scripts/install-deps.sh
cmake -S . -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" -j 2
cd "$build_dir"
ctest --output-on-failure -j 2 "$@"
