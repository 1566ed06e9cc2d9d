#!/usr/bin/env bash
# Runs one Windows program of the cross build under Wine; ctest calls it for every Windows test.
# Needs WINEPREFIX (scripts/test-windows.sh makes a fresh one per run). Wine's stderr is noise
# and is not judged: only the program's exit code and stdout count.
set -uo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
  echo "wine-run.sh: WINEPREFIX must name a prepared prefix (see scripts/test-windows.sh)" >&2
  exit 2
fi
export WINEDEBUG=-all
# A program that hangs must not hang the test run.
exec timeout --kill-after=10 "${VELTRANO_WINE_TIMEOUT:-240}" /usr/lib/wine/wine64 "$@"
