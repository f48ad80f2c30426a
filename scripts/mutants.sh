#!/usr/bin/env bash
# A small mutation tester: how many small, deliberate bugs in the product do the tests catch?
#   scripts/mutants.sh [-n N] [-s SEED] [-o FILE] [FOLDER...]
#   -n N      how many mutants to try (default 60)
#   -s SEED   which ones: the same tree and seed always give the same mutants (default 1)
#   -o FILE   also write the report (one line per mutant and the summary) to FILE
#   FOLDER    where to mutate, .cpp and .h files (default: those of io model engine cli document
#             that exist)
# PATHLOOM_MUTANTS_CMAKE_ARGS adds arguments to the configure step, e.g. -DPATHLOOM_GUI=OFF to
# leave the window and its tests out (quicker, but then only the headless tests judge).
#
# A mutant is the program with exactly one small change at one place of the source: a relational
# operator (< <=, > >=, == !=) or a boolean one (&& ||) swapped, an integer constant changed
# (0 to 1, 1 to 0, n to n+1), a negation (!x to x) removed, ++ and --, += and -=, + and -, * and /
# swapped. scripts/mutants.py finds the places, skipping comments, literals, directives and
# anything it cannot tell apart from a template bracket, a pointer or a reference. Each mutant is
# built incrementally and the whole suite is run on it (ctest --stop-on-failure, 120 s a test):
#   caught           a test failed or timed out: the tests notice this bug
#   survived         every test passed: a bug the tests would let through
#   did not compile  the change is not valid C++; it counts for nothing
#   not built        the file is not part of this configuration; it counts for nothing
# score = caught / (caught + survived), in percent. The exit status is 0 whatever the score.
#
# All the work happens in a copy of the work tree (tracked and new files, not build folders) in a
# temporary folder that is removed at the end, also on Ctrl-C: the checkout is never written to.
set -euo pipefail

usage() {
  sed -n '3,10p' "$0" >&2
  exit 2
}

count=60
seed=1
report=
while getopts n:s:o:h opt; do
  case "$opt" in
    n) count=$OPTARG ;;
    s) seed=$OPTARG ;;
    o) report=$(realpath -m -- "$OPTARG") ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[[ "$count" =~ ^[0-9]+$ && "$seed" =~ ^[0-9]+$ ]] || usage

