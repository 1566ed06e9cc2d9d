#!/usr/bin/env bash
# Builds the installable packages into build/packages/: the Debian package of the release build
# (veltrano, veltrano-batch, mbhost, the demo, manuals, menu entry) and the Windows zip of the
# cross-built veltrano.exe. Usage: scripts/package.sh [deb|zip]... (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

out=$(pwd)/build/packages
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(deb zip)

# Builds a preset's given targets, then lets CPack make its package in build/packages/ in
# place of any earlier one of that kind (which may carry an older version).
package() {
  local preset=$1 generator=$2 earlier=$3
  shift 3
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target "$@"
  rm -f "$out"/$earlier
  (cd "build/$preset" && cpack -G "$generator" -B "$out")
}

mkdir -p "$out"
for kind in "${kinds[@]}"; do
  case $kind in
    deb) package release DEB 'veltrano_*.deb' mbhost veltrano veltrano-batch veltrano_install_files ;;
    zip) package windows-cross ZIP 'veltrano-*-windows-x64.zip' veltrano ;;
    *) echo "package.sh: unknown package kind $kind (deb or zip)" >&2; exit 2 ;;
  esac
done
rm -rf "$out/_CPack_Packages"
ls -l "$out"
