#!/usr/bin/env bash
# Builds the Windows programs with Debian's MinGW-w64 cross compilers, installing them first
# when missing (with sudo when not root): clockvane.exe for x86-64 into build-windows-x64/ and
# for 32-bit x86 into build-windows-x86/. The x86-64 build also holds the core suites that
# scripts/test-windows.sh runs under Wine, and the probe that reads the window in the
# Wine-driven test of the editor. Both builds hold the window, clockvane-editor.exe. Statically
# linked: each .exe runs on its own on Windows 7 SP1 and later. Then the downloads:
# clockvane-<version>-windows-x64.zip and -x86.zip (scripts/package-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}

PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
          googletest librsvg2-bin imagemagick zip)
missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} > 0)); then
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then
    SUDO="sudo"
  fi
  echo "Installing missing packages: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Build folder, compiler, whether the tests are built, the targets: only what is shipped or
# run, so that the test command's Windows stage stays short.
for build in "x64 x86_64 ON clockvane,clockvane-editor,clockvane_core_tests,clockvane_win32_tests,window_probe" \
             "x86 i686 OFF clockvane,clockvane-editor"; do
  read -r name arch tests targets <<<"$build"
  targets=${targets//,/ }
  echo "--- clockvane.exe and clockvane-editor.exe for ${arch} (build-windows-${name}) ---"
  cmake -S . -B "build-windows-${name}" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-mingw-w64-${arch}.cmake" \
        -DCLOCKVANE_BUILD_GUI=OFF -DCLOCKVANE_BUILD_TESTS="${tests}" \
        -DCLOCKVANE_ABOUT_ADDRESS=README.txt >/dev/null
  # shellcheck disable=SC2086 # one word per target
  cmake --build "build-windows-${name}" -j "$JOBS" --target $targets
done
scripts/package-windows.sh
