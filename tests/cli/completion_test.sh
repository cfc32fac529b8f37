#!/usr/bin/env bash
# The bash completion of clockvane: it offers the commands, each command's options (all those
# the tool's own --help lists), the power states and BIOS image files.
# Arguments: the completion script and the built clockvane.
set -euo pipefail
completion=$1
tool=$2
source "$completion"

complete_line() {  # prints what Tab offers after the given words (the last one is completed)
    COMP_WORDS=(clockvane "$@")
    COMP_CWORD=$#
    _clockvane
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
fail() { echo "FAIL: $*" >&2; exit 1; }

[[ $(complete_line "") == $'--help\n--version\ndiff\ninfo\nset' ]] || fail "commands: $(complete_line "")"
[[ $(complete_line se) == set ]] || fail "se -> $(complete_line se)"
[[ $(complete_line set x.rom --3d-l) == $'--3d-low-gpu\n--3d-low-ram\n--3d-low-vcore' ]] ||
    fail "states: $(complete_line set x.rom --3d-l)"
[[ -z $(complete_line set x.rom --3d-gpu "") ]] || fail "a number follows --3d-gpu"

# Every option the tool's help names is offered.
for command in info set diff; do
    offered=$(complete_line "$command" -)
    for option in $("$tool" "$command" --help | grep -oE -- '(^|[ [])--?[a-z0-9][a-z0-9-]*' |
                    tr -d ' [' | sed 's/STATE//' | sort -u); do
        [[ $option == --*- || $option == --- ]] && continue  # the --STATE-* pattern itself
        grep -qx -- "$option" <<<"$offered" || fail "$command: $option is not offered"
    done
done

# Files: BIOS images and folders, nothing else.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
touch "$folder/a.rom" "$folder/b.BIN" "$folder/notes.txt"
mkdir "$folder/dumps"
[[ $(complete_line info "$folder/") == "$(printf '%s\n' "$folder/a.rom" "$folder/b.BIN" "$folder/dumps" | sort)" ]] ||
    fail "files: $(complete_line info "$folder/")"
echo "completion offers what clockvane takes"
