#!/usr/bin/env bash
# Rebuilds the example documents and path files in examples/ from make_examples.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target make_examples
build/examples/make_examples examples
ls -l examples/*.plm examples/*.txt
