#!/usr/bin/env bash
# The window on Windows, driven as a user would under Wine and a virtual X display (Xvfb):
# keys typed with xdotool into clockvane-editor.exe, its texts read back through the window
# with the probe (tests/windows/window_probe.cpp). Called by scripts/test-windows.sh with its
# scratch WINEPREFIX; needs the Windows build (scripts/build-windows.sh) and the Linux build's
# clockvane and samples, whose saves the window's must equal byte for byte. Screenshots of the
# window in both languages go to build-windows-x64/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
LINUX_BUILD=${LINUX_BUILD:-$ROOT/build}
EDITOR=$ROOT/build-windows-x64/src/win32/clockvane-editor.exe
PROBE=$ROOT/build-windows-x64/tests/windows/window_probe.exe
TOOL=$LINUX_BUILD/src/cli/clockvane
SHOTS=$ROOT/build-windows-x64/screenshots
: "${WINEPREFIX:?run by scripts/test-windows.sh, which makes the Wine prefix}"
export WINEDEBUG=-all
for command in Xvfb xdotool import; do
  command -v "$command" >/dev/null || { echo "test-windows-editor.sh: '$command' is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/clockvane-editor-XXXXXX")
mkdir -p "$SHOTS"
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$WORK/display" 2>/dev/null &
XVFB=$!
EDITOR_PID=""
cleanup() {
  [[ -n $EDITOR_PID ]] && kill "$EDITOR_PID" 2>/dev/null || true
  kill "$XVFB" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s $WORK/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$WORK/display")
# Wine's session must start on this display: one the tool's runs left behind (started with no
# display, or another) would take the window to it, and the window would never show here.
wineserver -k >/dev/null 2>&1 || true
wineserver -w

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
probe() { wine "$PROBE" "$@" | tr -d '\r'; }

# start_editor [FILE]: starts the window in $WORK and waits until it is up.
start_editor() {
  (cd "$WORK" && exec wine "$EDITOR" "$@") &
  EDITOR_PID=$!
  MAIN=$(timeout 60 xdotool search --sync --name '^Orvanta Clockvane - ' | head -1)
}
# wait_for COMMAND... : retries the probe command until it prints something, for 30 s.
wait_for() {
  local shown=""
  for _ in $(seq 60); do
    shown=$(probe "$@" 2>/dev/null || true)
    [[ -n $shown ]] && break
    sleep 0.5
  done
  printf '%s' "$shown"
}
# wait_status PANEL PATTERN: waits until the status panel matches (grep -E), for 30 s.
wait_status() {
  local shown=""
  for _ in $(seq 60); do
    shown=$(probe status "$1" 2>/dev/null || true)
    [[ $shown =~ $2 ]] && break
    sleep 0.5
  done
  printf '%s' "$shown"
}
keys_to_main() {
  xdotool windowfocus --sync "$MAIN"
  xdotool key --delay 120 "$@"
}
# keys_to_dialog TITLE KEYS...: waits for the dialog, gives it the keyboard, presses the keys.
keys_to_dialog() {
  local dialog
  dialog=$(timeout 30 xdotool search --sync --name "^$1\$" | head -1)
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  shift
  xdotool key --delay 120 "$@"
}
quit_editor() {
  keys_to_main ctrl+q
  wait "$EDITOR_PID" 2>/dev/null || true
  EDITOR_PID=""
  wineserver -w
}
# The checksum line the tool printed: "in.rom -> out.rom: Checksum-16: 5D00 (Corrected)".
tool_checksum() { sed -n 's/^.* -> .*: \(Checksum-16: .*\)$/\1/p' "$WORK/tool.out"; }
label_mhz() { probe text $((1100 + $1)) | sed 's/ MHz$//'; }

echo "--- The window: a slider and a VCore box moved by keys, saved with Ctrl+S ---"
cp "$LINUX_BUILD/samples/hd3870.rom" "$WORK/"
start_editor hd3870.rom
wait_status 2 '^Checksum-16: ' >/dev/null
# The first control takes the keyboard: the BootUp GPU slider, then its RAM slider and its box.
keys_to_main Tab Up Tab Tab End BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 150 1.2
xdotool key Tab
gpu=$(label_mhz 0)
vcore=$(probe text 1200)
[[ $gpu == 776 && $vcore == 1.2 ]] || fail "the keys left BootUp at '$gpu' MHz and '$vcore' V, not 776 and 1.2"
import -window root "$SHOTS/editor-english.png"
keys_to_main ctrl+s
keys_to_dialog 'Please enter a new filename for the modded BIOS.ROM' Return
shown=$(wait_status 2 '\(')
# The checksum shows before the file is written: "Done..." (or "Ready..." after it) says it is.
wait_status 3 '^(Done|Ready)\.\.\.$' >/dev/null
"$TOOL" set "$WORK/hd3870.rom" -o "$WORK/expected.rom" --bootup-gpu 776 --bootup-vcore 1.2 >"$WORK/tool.out"
cmp -s "$WORK/hd3870_mod.rom" "$WORK/expected.rom" || fail "the window's save differs from clockvane set's"
[[ $shown == "$(tool_checksum)" ]] || fail "the window shows '$shown', the tool '$(tool_checksum)'"
quit_editor

echo "--- Home and End on a slider, and a file named in another script, saved ---"
# Home gives the lowest clock and End the highest (300 and 1200 MHz for a GPU), as in the Qt
# window. The name reaches the window as UTF-16 and the file layer as UTF-8.
cp "$LINUX_BUILD/samples/hd3870.rom" "$WORK/kärtchen.rom"
start_editor kärtchen.rom
wait_status 2 '^Checksum-16: ' >/dev/null
keys_to_main Tab End
[[ $(label_mhz 0) == 1200 ]] || fail "End left BootUp GPU at '$(label_mhz 0)' MHz, not 1200"
keys_to_main Home
[[ $(label_mhz 0) == 300 ]] || fail "Home left BootUp GPU at '$(label_mhz 0)' MHz, not 300"
keys_to_main ctrl+s
keys_to_dialog 'Please enter a new filename for the modded BIOS.ROM' Return
wait_status 3 '^(Done|Ready)\.\.\.$' >/dev/null
"$TOOL" set "$WORK/kärtchen.rom" -o "$WORK/expected.rom" --bootup-gpu 300 >"$WORK/tool.out"
cmp -s "$WORK/kärtchen_mod.rom" "$WORK/expected.rom" ||
  fail "the save of kärtchen.rom (as kärtchen_mod.rom) differs from clockvane set's"
quit_editor

# classic_run ANSWER KEY TOOL-OPTION: raises the BootUp GPU clock by 25 MHz on the sample whose
# clocks leave no room, answers the question with KEY, and compares with the tool.
classic_run() {
  echo "--- The classic correction's question answered $1 ---"
  rm -f "$WORK/hd3870-classic_mod.rom"
  cp "$LINUX_BUILD/samples/hd3870-classic.rom" "$WORK/"
  start_editor hd3870-classic.rom
  wait_status 2 '^Checksum-16: ' >/dev/null
  keys_to_main Tab Prior
  local gpu
  gpu=$(label_mhz 0)
  keys_to_main ctrl+s
  keys_to_dialog 'Please enter a new filename for the modded BIOS.ROM' Return
  keys_to_dialog 'Error in checksum correction!' "$2"
  [[ $1 == No ]] && keys_to_dialog 'CRC correction not possible' Return
  local shown
  shown=$(wait_status 2 '\(')
  wait_status 3 '^(Done|Ready)\.\.\.$' >/dev/null
  "$TOOL" set "$WORK/hd3870-classic.rom" -o "$WORK/expected.rom" --bootup-gpu "$gpu" "$3" >"$WORK/tool.out" 2>/dev/null || true
  cmp -s "$WORK/hd3870-classic_mod.rom" "$WORK/expected.rom" ||
    fail "answered $1: the window's save (BootUp GPU $gpu MHz) differs from clockvane set $3's"
  [[ $shown == "$(tool_checksum)" ]] || fail "answered $1: the window shows '$shown', the tool '$(tool_checksum)'"
  quit_editor
}
classic_run Yes Return --classic
classic_run No n --force

echo "--- German and back, and the setting in the registry ---"
setting() { wine reg query 'HKCU\Software\Orvanta Clockvane' /v language 2>/dev/null | tr -d '\r' | awk '/language/ {print $3}'; }
start_editor hd3870.rom
wait_status 2 '^Checksum-16: ' >/dev/null
keys_to_main alt+l d
[[ $(probe text 1301) == Datum/Uhrzeit ]] || fail "after Language > Deutsch the frame says '$(probe text 1301)'"
import -window root "$SHOTS/editor-german.png"
quit_editor
[[ $(setting) == True ]] || fail "German stored as '$(setting)', not True"
start_editor
[[ $(wait_for text 1301) == Datum/Uhrzeit ]] || fail "the next start is not German"
keys_to_main alt+p e
[[ $(probe text 1301) == Date/Time ]] || fail "after Sprache > English the frame says '$(probe text 1301)'"
quit_editor
[[ $(setting) == False ]] || fail "English stored as '$(setting)', not False"

echo "--- A wrong file ---"
head -c 3000 /dev/zero >"$WORK/wrong.rom"
start_editor wrong.rom
message=$(probe dialog 'Wrong ROM file')
[[ $message == "Sorry, this is not an ATI 38xx BIOS.ROM file" ]] ||
  fail "the wrong file's message box says '$message'"
keys_to_dialog 'Wrong ROM file' Return
quit_editor

echo "Screenshots: $SHOTS"
((failures == 0))
