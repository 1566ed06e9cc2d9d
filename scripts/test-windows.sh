#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs their tests under Wine, in a fresh
# prefix that is removed afterwards; records with the Linux build the placement session they
# replay. Usage: scripts/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows-cross >/dev/null
cmake --build --preset windows-cross -j "$(nproc)"

# The placement session the Windows build must replay, recorded with mbhost on Linux.
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target veltrano_record_session
build/release/tests/integration/veltrano_record_session build/windows-cross/recorded-session

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
# Let the new prefix settle completely: while its first start is still winding down, Wine's
# service manager can stall a COM server registering in the Running Object Table.
/usr/lib/wine/wineserver -w
# The tests share one prefix (its registry and Running Object Table): run them one at a time.
# A virtual screen lets the message box and window tests run too; without one they skip.
screen=()
if command -v xvfb-run >/dev/null; then screen=(xvfb-run -a -s "-screen 0 1280x1024x24"); fi
"${screen[@]}" ctest --test-dir build/windows-cross --output-on-failure
