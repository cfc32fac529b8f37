#!/usr/bin/env bash
# Refreshes the README picture docs/screenshot.png: builds the editor's screenshot test, runs it
# (offscreen, so no display is needed) and copies its picture of the window with an HD 3870
# image loaded. All pictures the test takes stay in <build>/screenshots:
#   window-empty.png, window-hd3870.png, window-german.png, about.png, memory-prompt.png
# and the same at twice the scale with "@2x" in the name.
#   tools/update_screenshot.sh            # uses ./build
#   tools/update_screenshot.sh build-ui   # another build folder
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}

if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD" --target screenshot_test
ctest --test-dir "$BUILD" -R '^screenshot_test' --output-on-failure
cp "$BUILD/screenshots/window-hd3870.png" docs/screenshot.png
echo "docs/screenshot.png updated from $BUILD/screenshots/window-hd3870.png"
