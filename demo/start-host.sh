#!/usr/bin/env bash
# Starts mbhost with the demo workspace unless an mbhost already answers, and waits until it
# answers. scripts/run.sh and the installed veltrano-launch both start the demo through it.
# Usage: start-host.sh MBHOST FOLDER LOG [--fresh]
# The host runs in FOLDER, so the demo's tables live in FOLDER/demo/data: made on first use, or
# made again on every start with --fresh. The host's output goes to LOG.
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 MBHOST FOLDER LOG [--fresh]" >&2
  exit 2
fi
mbhost=$1 folder=$2 log=$3 fresh=${4:-}
# The host runs in FOLDER: a program given by its path must still be found from there.
case $mbhost in */*) mbhost=$(readlink -f "$mbhost") ;; esac
demo=$(cd "$(dirname "$0")" && pwd)

host_answers() { "$mbhost" --attach -e '2*2' >/dev/null 2>&1; }

if host_answers; then
  echo "mbhost is already running: Veltrano works with its workspace."
  exit 0
fi

scripts=()
for table in roads pipes districts placed labels; do
  [ -e "$folder/demo/data/$table.tab" ] || fresh=--fresh
done
if [ "$fresh" = --fresh ]; then scripts+=(--script "$demo/generate.mb"); fi
scripts+=(--script "$demo/startup.mb")

echo "Starting mbhost with the demo workspace in $folder/demo (log: $log)."
mkdir -p "$folder/demo/data"
(cd "$folder" && exec nohup "$mbhost" "${scripts[@]}" </dev/null) >"$log" 2>&1 &
host=$!
for _ in $(seq 100); do
  host_answers && exit 0
  # A host that failed its scripts has ended: no point in waiting for it.
  kill -0 "$host" 2>/dev/null || break
  sleep 0.1
done
echo "mbhost did not start; see $log" >&2
exit 1
