#!/usr/bin/env bash
# Counts the non-blank lines of the .cpp and .h files of the product and of tests/, the Python
# and shell tests under tests/ and the Python module, and prints their ratio (tests / product):
#   product 6066, tests 5040, ratio 0.83
#   scripts/test-ratio.sh [--max R]   with --max, exits 1 when the ratio is above R
# bench/, fuzz/, examples/ and tools/ count on neither side. In a git work tree the files are the
# tracked and new ones that are not ignored, so build folders never count.
set -euo pipefail
cd "$(dirname "$0")/.."

max=
case "${1:-}" in
  "") ;;
  --max)
    max="${2:-}"
    if ! [[ "$max" =~ ^[0-9]+(\.[0-9]+)?$ ]] || [ $# -ne 2 ]; then
      echo "usage: scripts/test-ratio.sh [--max R]   (R a number such as 0.4)" >&2
      exit 2
    fi ;;
  *) echo "usage: scripts/test-ratio.sh [--max R]" >&2; exit 2 ;;
esac

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z -co --exclude-standard -- '*.cpp' '*.h' \
    'tests/*.py' 'tests/*.sh' 'python/pathloom/*.py')
else
  mapfile -d '' files < <(find . \( -name .git -o -path './build*' -o -path './fuzz-build*' \) \
    -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -path './tests/*.py' -o -path './tests/*.sh' \
    -o -path './python/pathloom/*.py' \) -printf '%P\0')
fi

product=0
tests=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue # tracked but deleted in the work tree
  case "$f" in
    bench/* | fuzz/* | examples/* | tools/*) continue ;;
  esac
  n=$(grep -cv '^[[:space:]]*$' "$f" || true)
  case "$f" in
    tests/*) tests=$((tests + n)) ;;
    *) product=$((product + n)) ;;
  esac
done

# awk does the arithmetic so that the decimal point never depends on the locale.
awk -v t="$tests" -v p="$product" -v m="$max" 'BEGIN {
  r = p ? t / p : 0
  printf "product %d, tests %d, ratio %.2f\n", p, t, r
  if (m != "" && r > m + 0) {
    printf "test-ratio: tests / product = %.4f is above the maximum %s\n", r, m > "/dev/stderr"
    exit 1
  }
}'
