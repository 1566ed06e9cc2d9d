#!/usr/bin/env bash
# Builds Veltrano and runs the main job. Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
ctest --preset release -R foundation
