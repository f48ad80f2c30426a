#!/usr/bin/env bash
# Times a sweep with 1 and 2 jobs and shows what each job, finished rows waiting for a slow one,
# and the summary add to the memory.
#   bench/sweep.sh [all|jobs|held|summary]
# jobs: a sweep of 40 runs (LRP and LRI, rewards 0.01 to 0.2) enumerating paths through
# dest-random-150-400 gives the speed-up; a sweep of sampled runs on a graph of 200,000 nodes and
# 600,000 links with 1, 2 and 3 jobs gives the memory (peak resident set, GNU time).
# held: on the same graph with 2 jobs, one slow row (an LR(E)P run of 60,000 samples) and 200 fast
# ones (penalties not below the reward: refused rows, each with its 600,000 empty link cells),
# the slow row first and then last.
# summary: --summary over sampled runs of the triangle (one sample each), 100 and 1,000 seeds by
# 1,000 rewards: the memory each run adds where the runs of a group lie apart (the seed swept
# first), and where they follow each other (last); then the plain and the experiment summary
# (--threshold mean) of 4,000 rewards by 1,000 factors by one seed: one block of 4,000,000 groups.
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release); PATHLOOM_RUN
# another pathloom-run to measure (an older one, say).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_WERROR=ON -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target write_documents pathloom-run >/dev/null
documents="$(mktemp -d)"
trap 'rm -rf "$documents"' EXIT
"$build_dir"/bench/write_documents "$documents"
run="${PATHLOOM_RUN:-$build_dir/pathloom-run}"
what="${1:-all}"

measure() { # prints "seconds peak-MiB" of a sweep
  /usr/bin/time -f '%e %M' -o "$documents/time" "$run" "$@" --csv "$documents/out.csv"
  awk '{ printf "%8.2f %10.1f", $1, $2 / 1024 }' "$documents/time"
}

measure_kib() { # prints the peak resident set of a command in KiB
  /usr/bin/time -f '%M' -o "$documents/time" "$@" >/dev/null
  cat "$documents/time"
}

if [ "$what" = all ] || [ "$what" = jobs ]; then
  heavy=("$documents/dest-random-150-400.plm" --method dest --source '#1' --dest '#150'
         --sweep scheme=LRP,LRI --sweep reward=0.01:0.2:0.01)
  printf 'sweep of 40 runs, enumeration on random 150/400\n%5s %8s %10s\n' jobs seconds 'peak MiB'
  one=$(measure "${heavy[@]}" --jobs 1)
  printf '%5d %s\n' 1 "$one"
  two=$(measure "${heavy[@]}" --jobs 2)
  printf '%5d %s\n' 2 "$two"
  echo "$one $two" | awk '{ printf "speed-up with 2 jobs: %.2f\n", $1 / $3 }'
  cmp -s <("$run" "${heavy[@]}" --jobs 1) <("$run" "${heavy[@]}" --jobs 2) && echo "same rows with 1 and 2 jobs"

  big=("$documents/sample-random-200000-600000.plm" --method sample --source '#1' --dest '#200000'
       --samples 200 --sweep seed=1:6:1)
  printf '\nsampled sweep of 6 runs on random 200,000/600,000\n%5s %8s %10s\n' jobs seconds 'peak MiB'
  for jobs in 1 2 3; do
    printf '%5d %s\n' "$jobs" "$(measure "${big[@]}" --jobs "$jobs")"
  done
fi

if [ "$what" = all ] || [ "$what" = held ]; then
  fast=$(seq -s, 0.100 0.001 0.299)
  held=("$documents/sample-random-200000-600000.plm" --method sample --source '#1' --dest '#200000'
        --samples 60000 --scheme LREP --reward 0.1 --jobs 2)
  printf '\none slow row and 200 fast ones on random 200,000/600,000, 2 jobs\n%-10s %8s %10s\n' \
    'slow row' seconds 'peak MiB'
  printf '%-10s %s\n' first "$(measure "${held[@]}" --sweep "penalty=0.05,$fast")"
  printf '%-10s %s\n' last "$(measure "${held[@]}" --sweep "penalty=$fast,0.05")"
fi

if [ "$what" = all ] || [ "$what" = summary ]; then
  tiny=("$(pwd)/examples/triangle.plm" --method sample --source A --dest C --samples 1 --summary
        --jobs 2)
  rewards=reward=0.001:1:0.001
  printf '\n--summary of 1,000 rewards by N seeds, one sample each, 2 jobs\n%8s %-6s %10s\n' \
    runs seed 'peak KiB'
  small=$(measure_kib "$run" "${tiny[@]}" --sweep seed=1:100:1 --sweep "$rewards")
  large=$(measure_kib "$run" "${tiny[@]}" --sweep seed=1:1000:1 --sweep "$rewards")
  last=$(measure_kib "$run" "${tiny[@]}" --sweep "$rewards" --sweep seed=1:1000:1)
  printf '%8d %-6s %10d\n' 100000 first "$small" 1000000 first "$large" 1000000 last "$last"
  echo "$small $large" | awk '{ printf "bytes per run, the seed first: %.1f\n", ($2 - $1) * 1024 / 900000 }'
  many=(--sweep seed=1 --sweep reward=0.0001:0.4:0.0001 --sweep factor=1:1000:1)
  printf '\n--summary of 4,000 rewards by 1,000 factors by 1 seed, one sample each, 2 jobs\n%-11s %10s\n' \
    summary 'peak KiB'
  printf '%-11s %10d\n' plain "$(measure_kib "$run" "${tiny[@]}" "${many[@]}")" \
    experiment "$(measure_kib "$run" "${tiny[@]}" --threshold mean "${many[@]}")"
fi
