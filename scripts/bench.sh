#!/usr/bin/env bash
# Measures the editor's costs in a release build and prints the figures docs/performance.md
# records: the core benchmarks as ratios to a read-and-sum baseline, the editor's start-up
# time and memory on the offscreen platform, and `clockvane info` against `cat` as processes.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${RUNS:-30}

scripts/deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCLOCKVANE_BUILD_TESTS=OFF \
  -DCLOCKVANE_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build-bench

echo "== Core benchmarks (x_baseline: time / time of reading and summing the image once)"
results=$(build-bench/bench/clockvane_bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_display_aggregates_only=true 2>/dev/null)
grep -E "median|Benchmark" <<<"$results"
echo "-- medians as ratios to the baseline's median (targets: reading <= 3, save <= 3, classic <= 4)"
awk '/_median/ {name=$1; sub(/_median/, "", name); t[name]=$2}
     END {for (n in t) if (n != "Baseline_ReadAndSum") printf "%-18s %.2f x\n", n, t[n] / t["Baseline_ReadAndSum"]}' \
  <<<"$results" | sort

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

echo "== Editor start-up, offscreen platform, ${RUNS} runs"
startup=() rss=()
for _ in $(seq "$RUNS"); do
  start=$(date +%s%N)
  out=$(QT_QPA_PLATFORM=offscreen build-bench/bench/clockvane_startup_probe 2>/dev/null)
  shown=$(awk '/shown_at_ns/ {print $2}' <<<"$out")
  startup+=($(( (shown - start) / 1000 )))
  rss+=($(awk '/rss_kib/ {print $2}' <<<"$out"))
done
echo "start-up median: $(printf '%s\n' "${startup[@]}" | median) us"
echo "resident memory median: $(printf '%s\n' "${rss[@]}" | median) KiB"

echo "== clockvane info versus cat, whole processes, ${RUNS} x 20 runs"
SAMPLE=build-bench/samples/hd3870.rom
time_loop() {
  local start end
  start=$(date +%s%N)
  for _ in $(seq 20); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo $(( (end - start) / 20000 ))
}
info=() cat=()
for _ in $(seq "$RUNS"); do
  info+=($(time_loop build-bench/src/cli/clockvane info "$SAMPLE"))
  cat+=($(time_loop cat "$SAMPLE"))
done
info_median=$(printf '%s\n' "${info[@]}" | median)
cat_median=$(printf '%s\n' "${cat[@]}" | median)
echo "clockvane info median: ${info_median} us; cat median: ${cat_median} us; ratio: $(awk "BEGIN {printf \"%.2f\", $info_median / $cat_median}")"
