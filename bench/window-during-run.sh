#!/usr/bin/env bash
# How the window answers during a run against idle (an accessibility query, opening a menu), and
# its run's speed against pathloom-run's (see bench/window_during_run.cpp). The answers are timed
# in three settings, each REPEATS times (3 unless given): the Learning Curve hidden; shown; and
# shown with two busy programs beside the window (two `yes >/dev/null`, each in a session of its
# own as a program started elsewhere is, killed at the end). Then the medians of each setting.
#   bench/window-during-run.sh [SAMPLES] [PROBES] [REPEATS]
# Runs headless (QT_QPA_PLATFORM=offscreen unless set). PATHLOOM_BENCH_BUILD names the build
# folder (configured as Release, with the window).
set -euo pipefail
cd "$(dirname "$0")/.."

samples=${1:-5000000}
probes=${2:-30}
repeats=${3:-3}
build_dir="${PATHLOOM_BENCH_BUILD:-build-bench-window}"
scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPATHLOOM_SANITIZE=OFF -DPATHLOOM_GUI=ON >/dev/null
cmake --build "$build_dir" -j 2 --target window_during_run pathloom-run >/dev/null
bench=("$build_dir"/bench/window_during_run "$build_dir"/pathloom-run "$samples" "$probes")

busy=()
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
  busy=()
}
log=$(mktemp)
trap 'stop_busy; rm -f "$log"' EXIT
for setting in hidden shown loaded; do
  [ "$setting" = loaded ] && for _ in 1 2; do setsid yes >/dev/null & busy+=($!); done
  for ((i = 1; i <= repeats; i++)); do
    echo "== curve $setting, run $i (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    args=(--no-speed)
    [ "$setting" != hidden ] && args=(--curve --no-speed)
    "${bench[@]}" "${args[@]}" | sed -e "s/^during a run:/run:/" -e "s/^/$setting /" | tee -a "$log"
  done
  stop_busy
done

echo "== medians over the runs of each setting, in ms (query, then menu; the longest single answer)"
awk '
  function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    return a[int((n + 1) / 2)]
  }
  / accessibility query:/ {
    when = ($2 == "idle:") ? "idle" : "run"
    key = $1 " " when
    q[key] = q[key] " " $6; m[key] = m[key] " " $14
    if ($9 + 0 > longest[key] + 0) longest[key] = $9
    if ($17 + 0 > longest[key] + 0) longest[key] = $17
    if (!(key in seen)) { seen[key] = 1; order[++keys] = key }
  }
  END {
    for (k = 1; k <= keys; k++) {
      key = order[k]
      printf "%-13s query %6.2f  menu %6.2f  (longest %.1f)\n", key, median(q[key]), median(m[key]), longest[key]
    }
  }' "$log"

echo "== the run's speed, the curve hidden"
"${bench[@]}"
