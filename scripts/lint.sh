#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over the project's sources.
#   scripts/lint.sh            # every source file
#   scripts/lint.sh FILE...    # only these
set -euo pipefail
cd "$(dirname "$0")/.."
# clang-tidy cannot read GCC's precompiled headers, so the lint build has none.
cmake -S . -B build-lint -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
cmake --build build-lint >/dev/null   # generated Qt sources must exist before tidy reads them
if (($# > 0)); then
  files=("$@")
else
  # The Windows sources are not in this build's compile database (they build with MinGW only).
  mapfile -t files < <(git ls-files 'src/*.cpp' 'tests/*.cpp' 'fuzz/*.cpp' 'bench/*.cpp' 'tools/*.cpp' \
                         ':!:*_win32.cpp' ':!:tests/windows/*')
fi
run-clang-tidy -quiet -p build-lint -j "$(nproc)" "${files[@]}"
