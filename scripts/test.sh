#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal build, the Windows
# programs under Wine, the Debian package installed and checked, the same suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzz run and a short benchmark
# run. Fails on the first failing stage.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=${JOBS:-$(nproc)}
# The test command keeps its fuzz run short so that the whole run stays well under 15 minutes
# on two cores; scripts/fuzz.sh alone runs longer.
FUZZ_SECONDS=${FUZZ_SECONDS:-30}

stage() { echo; echo "=== $* ($(date +%T)) ==="; }

stage "Dependencies"
scripts/deps.sh

# The German locale, for the tests of the decimal comma under the process's numeric locale.
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
  stage "Generating the de_DE.UTF-8 locale"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then
    SUDO="sudo"
  fi
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

stage "Formatting check"
scripts/check-format.sh

stage "Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLOCKVANE_BUILD_BENCHMARKS=ON
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS" --timeout 300

stage "Windows programs: cross-built, tested under Wine, compared with Linux"
scripts/test-windows.sh

stage "Debian package: build, install and check"
scripts/package-check.sh build

stage "Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCLOCKVANE_SANITIZE=ON
cmake --build build-asan -j "$JOBS"
ctest --test-dir build-asan --output-on-failure -j "$JOBS" --timeout 600

if [[ -x scripts/fuzz.sh ]] && command -v clang++ >/dev/null; then
  stage "Fuzzing for ${FUZZ_SECONDS} s"
  scripts/fuzz.sh "$FUZZ_SECONDS"
fi

if [[ -x build/bench/clockvane_bench ]]; then
  stage "Benchmark smoke run"
  build/bench/clockvane_bench --benchmark_min_time=0.01
fi

echo
echo "All tests passed."
