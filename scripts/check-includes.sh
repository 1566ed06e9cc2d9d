#!/usr/bin/env bash
# Fails on an include that points up or sideways in the layering (docs/architecture.md):
# each folder names the project folders it may include from; anything else is a violation.
# Usage: scripts/check-includes.sh   (from anywhere; prints each violation as file:line)
set -euo pipefail
cd "$(dirname "$0")/.."

# folder (a prefix of the file's path) -> include prefixes it may use. The first matching
# folder decides, so the narrower ones come first. "platform/*.h" means the port headers
# only, not an adapter below platform/qt/ or platform/win32/.
rules=(
  "src/foundation/|foundation/"
  "src/platform/|foundation/ platform/"
  "src/host/|foundation/ host/ platform/*.h"
  "src/engine/|foundation/ host/ engine/ platform/*.h"
  "src/placement/|foundation/ host/ engine/ placement/ platform/*.h"
  "src/direct/|foundation/ host/ engine/ placement/ direct/ mbhost/ platform/*.h"
  "src/dialog/|foundation/ platform/ host/ engine/ placement/ dialog/"
  "src/about/|foundation/ platform/ host/ about/"
  "src/automation/com/|foundation/ host/ automation/com/ platform/win32/"
  "src/automation/inprocess/|foundation/ host/ automation/inprocess/ mbhost/"
  "src/automation/|foundation/ host/ automation/"
  "mbhost/|foundation/ mbhost/"
  "app/|*"
  "bench/|*"
  "workload/|*"
)

allowed() {  # allowed <include path> <allowed prefixes...>
  local include=$1 prefix
  shift
  for prefix in "$@"; do
    case $prefix in
      '*') return 0 ;;
      */\*.h) [[ $include == "${prefix%\*.h}"* && ${include#"${prefix%\*.h}"} != */* ]] && return 0 ;;
      *) [[ $include == "$prefix"* ]] && return 0 ;;
    esac
  done
  return 1
}

violations=0
while IFS= read -r file; do
  for rule in "${rules[@]}"; do
    folder=${rule%%|*}
    [[ $file == "$folder"* ]] || continue
    read -r -a prefixes <<<"${rule#*|}"
    while IFS=: read -r line include; do
      # A path that exists under tests/ is the tests' own, whatever its folder is called.
      if [[ -e tests/$include && ! -e src/$include && ! -e $include ]]; then
        echo "$file:$line: includes the tests' $include"
        violations=$((violations + 1))
      elif [[ $include == */* ]] && ! allowed "$include" "${prefixes[@]}"; then
        echo "$file:$line: may not include $include"
        violations=$((violations + 1))
      fi
    done < <(grep -n -o -E '^#include "[^"]+"' "$file" | sed -E 's/#include "(.*)"/\1/')
    break
  done
done < <(git ls-files -- src mbhost app bench workload | grep -E '\.(cpp|h)$')

if ((violations > 0)); then
  echo "$violations include(s) break the layering"
  exit 1
fi
echo "includes: every layer points down"
