#!/usr/bin/env bash
# Times a sweep with 1 and 2 jobs and shows what each job adds to the memory.
#   bench/sweep.sh
# A sweep of 40 runs (LRP and LRI, rewards 0.01 to 0.2) enumerating paths through
# dest-random-150-400 gives the speed-up; a sweep of sampled runs on a graph of 200,000 nodes and
# 600,000 links with 1, 2 and 3 jobs gives the memory (peak resident set, GNU time).
# PATHLOOM_BENCH_BUILD names another build folder (it is configured as Release).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_GUI=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target write_documents pathloom-run >/dev/null
documents="$(mktemp -d)"
trap 'rm -rf "$documents"' EXIT
"$build_dir"/bench/write_documents "$documents"
run="$build_dir/pathloom-run"

measure() { # prints "seconds peak-MiB" of a sweep
  /usr/bin/time -f '%e %M' -o "$documents/time" "$run" "$@" --csv "$documents/out.csv"
  awk '{ printf "%8.2f %10.1f", $1, $2 / 1024 }' "$documents/time"
}

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
