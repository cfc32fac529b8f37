#!/usr/bin/env bash
# The test command of scripts/mutation-check.sh, run in the mutation run's copy of the tree once
# per mutant: exit 0 when the tests pass. A mutant in a source only the Windows programs
# compile (one that differs from the copy kept in WINDOWS_SOURCES) is tested by the Windows
# stage under Wine; any other by the Linux suites, without the long stress, fuzz, screenshot
# and benchmark runs.
#
#   scripts/mutant-tests.sh BUILD_DIR WINDOWS_SOURCES
set -euo pipefail
BUILD=$1
WINDOWS_SOURCES=$2

while IFS= read -r -d '' source; do
  if ! cmp -s "$source" "$WINDOWS_SOURCES/$source"; then
    LINUX_BUILD=$BUILD JOBS=2 exec scripts/test-windows.sh >/dev/null 2>&1
  fi
done < <(cd "$WINDOWS_SOURCES" && find src -type f -print0)

exec ctest --test-dir "$BUILD" -j2 --timeout 120 -E '[Ss]tress|[Ff]uzz|[Ss]creenshot|[Bb]ench' \
  >/dev/null 2>&1
