#!/usr/bin/env bash
# The Windows stage of the tests: builds the Windows programs (scripts/build-windows.sh), then
# under Wine, in a scratch Wine prefix made for this run, runs the core suites built for
# Windows, and runs clockvane.exe beside the Linux clockvane on every sample: info, info
# --json, set and diff must print the same bytes, exit alike and write byte-identical files;
# then drives the window, clockvane-editor.exe (scripts/test-windows-editor.sh).
# Needs the Linux build in build/ (scripts/test.sh makes it first). Wine's own messages are off.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
LINUX_BUILD=${LINUX_BUILD:-$ROOT/build}

WINE=wine
for command in wine wineboot wineserver; do
  if ! command -v "$command" >/dev/null; then
    echo "test-windows.sh: FAILED: Wine is not installed ('$command' is missing), so the Windows" >&2
    echo "programs cannot be tested on this machine. Debian 12 has it in the packages wine64" >&2
    echo "and wine: apt-get install wine64 wine (scripts/deps.sh installs them)." >&2
    exit 1
  fi
done

scripts/build-windows.sh
cmake --build "$LINUX_BUILD" --target clockvane samples >/dev/null

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/clockvane-windows-XXXXXX")
export WINEPREFIX=$SCRATCH/prefix WINEDEBUG=-all
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  chattr -i "$SCRATCH/refusing" >/dev/null 2>&1 || true
  chmod -R u+w "$SCRATCH" 2>/dev/null || true
  rm -rf "$SCRATCH"
}
trap cleanup EXIT

echo "--- Making a scratch Wine prefix ---"
wineboot -i >/dev/null 2>&1
wineserver -w

# A folder that refuses new files while its file stays writable: immutable for root (whom
# permission bits do not stop), without write permission for anyone else.
mkdir "$SCRATCH/refusing"
head -c 3000 /dev/zero >"$SCRATCH/refusing/card.rom"
if [[ $(id -u) -eq 0 ]]; then
  chattr +i "$SCRATCH/refusing" 2>/dev/null || echo "note: chattr +i failed here"
else
  chmod a-w "$SCRATCH/refusing"
fi
if touch "$SCRATCH/refusing/probe" 2>/dev/null; then
  rm -f "$SCRATCH/refusing/probe"
  echo "note: no folder refusing new files can be made here; that case is reported as skipped"
else
  export CLOCKVANE_REFUSING_FOLDER="Z:${SCRATCH//\//\\}\\refusing"
fi

echo "--- Core suites under Wine ---"
"$WINE" build-windows-x64/tests/windows/clockvane_core_tests.exe --gtest_brief=1
"$WINE" build-windows-x64/tests/windows/clockvane_win32_tests.exe --gtest_brief=1

echo "--- clockvane.exe against clockvane on every sample ---"
LINUX_TOOL=$LINUX_BUILD/src/cli/clockvane
WINDOWS_TOOL=$ROOT/build-windows-x64/src/cli/clockvane.exe
failures=0

# run_both NAME ARGS...: runs both tools in folders of their own holding the same samples,
# and compares exit codes, standard output, standard error and every file afterwards.
run_both() {
  local name=$1
  shift
  for side in linux windows; do
    rm -rf "${SCRATCH:?}/$side"
    mkdir "$SCRATCH/$side"
    cp "$LINUX_BUILD"/samples/*.rom "$SCRATCH/$side/"
  done
  local linux_code=0 windows_code=0
  (cd "$SCRATCH/linux" && "$LINUX_TOOL" "$@" >../linux.out 2>../linux.err) || linux_code=$?
  (cd "$SCRATCH/windows" && "$WINE" "$WINDOWS_TOOL" "$@" >../windows.out 2>../windows.err) ||
    windows_code=$?
  if [[ $linux_code -ne $windows_code ]] || ! cmp -s "$SCRATCH/linux.out" "$SCRATCH/windows.out" ||
     ! cmp -s "$SCRATCH/linux.err" "$SCRATCH/windows.err" ||
     ! diff -r "$SCRATCH/linux" "$SCRATCH/windows" >/dev/null; then
    echo "DIFFERS: $name (exit codes $linux_code and $windows_code)"
    diff "$SCRATCH/linux.out" "$SCRATCH/windows.out" | head -5 || true
    diff "$SCRATCH/linux.err" "$SCRATCH/windows.err" | head -5 || true
    diff -r "$SCRATCH/linux" "$SCRATCH/windows" | head -5 || true
    failures=$((failures + 1))
  fi
}

samples=()
for sample in "$LINUX_BUILD"/samples/*.rom; do samples+=("$(basename "$sample")"); done
for sample in "${samples[@]}"; do
  run_both "info $sample" info "$sample"
  run_both "info --json $sample" info --json "$sample"
  run_both "set $sample" set "$sample" --3d-gpu 800 --3d-ram 1200 --3d-vcore 1,274 --2d-gpu 301
  run_both "set --classic $sample" set "$sample" -o "out $sample" --bootup-gpu 1200 --classic
  run_both "diff hd3870.rom $sample" diff hd3870.rom "$sample"
done
# Several files at once, and a name in another script.
run_both "set all samples" set "${samples[@]}" --3d-gpu 777
run_both "non-ASCII output name" set hd3870.rom -o "kärtchen 日本.rom" --3d-gpu 790

echo "Compared $((${#samples[@]} * 5 + 2)) runs; $failures differ."

echo "--- clockvane.exe on a file system that ignores case ---"
# Windows takes KÄRTCHEN.rom for kärtchen.rom: naming the input so is still refused.
cp "$LINUX_BUILD/samples/hd3870.rom" "$SCRATCH/kärtchen.rom"
code=0
(cd "$SCRATCH" && "$WINE" "$WINDOWS_TOOL" set kärtchen.rom -o KÄRTCHEN.rom --3d-gpu 800 \
   >/dev/null 2>&1) || code=$?
if [[ $code -ne 2 ]] || ! cmp -s "$LINUX_BUILD/samples/hd3870.rom" "$SCRATCH/kärtchen.rom"; then
  echo "DIFFERS: the input kärtchen.rom, named KÄRTCHEN.rom as the output, was written (exit $code)"
  failures=$((failures + 1))
fi

echo "--- clockvane.exe writing to a console ---"
# In a terminal (script makes one) Wine gives the program a console, which must show a name
# in another script as its characters.
cp "$LINUX_BUILD/samples/hd3870.rom" "$SCRATCH/kärtchen 日本.rom"
(cd "$SCRATCH" && script -qec "$WINE '$WINDOWS_TOOL' info 'kärtchen 日本.rom'" /dev/null \
   </dev/null >console.out) || true
if ! grep -q 'kärtchen 日本' "$SCRATCH/console.out"; then
  echo "DIFFERS: a console does not show the name kärtchen 日本.rom"
  failures=$((failures + 1))
fi
echo "--- clockvane-editor.exe driven as a user would ---"
LINUX_BUILD=$LINUX_BUILD scripts/test-windows-editor.sh || failures=$((failures + 1))
((failures == 0))
