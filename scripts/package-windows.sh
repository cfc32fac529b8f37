#!/usr/bin/env bash
# Makes the Windows downloads from the builds of scripts/build-windows.sh:
# build-windows-<arch>/clockvane-<version>-windows-<arch>.zip with clockvane.exe,
# clockvane-editor.exe, README.txt and LICENSE.txt (the project's licence statement), for x64
# and x86. Nothing in them needs installing: unzipped, both programs run.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(clockvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for arch in x64 x86; do
  build=build-windows-$arch
  name=clockvane-$version-windows-$arch
  staging=$build/package/$name
  rm -rf "$build/package" "$build/$name.zip"
  mkdir -p "$staging"
  cp "$build/src/cli/clockvane.exe" "$build/src/win32/clockvane-editor.exe" "$staging/"
  # Windows' Notepad before 2018 shows only CR LF line ends.
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" data/windows/README.txt.in |
    sed 's/$/\r/' >"$staging/README.txt"
  sed 's/$/\r/' data/copyright >"$staging/LICENSE.txt"
  (cd "$build/package" && zip -qr -X "../$name.zip" "$name")
  echo "$build/$name.zip"
done
