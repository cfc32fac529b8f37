#!/usr/bin/env bash
# Builds the libFuzzer harness with clang under ASan/UBSan and runs it for a bounded time
# (default 60 s) on the committed seed corpus. Fails on any crash, leak or sanitizer report.
#   scripts/fuzz.sh            # 60 seconds
#   scripts/fuzz.sh 600        # a longer run
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCLOCKVANE_FUZZ=ON -DCLOCKVANE_SANITIZE=ON -DCLOCKVANE_BUILD_TESTS=OFF \
  -DCLOCKVANE_BUILD_GUI=OFF -DCLOCKVANE_BUILD_CLI=OFF >/dev/null
cmake --build build-fuzz --target clockvane_fuzz_image clockvane_fuzz_corpus

# New findings go to a scratch folder; the committed seeds stay as they are.
WORK=build-fuzz/corpus
mkdir -p "$WORK"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
build-fuzz/fuzz/clockvane_fuzz_image "$WORK" fuzz/corpus \
  -max_total_time="$SECONDS_TO_RUN" -max_len=110000 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix=build-fuzz/ -print_final_stats=1
