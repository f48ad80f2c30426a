#!/usr/bin/env bash
# A document of 1,000,000 nodes and 3,000,000 links: time and peak memory of loading and saving.
#   bench/large-document.sh [NODES]
# Writes the document with an independent writer (Python, from the format's tables), then
#   1. pathloom-run loads it, lists it and saves it again: wall time, peak memory, and whether
#      the saved file is the same bytes;
#   2. document_bench builds the same graph in memory and times its save and its load apart
#      (its peak holds two graphs: the built one and the loaded one);
#   3. the window (headless) opens it, draws it and saves it under another name.
# PATHLOOM_BENCH_BUILD names the build folder (configured as Release, without the window), and
# PATHLOOM_BENCH_WINDOW_BUILD the one with the window (step 3 is left out when Qt is missing).
set -euo pipefail
cd "$(dirname "$0")/.."

nodes="${1:-1000000}"
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target document_bench pathloom-run >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The graph of document_bench: node i linked to i+1 and i+2 (simple) and to i+1000
# (unidirectional), around a ring; a unidirectional link's probability is what loading gives it:
# 1 / out-degree, and every node has five links out (four simple ones and its own one-way one).
python3 - "$work/large.plm" "$nodes" <<'PY'
import struct, sys
path, n = sys.argv[1], int(sys.argv[2])
node = struct.Struct("<i32sii")
link = struct.Struct("<iiiff")
with open(path, "wb") as f:
    f.write(b"WOVEN-GRAPHS\0\0" + struct.pack("<iifffi", 0, 0, 0.0, 0.0, 0.0, n))
    for start in range(0, n, 100000):
        f.write(b"".join(node.pack(i, b"\0".ljust(32, b" "), i, 0)
                         for i in range(start, min(n, start + 100000))))
    f.write(struct.pack("<i", 3 * n))
    for start in range(0, n, 100000):
        f.write(b"".join(link.pack(i, (i + step) % n, 1 if step == 1000 else 0, 1.0,
                                   0.2 if step == 1000 else 0.0)
                         for i in range(start, min(n, start + 100000)) for step in (1, 2, 1000)))
    f.write(struct.pack("<i", 0))
PY
printf 'document: %d nodes, %d links, %d bytes\n' "$nodes" $((3 * nodes)) "$(stat -c %s "$work/large.plm")"

/usr/bin/time -o "$work/time" -f '%e %M' "$build_dir"/pathloom-run "$work/large.plm" \
  --save "$work/resaved.plm" >/dev/null
read -r seconds peak < "$work/time"
same=$(cmp -s "$work/large.plm" "$work/resaved.plm" && echo "the same bytes" || echo "OTHER BYTES")
printf 'pathloom-run load, list and save: %s s, peak memory %d MB, saved file: %s\n' \
  "$seconds" $((peak / 1024)) "$same"

/usr/bin/time -o "$work/time" -f '%e %M' "$build_dir"/bench/document_bench "$nodes" "$work/bench.plm"
read -r seconds peak < "$work/time"
printf 'document_bench: %s s in all, peak memory %d MB (two graphs)\n' "$seconds" $((peak / 1024))

window_build="${PATHLOOM_BENCH_WINDOW_BUILD:-build-bench-window}"
if cmake -S . -B "$window_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON \
     -DPATHLOOM_GUI=ON >/dev/null 2>&1 &&
   cmake --build "$window_build" -j 2 --target window_large_document >/dev/null; then
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
    "$window_build"/bench/window_large_document "$work/large.plm" "$work/window.plm"
  same=$(cmp -s "$work/large.plm" "$work/window.plm" && echo "the same bytes" || echo "OTHER BYTES")
  printf 'window: saved file: %s\n' "$same"
else
  echo "window: not built (no Qt 6 here?); left out"
fi
