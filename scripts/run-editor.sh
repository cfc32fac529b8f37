#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLOCKVANE_BUILD_TESTS=OFF
cmake --build build
echo "Sample images to try: $(pwd)/build/samples"
exec build/src/ui/clockvane-editor "$@"
