#!/usr/bin/env bash
# Builds Veltrano and runs every test. Usage: scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

# The tree as clang-format writes it, and every include pointing down the layers.
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
scripts/check-includes.sh

jobs=$(nproc)
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"
# mbhost fuzzing (clang, libFuzzer) for a bounded time
scripts/fuzz.sh 60
scripts/test-windows.sh  # the Windows build, cross-compiled, tested under Wine
# The .deb and the Windows zip, tested as a user receives them
scripts/package.sh
scripts/test-package.sh
