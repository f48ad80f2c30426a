#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with 2 jobs and runs every test.
#   ./test.sh                     the normal build in build/ and the whole suite
#   ./test.sh --sanitize          the same suite built with AddressSanitizer (leaks included) and
#                                 UBSan in build-sanitize/; any finding fails its test
#   ./test.sh --sanitize --no-gui the sanitized suite without the window and its widget tests
# Further arguments go to ctest (-R NAME, ...).
set -euo pipefail
cd "$(dirname "$0")"

build_dir=build
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build_dir=build-sanitize
  gui=ON
  if [ "${1:-}" = "--no-gui" ]; then
    gui=OFF
    shift
  fi
  cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DPATHLOOM_SANITIZE=ON -DPATHLOOM_GUI="$gui")
  # Leak checks are on by default; the rest make use-after-return and static-order faults
  # visible too. Callers may set their own.
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
fi

scripts/install-deps.sh
scripts/check-format.sh
# Warnings are errors here and in CI; a build of its own (cmake alone, ./run.sh on a fresh
# build/) keeps them warnings, so that a newer compiler never stops a user.
cmake -S . -B "$build_dir" "${cmake_args[@]}" -DPATHLOOM_WERROR=ON >/dev/null
cmake --build "$build_dir" -j 2
cd "$build_dir"
ctest --output-on-failure -j 2 "$@"
