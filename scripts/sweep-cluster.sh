#!/usr/bin/env bash
# Spreads a pathloom-run sweep over job slots, here or on many machines, with GNU Parallel, and
# joins the parts into the very CSV one local sweep writes.
#
#   scripts/sweep-cluster.sh [--parts N] [--jobs N] [--sshloginfile FILE] [--workdir DIR]
#                            [--runner PATH] --output OUT.csv -- DOCUMENT... SWEEP-OPTIONS...
#   scripts/sweep-cluster.sh --merge OUT.csv PART-1.csv PART-2.csv ...
#
# The sweep is cut into --parts parts (default 8) of consecutive rows (pathloom-run --part K/N).
# GNU Parallel runs --jobs of them at once on each host (default: one per core); with
# --sshloginfile it runs them on the hosts listed there, which must see the same files at the
# same paths (the runner, the documents and --workdir, as on a cluster's shared file system).
# --merge joins parts written elsewhere (a Slurm job array, say), in the order given.
set -euo pipefail

merge() {
  local output=$1
  shift
  local header
  header=$(head -n 1 "$1")
  for part in "$@"; do
    if [ "$(head -n 1 "$part")" != "$header" ]; then
      echo "sweep-cluster: $part is not a part of the same sweep as $1" >&2
      exit 1
    fi
  done
  {
    printf '%s\n' "$header"
    for part in "$@"; do
      tail -n +2 "$part"
    done
  } > "$output.tmp"
  mv "$output.tmp" "$output"
}

if [ "${1:-}" = --merge ]; then
  shift
  [ $# -ge 2 ] || { echo "usage: $0 --merge OUT.csv PART.csv..." >&2; exit 2; }
  merge "$@"
  exit 0
fi

parts=8
jobs=
sshloginfile=
workdir=
output=
runner="$(cd "$(dirname "$0")/.." && pwd)/build/pathloom-run"
while [ $# -gt 0 ]; do
  case $1 in
    --parts) parts=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --sshloginfile) sshloginfile=$2; shift 2 ;;
    --workdir) workdir=$2; shift 2 ;;
    --runner) runner=$2; shift 2 ;;
    --output) output=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "sweep-cluster: unknown option $1 (the sweep's own arguments come after --)" >&2; exit 2 ;;
  esac
done
if [ -z "$output" ] || [ $# -eq 0 ]; then
  echo "usage: $0 [--parts N] [--jobs N] [--sshloginfile FILE] --output OUT.csv -- DOCUMENT... OPTIONS..." >&2
  exit 2
fi
command -v parallel >/dev/null || { echo "sweep-cluster: GNU Parallel is needed (apt-get install parallel)" >&2; exit 2; }

# Beside the output by default, so that hosts sharing its folder see the parts too.
workdir=${workdir:-$(mktemp -d "$(dirname "$(realpath -m "$output")")/.sweep-parts.XXXXXX")}
trap 'rm -rf "$workdir"' EXIT
options=(--will-cite --halt now,fail=1 -q)
[ -n "$jobs" ] && options+=(--jobs "$jobs")
[ -n "$sshloginfile" ] && options+=(--sshloginfile "$sshloginfile")

# Each part runs on one core: the slots are Parallel's to fill.
seq 1 "$parts" | parallel "${options[@]}" \
  "$runner" "$@" --jobs 1 --part "{}/$parts" --csv "$workdir/part-{}.csv"
files=()
for k in $(seq 1 "$parts"); do
  files+=("$workdir/part-$k.csv")
done
merge "$output" "${files[@]}"
