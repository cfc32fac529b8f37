#!/usr/bin/env bash
# Builds the Debian package from a finished build, installs it on this machine the way a user
# would (apt-get install ./clockvane_<version>_<arch>.deb) and checks what the system then has:
# lintian finds neither errors nor warnings in the package,
# both programs answer --version with the project's version, the desktop entry and the
# metainfo pass the desktops' validators, the file type is in the MIME database, and the
# manual pages (clockvane(1) with every option of 'clockvane set --help'), the tool's guide,
# the completion and the About window's README are in place. Removes the package again at the
# end. Needs root (or sudo).
# Usage: scripts/package-check.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(realpath "${1:-build}")
APP_ID=org.orvanta.Clockvane
MIME_TYPE=application/x-video-bios-rom

SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  SUDO="sudo"
fi
fail() { echo "package check: $*" >&2; exit 1; }

version=$(sed -n 's/^project(clockvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
deb="$BUILD/package/clockvane_${version}_${arch}.deb"
rm -f "$BUILD"/package/clockvane_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
[[ -f $deb ]] || fail "cpack made no $deb: $(ls "$BUILD/package")"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] ||
  fail "the dependencies do not come from dpkg-shlibdeps: $depends"
echo "built $(basename "$deb"), depends on: $depends"

# Debian's own check of the package: copyright, changelog, compressed manual pages, the
# description. Its informational notes are not failures (lintian prints a note when run as root).
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  fail "lintian finds errors or warnings in $(basename "$deb")"

DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "$deb" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y clockvane >/dev/null' EXIT

[[ $(/usr/bin/clockvane --version) == "clockvane $version" ]] ||
  fail "clockvane --version: $(/usr/bin/clockvane --version)"
# The editor answers without a display.
editor_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/clockvane-editor --version)
[[ $editor_version == "clockvane-editor $version" ]] || fail "clockvane-editor --version: $editor_version"

desktop-file-validate /usr/share/applications/$APP_ID.desktop
appstreamcli validate --no-net /usr/share/metainfo/$APP_ID.metainfo.xml >/dev/null

# The manual pages are checked in the package: minimal systems (containers) leave
# /usr/share/man out when installing.
contents=$(dpkg-deb -c "$deb")
for page in clockvane clockvane-editor; do
  grep -q "/usr/share/man/man1/$page\.1\.gz" <<<"$contents" || fail "no manual page $page(1)"
done
# clockvane(1) documents every option that 'clockvane set --help' names, with examples and
# where to read on.
page=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/clockvane.1.gz | gzip -dc |
  sed 's/\\-/-/g')
mapfile -t options < <(/usr/bin/clockvane set --help | grep -oE -- '--[A-Za-z][A-Za-z-]*[A-Za-z]|-o [A-Z]+')
for option in "${options[@]}"; do
  grep -qF -- "$option" <<<"$page" || fail "clockvane(1) does not document $option"
done
for section in EXAMPLES '"SEE ALSO"'; do
  grep -qx "\.SH $section" <<<"$page" || fail "clockvane(1) has no section $section"
done
grep -q "/usr/share/doc/clockvane/cli\.md" <<<"$contents" || fail "no guide cli.md beside the README"
completions=$(pkg-config --variable=completionsdir bash-completion)
[[ -f $completions/clockvane ]] || fail "no bash completion in $completions"
[[ -f /usr/bin/../share/doc/clockvane/README.md ]] || fail "no README beside the program"

# dpkg's trigger has rebuilt the MIME database with the package's file type.
grep -qx "$MIME_TYPE" /usr/share/mime/types || fail "$MIME_TYPE is not in the MIME database"
if [[ -x $BUILD/tests/ui/mime_type_of && -f $BUILD/samples/hd3870.rom ]]; then
  type=$(env -u XDG_DATA_DIRS -u XDG_DATA_HOME "$BUILD/tests/ui/mime_type_of" "$BUILD/samples/hd3870.rom")
  [[ $type == "$MIME_TYPE" ]] || fail "a BIOS image is taken for $type"
fi
echo "package clockvane $version installs and checks out"
