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
# The parts are written to a new folder in --workdir (default: the output's folder), and only that
# folder is removed at the end. Any file name works: names reach Parallel's shell quoted.
# --merge joins parts written elsewhere (a Slurm job array, say), in the order given.
set -euo pipefail

# One word for the shell that GNU Parallel starts, in single quotes, with every "{" followed by an
# empty quote pair, so that no name holds one of Parallel's replacement strings ({}, {1}, {.}...).
quote() {
  local word=${1//\'/\'\\\'\'}
  word=${word//\{/\{\'\'}
  printf "'%s'" "$word"
}

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
  # A new name beside the output, never one a file of the user's may have, renamed over it whole
  # with the mode a new file gets.
  local joined
  joined=$(mktemp "$output.XXXXXX")
  if ! {
    printf '%s\n' "$header"
    for part in "$@"; do
      tail -n +2 "$part"
    done
  } > "$joined" || ! chmod "$(printf '%o' $((0666 & ~$(umask))))" "$joined"; then
    rm -f -- "$joined"
    exit 1
  fi
  mv -- "$joined" "$output"
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
  echo "usage: $0 [--parts N] [--jobs N] [--sshloginfile FILE] [--workdir DIR] [--runner PATH] --output OUT.csv -- DOCUMENT... OPTIONS..." >&2
  exit 2
fi
[[ $parts =~ ^[1-9][0-9]*$ ]] || { echo "sweep-cluster: --parts takes a whole number above 0" >&2; exit 2; }
command -v parallel >/dev/null || { echo "sweep-cluster: GNU Parallel is needed (apt-get install parallel)" >&2; exit 2; }

# Beside the output by default, so that hosts sharing its folder see the parts too.
partsdir=$(mktemp -d "${workdir:-$(dirname "$(realpath -m "$output")")}/.sweep-parts.XXXXXX")
trap 'rm -rf -- "$partsdir"' EXIT
options=(--will-cite --halt now,fail=1)
[ -n "$jobs" ] && options+=(--jobs "$jobs")
[ -n "$sshloginfile" ] && options+=(--sshloginfile "$sshloginfile")

# Each part runs on one core: the slots are Parallel's to fill. {} is the part's number.
command=$(quote "$runner")
for arg in "$@"; do
  command+=" $(quote "$arg")"
done
command+=" --jobs 1 --part {}/$parts --csv $(quote "$partsdir")/part-{}.csv"
seq 1 "$parts" | parallel "${options[@]}" "$command"
files=()
for k in $(seq 1 "$parts"); do
  files+=("$partsdir/part-$k.csv")
done
merge "$output" "${files[@]}"
