#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev libgl-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  libgtest-dev
  libgraphviz-dev pkg-config
  clang-format
  fonts-liberation xvfb
  parallel python3-networkx
  # The Python module, its tests and examples, under Debian's python3
  pybind11-dev python3-dev python3-numpy python3-pytest python3-pandas python3-matplotlib
  python3-dask python3-distributed python3-tqdm # sweeps on a Dask cluster; progress bars
  lintian bash-completion # the Debian package's test checks it and tries its completion
  locales # localedef: tests compile de_DE.UTF-8 to check that no number follows the locale
  libgif-dev ffmpeg # run animations: GIF written with giflib, WebM by an ffmpeg process
)
# Extra packages a caller asks for: scripts/fuzz.sh asks for clang and its libFuzzer runtime
# (clang libclang-rt-14-dev); the normal and the sanitized builds use g++ and need none.
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
