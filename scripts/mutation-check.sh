#!/usr/bin/env bash
# A mutation run over the code the tests are meant to guard: plants small faults one at a time
# in a private copy of the tree and reports which of them the tests miss.
#
#   scripts/mutation-check.sh [mutants.py options: --seed S --sample N --only PREFIX...]
#
# The runner is the team's mutants.py (MUTANTS_PY, by default ../shared/tools/mutants.py). Its
# own test command runs the Linux suites only, which never compile the Windows file layer and
# the tool's Windows entry point (the *_win32 sources): a fault planted there would pass as
# "survived" without any test having looked at it. scripts/mutant-tests.sh, the test command
# used here, tests such a mutant with the Windows stage under Wine instead.
set -euo pipefail
cd "$(dirname "$0")/.."
MUTANTS_PY=${MUTANTS_PY:-../shared/tools/mutants.py}
WORK=${MUTANTS_WORK:-${TMPDIR:-/tmp}/clockvane-mutants}

if [[ ! -f $MUTANTS_PY ]]; then
  echo "mutation-check.sh: no mutants.py at $MUTANTS_PY (set MUTANTS_PY)" >&2
  exit 2
fi
# A fresh build each run: the private copy keeps the checkout's file times, so an object built
# from an older copy could look newer than its changed source and be linked unchanged.
rm -rf "$WORK/build"
# The Windows-only sources as they are now, to tell a mutant among them from one elsewhere.
rm -rf "$WORK/windows-sources"
mkdir -p "$WORK/windows-sources"
find src -name '*_win32*' -type f -exec cp --parents {} "$WORK/windows-sources" \;

exec python3 "$MUTANTS_PY" --repo . --build "$WORK" \
  --test-cmd "scripts/mutant-tests.sh {build} $WORK/windows-sources" "$@"
