#!/usr/bin/env bash
# Builds Veltrano, starts mbhost with the demo workspace unless one is running, and opens the
# Veltrano dialog beside it. Without a display it says so and runs the placement headless
# instead: veltrano-batch over the demo selection, then a picture of the map. Last, the file
# path: veltrano-batch from the demo's roads file to a GeoPackage of posts and their map.
# Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

preset=${VELTRANO_PRESET:-release}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target mbhost veltrano veltrano-batch

apps=build/$preset/app
mbhost=$apps/mbhost/mbhost
veltrano=$apps/veltrano/veltrano
batch=$apps/veltrano-batch/veltrano-batch
out=build/run
mkdir -p "$out"

demo/start-host.sh "$mbhost" "$(pwd)" "$out/mbhost.log" --fresh

picture="$(pwd)/$out/map.png"
save_map() {
  "$mbhost" --attach -x "Save Window FrontWindow() As \"$picture\"" >/dev/null &&
    echo "Map picture: $picture"
}

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening Veltrano. Type distances, choose the output table (placed), press OK."
  "$veltrano"
else
  echo "No display: running the placement headless with veltrano-batch instead."
  "$batch" --points "1000;5000;20000;100000;200000" --output placed
fi
save_map

echo "From a file, without the host: posts every 10 km along the demo's highways."
"$batch" --input demo/data/roads.tab --where 'kind = "highway"' --every 10000 --keep name \
  --output "$out/posts.gpkg" --picture "$(pwd)/$out/posts.png" --overwrite &&
  echo "Posts: $out/posts.gpkg, their map: $out/posts.png"
cat <<NOTE
mbhost keeps running with the result. Ask it, for example:
  $mbhost --attach -e 'TableInfo(placed, 8)'
Stop it with:
  $mbhost --attach -x 'End MapInfo'
NOTE
