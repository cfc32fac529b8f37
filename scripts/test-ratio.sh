#!/usr/bin/env bash
# How large the tests are against the program, counted honestly: every line written only for
# the tests (tests/ and the test-support code in src/fixtures) against the program's own code
# (src/ without src/fixtures). The image recipes in src/fixtures build the sample images too,
# so they count as neither. C++ sources and headers only.
set -euo pipefail
cd "$(dirname "$0")/.."

count() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | wc -l; }

recipes=(src/fixtures/image_builder.cpp src/fixtures/image_builder.h)
code=$(find src -path src/fixtures -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 cat | wc -l)
support=$(find src/fixtures -type f \( -name '*.cpp' -o -name '*.h' \) \
  ! -name image_builder.cpp ! -name image_builder.h -print0 | xargs -0 cat | wc -l)
tests=$(count tests)
total=$((tests + support))
printf 'program code:      %6d lines (src/ without src/fixtures)\n' "$code"
printf 'tests:             %6d lines (tests/)\n' "$tests"
printf 'test support:      %6d lines (src/fixtures without the image recipes: %s)\n' "$support" "${recipes[*]}"
printf 'tests against code: %s\n' "$(awk -v t="$total" -v c="$code" 'BEGIN { printf "%.3f", t / c }')"