root=$(cd "$(dirname "$0")/.." && pwd)
folders=()
if [ $# -eq 0 ]; then
  for f in io model engine cli document; do
    [ -d "$root/$f" ] && folders+=("$f")
  done
else
  for f in "$@"; do
    f=${f%/}
    [ -d "$root/$f" ] || { echo "mutants.sh: no folder '$f' in $root" >&2; exit 2; }
    folders+=("$f")
  done
fi
read -ra extra_cmake_args <<<"${PATHLOOM_MUTANTS_CMAKE_ARGS:-}"

work=$(mktemp -d "${TMPDIR:-/tmp}/pathloom-mutants.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
src="$work/src"
build="$work/build"
mkdir -p "$src"

say() {
  printf '%s\n' "$*"
  if [ -n "$report" ]; then printf '%s\n' "$*" >>"$report"; fi
}
if [ -n "$report" ]; then : >"$report"; fi

# The copy: what git would commit plus new files, or everything but build folders without git.
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z -co --exclude-standard
else
  find . \( -name .git -o -path './build*' -o -path './fuzz-build*' \) -prune -o \
    \( -type f -o -type l \) -printf '%P\0'
fi | while IFS= read -r -d '' f; do
  if [ -e "$f" ] || [ -L "$f" ]; then printf '%s\0' "$f"; fi # tracked files may be deleted
done | tar --null -T - -cf - | tar -C "$src" -xf -

echo "Building a copy of $root in $work (once, -j 2) ..."
started=$(date +%s)
if ! cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${extra_cmake_args[@]}" >"$work/configure.log" 2>&1; then
  tail -n 30 "$work/configure.log" >&2
  echo "mutants.sh: the unmutated copy does not configure" >&2
  exit 1
fi
if ! ninja -C "$build" -j 2 >"$work/build.log" 2>&1; then
  grep -m 20 -E 'error|FAILED' "$work/build.log" >&2 || tail -n 30 "$work/build.log" >&2
  echo "mutants.sh: the unmutated copy does not build" >&2
  exit 1
fi
built=$(date +%s)
echo "Built in $((built - started)) s. Running the suite once unmutated ..."
if ! (cd "$build" && ctest -j 2 --timeout 120 --output-on-failure) >"$work/ctest.log" 2>&1; then
  sed -n '/tests FAILED/,$p' "$work/ctest.log" >&2
  echo "mutants.sh: the suite fails without any mutant; fix that first" >&2
  exit 1
fi
echo "The suite passes unmutated ($(grep -oE '[0-9]+ tests? failed out of [0-9]+' \
  "$work/ctest.log" | grep -oE '[0-9]+$') tests, $(($(date +%s) - built)) s)."

mapfile -t mutants < <(python3 "$root/scripts/mutants.py" pick "$src" "$count" "$seed" \
  "${folders[@]}")
[ ${#mutants[@]} -gt 0 ] || { echo "mutants.sh: scripts/mutants.py failed" >&2; exit 1; }
places=${mutants[0]}
mutants=("${mutants[@]:1}")
total=${#mutants[@]}
say "$total mutants of $places places in ${folders[*]} (seed $seed)"

caught=0
survived=0
uncompiled=0
unbuilt=0
survivors=()
width=${#total}
i=0
for m in "${mutants[@]}"; do
  i=$((i + 1))
  IFS=$'\x1f' read -r file line col old new text <<<"$m"
  change="$old -> ${new:-(deleted)}"
  t0=$(date +%s)
  cp "$src/$file" "$work/original"
  python3 "$root/scripts/mutants.py" apply "$src" "$file" "$line" "$col" "$old" "$new"

  detail=
  if ! ninja -C "$build" -j 2 >"$work/build.log" 2>&1; then
    status="did not compile"
    uncompiled=$((uncompiled + 1))
    detail=$(grep -m 1 -oE 'error: .*' "$work/build.log" | cut -c 1-70 || true)
  elif grep -q '^ninja: no work to do' "$work/build.log"; then
    status="not built"
    unbuilt=$((unbuilt + 1))
  elif (cd "$build" && ctest -j 2 --stop-on-failure --timeout 120) >"$work/ctest.log" 2>&1; then
    status=survived
    survived=$((survived + 1))
    survivors+=("$file:$line  $change"$'\n'"      $text")
  else
    status=caught
    caught=$((caught + 1))
    # From "  3 - RunTest.Foo (Failed)" under "The following tests FAILED:"
    detail=$(sed -n '/tests FAILED:/,$p' "$work/ctest.log" |
      sed -nE 's/^[[:space:]]*[0-9]+ - (.+) \((.+)\)$/\1 \L\2/p' | head -n 1)
  fi

  # The restored file keeps a fresh time stamp: with the old one back, ninja would keep the
  # mutant's object file.
  cp "$work/original" "$src/$file"
  cmp -s "$work/original" "$src/$file" || { echo "mutants.sh: could not restore $file" >&2; exit 1; }
  detail="${detail:+$detail, }$(($(date +%s) - t0)) s"
  say "$(printf '[%*d/%d] %-15s %s:%s  %s   (%s)' "$width" "$i" "$total" "$status" \
    "$file" "$line" "$change" "$detail")"
done

say ""
say "caught           $caught"
say "survived         $survived"
for s in "${survivors[@]}"; do say "  $s"; done
say "did not compile  $uncompiled"
if [ "$unbuilt" -gt 0 ]; then say "not built        $unbuilt"; fi
if [ $((caught + survived)) -gt 0 ]; then
  judged=$((caught + survived))
  say "score            $(((200 * caught + judged) / (2 * judged)))% ($caught of $judged caught)"
else
  say "score            none (no mutant was caught or survived)"
fi
